#include "LocaleSetup.h"

#include <clocale>
#include <langinfo.h>
#include <string_view>

namespace brevio {
namespace {

bool isPlainAscii()
{
    return std::string_view(nl_langinfo(CODESET)) == "ANSI_X3.4-1968";
}

} // namespace

bool setupLocale(std::initializer_list<const char *> ctypeCandidates)
{
    std::setlocale(LC_ALL, "");
    if (isPlainAscii()) {
        // Under LANG=C umlauts could not be converted at all; any 8-bit or
        // Unicode code set is better than that.
        for (const char *candidate : ctypeCandidates) {
            if (std::setlocale(LC_CTYPE, candidate) != nullptr) {
                break;
            }
        }
    }
    return !isPlainAscii();
}

} // namespace brevio
