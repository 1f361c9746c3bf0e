#pragma once

#include "Splitter.h"

#include <cstdint>
#include <string_view>

namespace brevio::oracle {

// The splitting rule written down literally, with string copies and 1-based
// positions. Quadratic and slow; it only serves as the reference for tests and fuzzers.
SplitResult literalSplit(std::string_view workingText, std::int32_t charactersPerMessage);

} // namespace brevio::oracle
