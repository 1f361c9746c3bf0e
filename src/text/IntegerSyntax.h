#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brevio {

// 0 when text is a valid integer; otherwise the 1-based position of the first
// byte that breaks the syntax (one past the end when the text ends too early).
std::size_t integerSyntaxError(std::string_view text);

// The value of text; throws EConvertError ("'<text>' ist kein gültiger Integerwert",
// in locale text) when integerSyntaxError(text) != 0.
std::int32_t strToInt(std::string_view text);

// One pass of the repair of the characters-per-message field, on its trimmed
// locale text: the character at the first offending position is removed, and an
// empty or non-positive result becomes "120". Throws EConvertError when the
// result still breaks the syntax.
struct RepairPass
{
    std::size_t offendingPosition = 0; // 0: the text was valid
    std::string repaired;
};
RepairPass repairCharactersPerMessage(std::string_view localeText);

} // namespace brevio
