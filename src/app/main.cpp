#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"

int main(int argc, char *argv[])
{
    BrevioApplication app(argc, argv);
    // After the application object: its constructor resets the locale.
    brevio::setupLocale();

    TBrevio_F window;
    Brevio_F = &window;
    window.show();
    return app.exec();
}
