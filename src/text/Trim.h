#pragma once

#include <string_view>

namespace brevio {

// Removes leading and trailing characters of code 32 or less. Codes are compared
// as unsigned, so the bytes of UTF-8 letters are never taken for control characters.
std::string_view trimmed(std::string_view text);
std::u16string_view trimmed(std::u16string_view text);

} // namespace brevio
