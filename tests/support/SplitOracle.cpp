#include "SplitOracle.h"

#include <string>
#include <vector>

namespace brevio::oracle {
namespace {

using Length = std::int64_t;

Length length(const std::string &text)
{
    return static_cast<Length>(text.size());
}

// 1-based position of the first occurrence of c, 0 when there is none.
Length pos(char c, const std::string &text)
{
    for (Length i = 1; i <= length(text); ++i) {
        if (text[static_cast<std::size_t>(i - 1)] == c) {
            return i;
        }
    }
    return 0;
}

// count bytes from the 1-based index on; an index below 1 counts as 1, and
// a negative count or an index past the end gives the empty string.
std::string copy(const std::string &text, Length index, Length count)
{
    if (index < 1) {
        index = 1;
    }
    if (count <= 0 || index > length(text)) {
        return {};
    }
    const Length available = length(text) - index + 1;
    return text.substr(static_cast<std::size_t>(index - 1),
                       static_cast<std::size_t>(count < available ? count : available));
}

std::string trim(const std::string &text)
{
    Length first = 1;
    Length last = length(text);
    while (first <= last &&
           static_cast<unsigned char>(text[static_cast<std::size_t>(first - 1)]) <= 32) {
        ++first;
    }
    while (last >= first &&
           static_cast<unsigned char>(text[static_cast<std::size_t>(last - 1)]) <= 32) {
        --last;
    }
    return copy(text, first, last - first + 1);
}

constexpr Length maxInt = 2147483647;

} // namespace

SplitResult literalSplit(std::string_view workingText, std::int32_t charactersPerMessage)
{
    const Length L = Length{charactersPerMessage} - 4;
    std::string W = trim(std::string(workingText));
    std::vector<std::string> parts;
    while (length(W) > L) {
        std::string acc;
        for (;;) {
            const Length p = pos(' ', W);
            if (length(acc) + p - 1 > L) {
                break;
            }
            acc = acc + " " + trim(copy(W, 1, p - 1));
            W = trim(copy(W, p, maxInt));
            if (trim(acc).empty()) {
                break;
            }
        }
        if (!trim(acc).empty()) {
            parts.push_back(trim(acc));
        } else {
            return {SplitResult::Outcome::WordTooLong, {}};
        }
    }
    if (!W.empty()) {
        if (length(W) < L - 30) {
            W = W + std::string(kLongSignature);
        } else if (length(W) < L - 20) {
            W = W + std::string(kShortSignature);
        }
        parts.push_back(W);
    }
    const std::size_t n = parts.size();
    for (std::size_t i = 1; i <= n; ++i) {
        parts[i - 1] = std::to_string(i) + "/" + std::to_string(n) + " " + trim(parts[i - 1]);
    }
    return {SplitResult::Outcome::Parts, parts};
}

} // namespace brevio::oracle
