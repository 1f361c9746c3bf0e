#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevio {

// Exactly 30 and 20 bytes: the thresholds below depend on these lengths.
inline constexpr std::string_view kLongSignature = " * Brevio by smsbrevio.example";
inline constexpr std::string_view kShortSignature = " * smsbrevio.example";

struct SplitResult
{
    enum class Outcome {
        Parts,       // parts holds the numbered parts ("1/3 ...")
        WordTooLong, // a word does not fit one message; parts is empty
    };
    Outcome outcome = Outcome::Parts;
    std::vector<std::string> parts;
};

// Splits the working text (locale text; trimmed first) into numbered parts for
// messages of charactersPerMessage bytes. Linear in the text's length and
// independent of charactersPerMessage. With an empty working text there is no
// part (Outcome::Parts, empty list) unless charactersPerMessage < 4, where even
// that ends as WordTooLong; callers check for empty text first.
SplitResult splitIntoParts(std::string_view workingText, std::int32_t charactersPerMessage);

} // namespace brevio
