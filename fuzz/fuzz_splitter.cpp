// The fast splitter against the literal oracle. The first byte picks N: below
// 0xF0 it is N itself, 0xF0-0xFE take a signed 16-bit N from the next two bytes,
// 0xFF the largest N. The rest is the working text.

#include "SplitOracle.h"
#include "Splitter.h"

#include <cstdint>
#include <limits>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    std::int32_t charactersPerMessage = data[0];
    std::size_t textStart = 1;
    if (data[0] == 0xFF) {
        charactersPerMessage = std::numeric_limits<std::int32_t>::max();
    } else if (data[0] >= 0xF0) {
        if (size < 3) {
            return 0;
        }
        charactersPerMessage = static_cast<std::int16_t>(data[1] | (data[2] << 8));
        textStart = 3;
    }
    const std::string_view text(reinterpret_cast<const char *>(data + textStart), size - textStart);

    const brevio::SplitResult fast = brevio::splitIntoParts(text, charactersPerMessage);
    const brevio::SplitResult literal = brevio::oracle::literalSplit(text, charactersPerMessage);
    if (fast.outcome != literal.outcome || fast.parts != literal.parts) {
        __builtin_trap();
    }
    return 0;
}
