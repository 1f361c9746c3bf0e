#include "CharacterCount.h"

namespace brevio {

std::size_t characterCount(std::u16string_view text)
{
    return characterCount(text.size(), text.ends_with(u'\n'));
}

std::size_t characterCount(std::size_t length, bool endsWithLineFeed)
{
    // A closing line feed is what the editor adds; it costs the sender nothing.
    return endsWithLineFeed ? length - 1 : length;
}

} // namespace brevio
