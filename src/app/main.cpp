#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"

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
    return app.exec();
}
