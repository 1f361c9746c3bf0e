#include "WindowCaption.h"

namespace brevio {

std::u16string_view windowCaption(std::u16string_view title)
{
    if (title.size() <= kCaptionLimit)
        return title;
    const char16_t last = title[kCaptionLimit - 1];
    const bool highSurrogate = last >= 0xD800 && last <= 0xDBFF;
    return title.substr(0, highSurrogate ? kCaptionLimit - 1 : kCaptionLimit);
}

} // namespace brevio
