// One repair pass either throws EConvertError or leaves a valid, positive value,
// whatever the field held; the first input byte picks a UTF-8 or a Latin-1 locale.

#include "Exception.h"
#include "IntegerSyntax.h"
#include "Trim.h"

#include <clocale>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

bool latin1Available = false;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    latin1Available = std::setlocale(LC_CTYPE, "en_US") != nullptr;
    std::setlocale(LC_ALL, "C.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool latin1 = latin1Available && (data[0] & 1) != 0;
    std::setlocale(LC_CTYPE, latin1 ? "en_US" : "C.UTF-8");
    // The window trims the field before repairing it.
    const std::string_view field =
        brevio::trimmed(std::string_view(reinterpret_cast<const char *>(data + 1), size - 1));

    std::optional<brevio::RepairPass> pass;
    try {
        pass = brevio::repairCharactersPerMessage(field);
    } catch (const brevio::EConvertError &) {
        return 0;
    }
    if (pass->offendingPosition != brevio::integerSyntaxError(field)) {
        __builtin_trap();
    }
    // A valid field is kept or defaulted; an invalid one loses a character.
    const bool defaulted = pass->repaired == "120";
    if (pass->offendingPosition == 0 && !defaulted && pass->repaired != field) {
        __builtin_trap();
    }
    if (pass->offendingPosition != 0 && !defaulted && pass->repaired.size() >= field.size()) {
        __builtin_trap();
    }
    if (brevio::integerSyntaxError(pass->repaired) != 0 || brevio::strToInt(pass->repaired) <= 0) {
        __builtin_trap();
    }
    return 0;
}
