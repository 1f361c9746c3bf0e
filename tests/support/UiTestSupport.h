#pragma once

#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"
#include "WidgetAdapters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

// What a modal message box showed before it was closed.
struct SeenBox
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    bool okIsDefault = false;
    bool wordWrap = false;
    Qt::TextFormat textFormat = Qt::AutoText;
};

// Watches for modal message boxes while it lives, records each one and closes
// it with the Enter key, as a user would.
class BoxWatcher : public QObject
{
public:
    // whileShown runs while each box is still open (to look at the window behind it).
    explicit BoxWatcher(std::function<void()> whileShown = {}) : m_whileShown(std::move(whileShown))
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxWatcher::poll);
        m_timer.start(5);
    }

    const QList<SeenBox> &boxes() const { return m_boxes; }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        SeenBox seen;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttonCount = int(box->buttons().size());
        seen.okIsDefault =
            box->defaultButton() && box->defaultButton() == box->button(QMessageBox::Ok);
        seen.textFormat = box->textFormat();
        if (const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
            seen.wordWrap = label->wordWrap();
        m_boxes.append(seen);
        if (m_whileShown)
            m_whileShown();
        QTest::keyClick(box, Qt::Key_Enter);
    }

    std::function<void()> m_whileShown;
    QTimer m_timer;
    QList<SeenBox> m_boxes;
};

// A main window as the user first sees it.
inline std::unique_ptr<TBrevio_F> shownMainWindow()
{
    auto window = std::make_unique<TBrevio_F>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("the main window was not exposed");
    return window;
}

// The controls by their names, for table-driven tests.
inline std::map<QString, QWidget *> controlsByName(const TBrevio_F &window)
{
    return {{"MM_SMS", window.MM_SMS},           {"ED_Anzahl", window.ED_Anzahl},
            {"BT_Loeschen", window.BT_Loeschen}, {"BT_Kopieren", window.BT_Kopieren},
            {"BT_Haexler", window.BT_Haexler},   {"MM_neu", window.MM_neu},
            {"CB_Auswahl", window.CB_Auswahl},   {"BT_Copy", window.BT_Copy},
            {"ED_Anz", window.ED_Anz},           {"ED_AnzZeichen", window.ED_AnzZeichen},
            {"BT_Info", window.BT_Info}};
}

// Types text key by key like QTest::keyClicks, umlauts and line breaks included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Like QTEST_MAIN, with the program's application object and locale set-up.
#define BREVIO_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        BrevioApplication app(argc, argv);                                                         \
        brevio::setupLocale();                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
