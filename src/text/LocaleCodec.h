#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brevio {

// Conversions between widget text (UTF-16) and locale text (the code set of the
// current LC_CTYPE, looked up on every call). A text holding any character that
// the target encoding cannot represent, or that is malformed, converts to empty text.
std::string toLocale(std::u16string_view text);
std::u16string fromLocale(std::string_view text);

// Why toLocale() refuses a text: the index of the first UTF-16 unit of the first
// character that the locale's code set cannot represent, half characters
// included; none when the text converts. Costs a conversion of its own, so it is
// asked only once a conversion has failed.
std::optional<std::size_t> firstUnrepresentable(std::u16string_view text);

// nl_langinfo(CODESET) of the current locale, e.g. "UTF-8" or "ISO-8859-1".
std::string localeCodeSet();

} // namespace brevio
