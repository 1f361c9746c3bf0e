#include "BrevioApplication.h"

#include "WidgetAdapters.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QWidget>

BrevioApplication::BrevioApplication(int &argc, char **argv)
    : QApplication(argc, argv),
      m_title(QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "")).completeBaseName())
{
    // Qt's own texts in the window (context menus, their key names, the scroll
    // bars' menu) speak German like the rest of it, whatever the locale says.
    // Without Qt's translation they stay English, and nothing is said about it.
    if (m_toolkitTexts.load(QStringLiteral("qtbase_de"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_toolkitTexts);
}

BrevioApplication::~BrevioApplication() = default;

BrevioApplication *BrevioApplication::instance()
{
    return qobject_cast<BrevioApplication *>(QCoreApplication::instance());
}

QString BrevioApplication::title() const
{
    return m_titleSource ? m_titleSource->text() : m_title;
}

void BrevioApplication::setTitle(const QString &title)
{
    disconnect(m_titleSourceWatch);
    m_titleSource = nullptr;
    m_title = title;
}

void BrevioApplication::setTitleFollowing(QuietTextArea *area)
{
    if (area == m_titleSource)
        return;
    setTitle(QString());
    m_titleSource = area;
    m_titleSourceWatch = connect(area, &QuietTextArea::aboutToChangeUnreported, this,
                                 [this, area] { setTitle(area->text()); });
}

void BrevioApplication::terminate()
{
    m_terminating = true;
    quit();
}

// Qt's Wayland plugin can deadlock in its own teardown: its event thread, told
// to quit while a read of the display is prepared for it, leaves without reading,
// and its frame thread then waits in libwayland forever.
// Seen on Qt 6.4.2 and 6.8.2, no QTBUG found; remove once the oldest Qt passes e2e_wayland unaided.
bool BrevioApplication::endsWithoutTeardown()
{
    return onWayland();
}

bool BrevioApplication::onWayland()
{
    return platformName().startsWith(QLatin1String("wayland"));
}

QWidget *BrevioApplication::hiddenOwner()
{
    if (!m_hiddenOwner)
        m_hiddenOwner = std::make_unique<QWidget>();
    return m_hiddenOwner.get();
}
