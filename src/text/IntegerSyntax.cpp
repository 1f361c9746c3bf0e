#include "IntegerSyntax.h"

#include "Exception.h"
#include "LocaleCodec.h"

#include <cwchar>
#include <limits>
#include <string>

namespace brevio {
namespace {

struct ParsedInteger
{
    std::size_t errorPosition = 0; // 1-based, 0 when valid
    std::int32_t value = 0;
};

constexpr bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr int hexDigitValue(char c)
{
    if (isDecimalDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

constexpr ParsedInteger failAt(std::size_t index)
{
    return {index + 1, 0};
}

// Digits start at index `first`; the caller has made sure there is at least one byte there.
ParsedInteger parseDecimal(std::string_view text, std::size_t first, bool negative)
{
    // Beyond this, one more digit leaves the range whatever it is.
    constexpr std::int64_t lastSafeValue = std::numeric_limits<std::int32_t>::max() / 10;
    std::int64_t magnitude = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (!isDecimalDigit(text[i]) || magnitude > lastSafeValue) {
            return failAt(i);
        }
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return failAt(text.size());
    }
    return {0, static_cast<std::int32_t>(value)};
}

ParsedInteger parseHex(std::string_view text, std::size_t first)
{
    if (first == text.size()) {
        return failAt(first);
    }
    std::uint32_t pattern = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0 || pattern > 0x0FFF'FFFFu) {
            return failAt(i);
        }
        pattern = pattern * 16 + static_cast<std::uint32_t>(digit);
    }
    // Hex gives a bit pattern: $FFFFFFFF is -1.
    return {0, static_cast<std::int32_t>(pattern)};
}

ParsedInteger parseInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (i == text.size()) {
        return failAt(text.size());
    }
    const char first = text[i];
    if (first == '+' || first == '-') {
        if (i + 1 == text.size()) {
            return failAt(text.size());
        }
        if (!isDecimalDigit(text[i + 1])) {
            return failAt(i + 1);
        }
        return parseDecimal(text, i + 1, first == '-');
    }
    if (first == '$' || first == 'x' || first == 'X') {
        return parseHex(text, i + 1);
    }
    if (first == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        return parseHex(text, i + 2);
    }
    if (isDecimalDigit(first)) {
        return parseDecimal(text, i, false);
    }
    return failAt(i);
}

std::size_t localeCharacterLength(std::string_view text)
{
    std::mbstate_t state{};
    const std::size_t length = std::mbrlen(text.data(), text.size(), &state);
    // Invalid, truncated or NUL: drop a single byte so that every pass makes progress.
    if (length == 0 || length == static_cast<std::size_t>(-1) ||
        length == static_cast<std::size_t>(-2)) {
        return 1;
    }
    return length;
}

} // namespace

std::size_t integerSyntaxError(std::string_view text)
{
    return parseInteger(text).errorPosition;
}

std::int32_t strToInt(std::string_view text)
{
    const ParsedInteger parsed = parseInteger(text);
    if (parsed.errorPosition != 0) {
        std::string message = toLocale(u"'");
        message += text;
        message += toLocale(u"' ist kein gültiger Integerwert");
        throw EConvertError(std::move(message));
    }
    return parsed.value;
}

RepairPass repairCharactersPerMessage(std::string_view localeText)
{
    RepairPass pass{integerSyntaxError(localeText), std::string(localeText)};
    const std::size_t position = pass.offendingPosition;
    if (position != 0 && position <= pass.repaired.size()) {
        const std::size_t index = position - 1;
        pass.repaired.erase(index, localeCharacterLength(localeText.substr(index)));
    }
    if (pass.repaired.empty() || strToInt(pass.repaired) <= 0) {
        pass.repaired = "120";
    }
    return pass;
}

} // namespace brevio
