#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"

#include <cstdio>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Ends the process without Qt's platform teardown. The main window is still
// shown and goes with the connection to the display; the program keeps nothing
// worth releasing, and what it has written is flushed first.
[[noreturn]] void endProcess(int exitCode)
{
#if defined(__SANITIZE_ADDRESS__)
    // _exit skips the leak check that a sanitizer build runs at exit.
    __lsan_do_leak_check();
#endif
    std::fflush(nullptr);
    _exit(exitCode);
}

} // namespace

int main(int argc, char *argv[])
{
    BrevioApplication app(argc, argv);
    // Lets desktops match the window to its .desktop entry and icon.
    BrevioApplication::setDesktopFileName(QStringLiteral("example.smsbrevio.brevio"));
    // After the application object: its constructor resets the locale.
    brevio::setupLocale();

    TBrevio_F window;
    Brevio_F = &window;
    window.show();
    const int exitCode = app.exec();
    if (BrevioApplication::endsWithoutTeardown())
        endProcess(exitCode);
    return exitCode;
}
