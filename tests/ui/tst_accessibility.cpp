// What a screen reader is told: the split is heard, and the combo box and the
// counters keep their own names and descriptions. Runs with Qt's accessibility
// bridge on (with_accessibility_bus.sh), since Qt passes its events on only then.

#include "Brevio_U.h"
#include "UiTestSupport.h"
#include "WidgetAdapters.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <memory>

namespace {

// What a screen reader is asked to say: announcements, and on Qt before 6.8
// notifications as they are shown.
QStringList g_heard;

void hear(QAccessibleEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement)
        g_heard << static_cast<QAccessibleAnnouncementEvent *>(event)->message();
#else
    QAccessibleInterface *shown = event->accessibleInterface();
    if (event->type() == QAccessible::ObjectShow && shown->role() == QAccessible::Notification)
        g_heard << shown->text(QAccessible::Name);
#endif
}

QString accessibleText(QWidget *widget, QAccessible::Text text)
{
    return QAccessible::queryAccessibleInterface(widget)->text(text);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The bridge switches on once it has reached the accessibility bus.
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "the accessibility bridge is off",
                                  20000);
    }

    void splitIsHeardAndTheCountsAndPartsKeepTheirNames()
    {
        const std::unique_ptr<TBrevio_F> window = shownMainWindow();
        g_heard.clear();
        const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(hear);
        const auto restore =
            qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });

        window->ED_AnzZeichen->setText(QStringLiteral("10"));
        window->MM_SMS->setText(QStringLiteral("aaa bbb ccc"));
        window->BT_Haexler->setFocus();
        QTest::keyClick(window->BT_Haexler, Qt::Key_Space);
        QCOMPARE(window->parts().size(), std::size_t(3));
        QCOMPARE(g_heard, QStringList{QStringLiteral("Text in 3 Teile geteilt.")});
        QCOMPARE(window->focusWidget(), window->BT_Haexler);

        QCOMPARE(accessibleText(window->CB_Auswahl, QAccessible::Name),
                 QStringLiteral("Teil auswählen"));
        QCOMPARE(accessibleText(window->CB_Auswahl, QAccessible::Value), QStringLiteral("1/3"));
        QCOMPARE(accessibleText(window->ED_Anz, QAccessible::Description),
                 QStringLiteral("Zeichen im Teil"));
        QCOMPARE(window->ED_Anz->toolTip(), QStringLiteral("Zeichen in SMS"));

        // A failed split is told by its message box alone.
        g_heard.clear();
        window->MM_SMS->setText(QStringLiteral("ab abcdefgh cd"));
        const BoxWatcher watcher;
        QTest::keyClick(window->BT_Haexler, Qt::Key_Space);
        QCOMPARE(watcher.boxes().size(), 1);
        QCOMPARE(g_heard, QStringList());
    }
};

BREVIO_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
