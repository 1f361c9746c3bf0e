#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"

#include <cstdio>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Qt's Wayland plugin can deadlock in its own teardown: its event thread, told
// to quit while a read of the display is prepared for it, leaves without reading,
// and its frame thread then waits in libwayland forever.
// Seen on Qt 6.4.2 and 6.8.2, no QTBUG found; remove once the oldest Qt passes e2e_wayland unaided.
bool platformTeardownMayHang()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Ends the process without Qt's platform teardown. The windows are gone by then,
// and the program keeps nothing else worth releasing; what it has written is
// flushed first.
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

    int exitCode = 0;
    {
        TBrevio_F window;
        Brevio_F = &window;
        window.show();
        exitCode = app.exec();
    }
    if (platformTeardownMayHang())
        endProcess(exitCode);
    return exitCode;
}
