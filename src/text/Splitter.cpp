#include "Splitter.h"

#include "Trim.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace brevio {
namespace {

static_assert(kLongSignature.size() == 30 && kShortSignature.size() == 20);

constexpr bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view withoutLeadingBlanks(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin])) {
        ++begin;
    }
    return text.substr(begin);
}

std::string_view withoutTrailingBlanks(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::size_t decimalDigits(std::size_t value)
{
    std::size_t digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// Space kept in front of every part for its "i/n " counter, so that numbering
// never reallocates. A part takes at least one byte of the text, which bounds n.
std::size_t counterCapacity(std::size_t textSize)
{
    return 2 * decimalDigits(textSize + 1) + 2;
}

void prependCounters(std::vector<std::string> &parts)
{
    const std::string total = '/' + std::to_string(parts.size()) + ' ';
    std::string counter;
    for (std::size_t index = 0; index < parts.size(); ++index) {
        counter = std::to_string(index + 1);
        counter += total;
        parts[index].insert(0, counter);
    }
}

SplitResult wordTooLong()
{
    return {SplitResult::Outcome::WordTooLong, {}};
}

} // namespace

// A word joins the current part while the part so far, one separating space and the
// word's raw length fit the limit. The raw word runs up to the next space, so blanks
// that end it count although they are dropped. Packing goes on while words fit, even
// once the rest would fit a message; the text's last word has no space after it and is
// never packed. The rest becomes the last part as it stands, line breaks included.
SplitResult splitIntoParts(std::string_view workingText, std::int32_t charactersPerMessage)
{
    const std::int64_t limit = std::int64_t{charactersPerMessage} - 4;
    if (limit < 0) {
        // Not even the empty text fits next to a counter.
        return wordTooLong();
    }
    const auto maxPartLength = static_cast<std::size_t>(limit);
    std::string_view rest = trimmed(workingText);
    const std::size_t counterRoom = counterCapacity(rest.size());

    SplitResult result;
    while (rest.size() > maxPartLength) {
        std::string part;
        part.reserve(counterRoom + std::min(maxPartLength, rest.size()));
        // The part plus the space in front of a next word; 0 while the part is empty.
        std::size_t packedLength = 0;
        while (packedLength <= maxPartLength) {
            // A word fits when the space after it lies within this window.
            const std::size_t window = std::min(rest.size(), maxPartLength - packedLength + 1);
            const void *space = std::memchr(rest.data(), ' ', window);
            if (space == nullptr) {
                break;
            }
            const auto rawLength =
                static_cast<std::size_t>(static_cast<const char *>(space) - rest.data());
            const std::string_view word = withoutTrailingBlanks(rest.substr(0, rawLength));
            if (!part.empty()) {
                part += ' ';
            }
            part += word;
            packedLength += 1 + word.size();
            rest = withoutLeadingBlanks(rest.substr(rawLength));
        }
        if (part.empty()) {
            return wordTooLong();
        }
        result.parts.push_back(std::move(part));
    }

    if (!rest.empty()) {
        std::string last;
        last.reserve(counterRoom + rest.size() + kLongSignature.size());
        last = rest;
        const auto restLength = static_cast<std::int64_t>(rest.size());
        if (restLength < limit - 30) {
            last += kLongSignature;
        } else if (restLength < limit - 20) {
            last += kShortSignature;
        }
        result.parts.push_back(std::move(last));
    }
    prependCounters(result.parts);
    return result;
}

} // namespace brevio
