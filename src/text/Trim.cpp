#include "Trim.h"

#include <type_traits>

namespace brevio {
namespace {

template<typename Char> constexpr bool isBlank(Char c)
{
    // Unsigned, so that UTF-8 lead and continuation bytes count as text.
    return static_cast<std::make_unsigned_t<Char>>(c) <= 32;
}

template<typename Char> std::basic_string_view<Char> trimmedView(std::basic_string_view<Char> text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

} // namespace

std::string_view trimmed(std::string_view text)
{
    return trimmedView(text);
}

std::u16string_view trimmed(std::u16string_view text)
{
    return trimmedView(text);
}

} // namespace brevio
