#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"

#include <QLoggingCategory>
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
    // Closing a message box on GNOME makes mutter send a text-input leave for the
    // box's surface after it is destroyed, which Qt reports every time (seen with
    // Qt 6.8.2 and mutter 48; no Qt bug report found, other programs show it too:
    // github.com/transmission/transmission/issues/7322). Can go once Qt ignores
    // a leave for a surface that is gone. QT_LOGGING_RULES still overrides it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.wayland.textinput.warning=false"));
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
