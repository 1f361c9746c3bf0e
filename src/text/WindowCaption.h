#pragma once

#include <cstddef>
#include <string_view>

namespace brevio {

// The most of a title that goes to the window system as a caption, in UTF-16
// units. X11 cannot carry a property beyond one request (about 16 MiB) and
// breaks the connection instead; no title bar or screen reader shows this much.
inline constexpr std::size_t kCaptionLimit = 65536;

// The same on Wayland: Qt's Wayland plugin cuts a title to fit one 4 KiB
// message at three UTF-8 bytes a unit, less room for the message's header, and
// warns on the terminal each time it does.
// Seen on Qt 6.4.2 and 6.8.2 (cut by design, no QTBUG); remove once the oldest Qt stops cutting.
inline constexpr std::size_t kWaylandCaptionLimit = 4096 / 3 - 100;

// The caption for a window titled title: the whole title up to limit units,
// otherwise its first limit units, one fewer where that would split a
// surrogate pair.
std::u16string_view windowCaption(std::u16string_view title, std::size_t limit = kCaptionLimit);

} // namespace brevio
