#pragma once

#include <cstddef>
#include <string_view>

namespace brevio {

// The most of a title that goes to the window system as a caption, in UTF-16
// units. X11 cannot carry a property beyond one request (about 16 MiB) and
// breaks the connection instead; no title bar or screen reader shows this much.
inline constexpr std::size_t kCaptionLimit = 65536;

// The caption for a window titled title: the whole title up to the limit,
// otherwise its first kCaptionLimit units, one fewer where that would split a
// surrogate pair.
std::u16string_view windowCaption(std::u16string_view title);

} // namespace brevio
