#pragma once

#include <initializer_list>

namespace brevio {

// Sets every locale category from the environment. When that yields plain ASCII,
// LC_CTYPE is switched to the first of ctypeCandidates that the C library accepts,
// so that German letters survive the conversion to locale text.
// Must run after QApplication is constructed: its constructor resets the locale.
// Returns false when the locale stayed plain ASCII.
bool setupLocale(std::initializer_list<const char *> ctypeCandidates = {"en_US", "C.UTF-8",
                                                                        "C.utf8"});

} // namespace brevio
