#pragma once

#include <cstddef>
#include <string_view>

namespace brevio {

// Length in UTF-16 units, one line feed at the very end not counted.
std::size_t characterCount(std::u16string_view text);
// The same count from the length and the last unit alone.
std::size_t characterCount(std::size_t length, bool endsWithLineFeed);

} // namespace brevio
