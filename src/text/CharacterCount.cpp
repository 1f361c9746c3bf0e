#include "CharacterCount.h"

namespace brevio {

std::size_t characterCount(std::u16string_view text)
{
    // A closing line feed is what the editor adds; it costs the sender nothing.
    if (text.ends_with(u'\n')) {
        return text.size() - 1;
    }
    return text.size();
}

} // namespace brevio
