#include "WindowCaption.h"

namespace brevio {

std::u16string_view windowCaption(std::u16string_view title, std::size_t limit)
{
    if (title.size() <= limit)
        return title;
    const bool splitsPair = limit > 0 && title[limit - 1] >= 0xD800 && title[limit - 1] <= 0xDBFF;
    return title.substr(0, splitsPair ? limit - 1 : limit);
}

} // namespace brevio
