#pragma once

#include <string>
#include <string_view>

namespace brevio {

// Conversions between widget text (UTF-16) and locale text (the code set of the
// current LC_CTYPE, looked up on every call). A text holding any character that
// the target encoding cannot represent, or that is malformed, converts to empty text.
std::string toLocale(std::u16string_view text);
std::u16string fromLocale(std::string_view text);

// nl_langinfo(CODESET) of the current locale, e.g. "UTF-8" or "ISO-8859-1".
std::string localeCodeSet();

} // namespace brevio
