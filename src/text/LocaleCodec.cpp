#include "LocaleCodec.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>

namespace brevio {
namespace {

// Widget text is char16_t in host order.
constexpr const char *hostUtf16 = std::endian::native == std::endian::big ? "UTF-16BE" : "UTF-16LE";

class IconvConverter
{
public:
    IconvConverter(const char *toCode, const char *fromCode)
        : m_descriptor(iconv_open(toCode, fromCode))
    {}
    ~IconvConverter()
    {
        if (isOpen()) {
            iconv_close(m_descriptor);
        }
    }
    IconvConverter(const IconvConverter &) = delete;
    IconvConverter &operator=(const IconvConverter &) = delete;

    bool isOpen() const { return m_descriptor != reinterpret_cast<iconv_t>(-1); }
    std::size_t failedAt() const { return m_failedAt; }

    // Converts all of input into output, which is resized to what was written.
    // False when the input is malformed or holds a character the target lacks;
    // failedAt() then tells how many bytes of the input went through before it.
    template<typename Output>
    bool convert(std::string_view input, std::size_t initialBytes, Output &output)
    {
        constexpr std::size_t unit = sizeof(typename Output::value_type);
        output.resize((initialBytes + unit - 1) / unit);
        // iconv's interface is not const-correct; it only reads the input.
        char *in = const_cast<char *>(input.data());
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        bool flushing = false;
        for (;;) {
            char *out = reinterpret_cast<char *>(output.data()) + written;
            std::size_t outLeft = output.size() * unit - written;
            const std::size_t result = flushing
                                           ? iconv(m_descriptor, nullptr, nullptr, &out, &outLeft)
                                           : iconv(m_descriptor, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            written = output.size() * unit - outLeft;
            if (result != static_cast<std::size_t>(-1)) {
                if (flushing) {
                    break;
                }
                // A stateful target may still owe a closing shift sequence.
                flushing = true;
                continue;
            }
            if (error != E2BIG) {
                m_failedAt = input.size() - inLeft;
                return false;
            }
            output.resize(output.size() * 2 + 16);
        }
        output.resize(written / unit);
        return true;
    }

private:
    iconv_t m_descriptor;
    std::size_t m_failedAt = 0;
};

// Half a character: a high surrogate without a low one after it, or a low one
// without a high one before it. glibc's iconv refuses it on most processors but
// lets it through as bytes that are not UTF-8 on s390x, so the check is ours.
// Returns the index of the first such unit, or the text's size when there is none.
std::size_t firstUnpairedSurrogate(std::u16string_view text)
{
    const auto isSurrogate = [](char16_t unit) { return (unit & 0xF800) == 0xD800; };
    // Most texts hold no surrogate at all. A whole block is first checked without
    // a branch per unit, which the compiler turns into vector code, so the check
    // costs a small part of the conversion that follows.
    constexpr std::size_t kBlock = 64;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.size(), i + kBlock);
        if (end - i == kBlock) {
            unsigned found = 0;
            for (std::size_t k = 0; k < kBlock; ++k) {
                found |= unsigned(isSurrogate(text[i + k]));
            }
            if (found == 0) {
                i = end;
                continue;
            }
        }
        // A pair may reach one unit past the block.
        while (i < end) {
            if (!isSurrogate(text[i])) {
                ++i;
                continue;
            }
            const bool high = text[i] < 0xDC00;
            if (!high || i + 1 == text.size() || (text[i + 1] & 0xFC00) != 0xDC00) {
                return i;
            }
            i += 2;
        }
    }
    return text.size();
}

bool hasUnpairedSurrogate(std::u16string_view text)
{
    return firstUnpairedSurrogate(text) != text.size();
}

std::string_view asBytes(std::u16string_view text)
{
    return {reinterpret_cast<const char *>(text.data()), text.size() * sizeof(char16_t)};
}

} // namespace

std::string toLocale(std::u16string_view text)
{
    std::string result;
    if (text.empty() || hasUnpairedSurrogate(text)) {
        return result;
    }
    IconvConverter converter(nl_langinfo(CODESET), hostUtf16);
    // As many bytes as the input covers Latin text in UTF-8 or a single-byte code
    // set without growing; text in other scripts grows once or twice.
    if (!converter.isOpen() || !converter.convert(asBytes(text), text.size() * 2 + 16, result)) {
        result.clear();
    }
    return result;
}

std::u16string fromLocale(std::string_view text)
{
    std::u16string result;
    if (text.empty()) {
        return result;
    }
    IconvConverter converter(hostUtf16, nl_langinfo(CODESET));
    // No common code set yields more UTF-16 units than it has bytes.
    if (!converter.isOpen() || !converter.convert(text, text.size() * 2 + 16, result) ||
        hasUnpairedSurrogate(result)) {
        result.clear();
    }
    return result;
}

std::optional<std::size_t> firstUnrepresentable(std::u16string_view text)
{
    // Only what comes before the first half character needs converting.
    const std::size_t halfCharacter = firstUnpairedSurrogate(text);
    IconvConverter converter(nl_langinfo(CODESET), hostUtf16);
    if (!converter.isOpen()) {
        return std::nullopt;
    }
    std::string converted;
    if (!converter.convert(asBytes(text.substr(0, halfCharacter)), halfCharacter * 2 + 16,
                           converted)) {
        return converter.failedAt() / sizeof(char16_t);
    }
    if (halfCharacter != text.size()) {
        return halfCharacter;
    }
    return std::nullopt;
}

std::string localeCodeSet()
{
    return nl_langinfo(CODESET);
}

} // namespace brevio
