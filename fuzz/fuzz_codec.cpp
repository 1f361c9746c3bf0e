// In a UTF-8 locale, valid UTF-16 converts and comes back unchanged, anything
// else converts to empty text; the same input read as locale text likewise.

#include "LocaleCodec.h"

#include <clocale>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool isValidUtf16(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// Shortest form only, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    const std::string encoded = brevio::toLocale(units);
    const bool validUnits = isValidUtf16(units);
    if (encoded.empty() != (units.empty() || !validUnits)) {
        __builtin_trap();
    }
    if (validUnits && brevio::fromLocale(encoded) != units) {
        __builtin_trap();
    }

    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::u16string decoded = brevio::fromLocale(bytes);
    if (decoded.empty() != (bytes.empty() || !isValidUtf8(bytes))) {
        __builtin_trap();
    }
    if (!decoded.empty() && brevio::toLocale(decoded) != bytes) {
        __builtin_trap();
    }
    return 0;
}
