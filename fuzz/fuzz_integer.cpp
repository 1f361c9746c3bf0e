// integerSyntaxError and strToInt must agree, and the value must match a slow
// reading of the same syntax: spaces, then sign and digits, or a hex prefix and hex digits.

#include "Exception.h"
#include "IntegerSyntax.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

bool allOf(std::string_view text, bool (*predicate)(char))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), predicate);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view withoutLeadingZeros(std::string_view digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view("0") : digits.substr(first);
}

std::optional<std::int32_t> referenceValue(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view body = text.substr(first);
    for (const std::string_view prefix :
         std::array<std::string_view, 5>{"0x", "0X", "$", "x", "X"}) {
        if (body.starts_with(prefix)) {
            const std::string_view digits = body.substr(prefix.size());
            if (!allOf(digits, isHexDigit)) {
                return std::nullopt;
            }
            const std::string_view significant = withoutLeadingZeros(digits);
            if (significant.size() > 8) {
                return std::nullopt;
            }
            std::uint32_t pattern = 0;
            std::from_chars(significant.data(), significant.data() + significant.size(), pattern,
                            16);
            return static_cast<std::int32_t>(pattern);
        }
    }
    const bool negative = body.starts_with('-');
    const std::string_view digits = negative || body.starts_with('+') ? body.substr(1) : body;
    if (!allOf(digits, isDigit)) {
        return std::nullopt;
    }
    const std::string_view significant = withoutLeadingZeros(digits);
    if (significant.size() > 10) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    std::from_chars(significant.data(), significant.data() + significant.size(), magnitude);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::size_t error = brevio::integerSyntaxError(text);
    if (error > size + 1 || (size == 0 && error != 1)) {
        __builtin_trap();
    }
    std::optional<std::int32_t> value;
    try {
        value = brevio::strToInt(text);
    } catch (const brevio::EConvertError &) {
    }
    if (value.has_value() != (error == 0) || value != referenceValue(text)) {
        __builtin_trap();
    }
    return 0;
}
