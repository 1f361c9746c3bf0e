// Copying, clearing, the info box, the window icon and what a screen reader hears.

#include "Brevio_U.h"
#include "UiTestSupport.h"
#include "WidgetAdapters.h"

#include <QAccessible>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>

namespace {

const QString kInfoText =
    QStringLiteral("Brevio 2.0 von Lena Hoffmann und Jonas Becker von https://smsbrevio.example");

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

    std::unique_ptr<TBrevio_F> window;

    BrevioApplication *app() { return BrevioApplication::instance(); }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QString infoBoxCaption()
    {
        const BoxWatcher watcher;
        click(window->BT_Info);
        if (watcher.boxes().size() != 1)
            return QStringLiteral("<%1 boxes>").arg(watcher.boxes().size());
        const SeenBox &box = watcher.boxes().front();
        if (box.text != kInfoText || box.icon != QMessageBox::NoIcon || box.buttonCount != 1 ||
            !box.okIsDefault)
            return QStringLiteral("<wrong box: %1>").arg(box.text);
        return box.caption;
    }

    void splitIntoThree()
    {
        window->ED_AnzZeichen->setText(QStringLiteral("10"));
        window->MM_SMS->setText(QStringLiteral("aaa bbb ccc"));
        click(window->BT_Haexler);
        QCOMPARE(window->CB_Auswahl->count(), 3);
    }

private slots:
    void init()
    {
        window = shownMainWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher kopiert"));
    }

    void cleanup() { window.reset(); }

    // First: the title lives in the application object, which no earlier test may have touched.
    void infoBoxCaptionFollowsTheTitle()
    {
        QCOMPARE(infoBoxCaption(),
                 QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
        typeText(window->MM_SMS, QStringLiteral("Hallo\nWelt"));
        QCOMPARE(infoBoxCaption(), QStringLiteral("Hallo\nWelt"));
        window->MM_SMS->selectAll();
        QTest::keyClick(window->MM_SMS, Qt::Key_Backspace);
        QCOMPARE(infoBoxCaption(), QStringLiteral("Brevio"));
        // Closing the box changed nothing in the window.
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("0"));
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);
    }

    void copyUpperAreaTakesWholeTextAndSelectsIt()
    {
        const QString text = QStringLiteral("Erste Zeile\nzweite Zeile mit ä\n");
        window->MM_SMS->setText(text);
        QTextCursor cursor = window->MM_SMS->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        window->MM_SMS->setTextCursor(cursor);
        const QString countBefore = window->ED_Anzahl->text();
        QSignalSpy changes(window->MM_SMS, &QuietTextArea::changed);

        click(window->BT_Kopieren);
        QCOMPARE(clipboardText(), text);
        const QTextCursor after = window->MM_SMS->textCursor();
        QCOMPARE(after.selectionStart(), 0);
        QCOMPARE(after.selectionEnd(), int(text.size()));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(window->ED_Anzahl->text(), countBefore);
    }

    void copyPutsExactlyThePlainTextOnTheClipboard()
    {
        const QString text = QStringLiteral("Preis: 120\u00a0€\nzweite Zeile");
        window->MM_SMS->setText(text);
        click(window->BT_Kopieren);
        const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
        QVERIFY(offered);
        QCOMPARE(offered->formats(), QStringList{QStringLiteral("text/plain")});
        QCOMPARE(offered->text(), text);
    }

    void keyboardCopyOfASelectionIsPlainTextToo()
    {
        window->MM_SMS->setText(QStringLiteral("Preis: 120\u00a0€\nzweite Zeile"));
        window->MM_SMS->selectAll();
        QTest::keyClick(window->MM_SMS, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
        QVERIFY(offered);
        QCOMPARE(offered->formats(), QStringList{QStringLiteral("text/plain")});
        QCOMPARE(offered->text(), window->MM_SMS->text());
    }

    void clearingCanBeUndone()
    {
        typeText(window->MM_SMS, QStringLiteral("Hallo Welt"));
        QSignalSpy changes(window->MM_SMS, &QuietTextArea::changed);
        click(window->BT_Loeschen);
        QCOMPARE(changes.count(), 0);
        QTest::keyClick(window->MM_SMS, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window->MM_SMS->text(), QStringLiteral("Hallo Welt"));
        QCOMPARE(changes.count(), 1); // the undo is the user's edit
    }

    void copyingAnEmptyAreaKeepsTheClipboard()
    {
        click(window->BT_Kopieren);
        QCOMPARE(clipboardText(), QStringLiteral("vorher kopiert"));
        click(window->BT_Copy);
        QCOMPARE(clipboardText(), QStringLiteral("vorher kopiert"));
    }

    void copyLowerAreaTakesTheUsersEdits()
    {
        splitIntoThree();
        window->CB_Auswahl->setCurrentIndex(1);
        window->MM_neu->moveCursor(QTextCursor::End);
        typeText(window->MM_neu, QStringLiteral(" und mehr"));
        click(window->BT_Copy);
        QCOMPARE(clipboardText(), QStringLiteral("2/3 bbb und mehr"));
        QCOMPARE(window->parts().at(1), std::string("2/3 bbb"));
    }

    void clearingKeepsCountUntilTheNextKey()
    {
        window->MM_SMS->setText(QString(57, u'x'));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("57"));
        const QString title = app()->title();
        click(window->BT_Loeschen);
        QCOMPARE(window->MM_SMS->text(), QString());
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("57"));
        QCOMPARE(app()->title(), title);
        QCOMPARE(QApplication::focusWidget(), window->MM_SMS);
        typeText(window->MM_SMS, QStringLiteral("y"));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("1"));
    }

    void clearingLeavesThePartsAlone()
    {
        splitIntoThree();
        window->CB_Auswahl->setCurrentIndex(2);
        click(window->BT_Loeschen);
        QCOMPARE(window->MM_neu->text(), QStringLiteral("3/3 ccc"));
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("7"));
        QCOMPARE(window->CB_Auswahl->count(), 3);
        QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        QVERIFY(window->BT_Haexler->isEnabled()); // stays until the next edit
    }

    void clearingAnEmptyAreaOnlyMovesFocus()
    {
        window->ED_AnzZeichen->setFocus();
        QSignalSpy changes(window->MM_SMS, &QuietTextArea::changed);
        click(window->BT_Loeschen);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("0"));
        QCOMPARE(QApplication::focusWidget(), window->MM_SMS);
    }

    void windowCarriesTheIcon()
    {
        const QIcon icon = window->windowIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(64, 64)));
    }

    void everyControlHasAnAccessibleName_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("MM_SMS") << "MM_SMS"
                                << "SMS-Text";
        QTest::newRow("ED_Anzahl") << "ED_Anzahl"
                                   << "Zeichen in SMS";
        QTest::newRow("BT_Loeschen") << "BT_Loeschen"
                                     << "Löschen";
        QTest::newRow("BT_Kopieren") << "BT_Kopieren"
                                     << "Kopieren linkes Feld";
        QTest::newRow("BT_Haexler") << "BT_Haexler"
                                    << "Haexler";
        QTest::newRow("MM_neu") << "MM_neu"
                                << "Gewählter Teil";
        QTest::newRow("CB_Auswahl") << "CB_Auswahl"
                                    << "Teil auswählen";
        QTest::newRow("BT_Copy") << "BT_Copy"
                                 << "Kopieren unteres Feld";
        QTest::newRow("ED_Anz") << "ED_Anz"
                                << "Zeichen im Teil";
        QTest::newRow("ED_AnzZeichen") << "ED_AnzZeichen"
                                       << "Anzahl Zeichen pro SMS";
        QTest::newRow("BT_Info") << "BT_Info"
                                 << "Info";
    }

    void everyControlHasAnAccessibleName()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        const auto controls = controlsByName(*window);
        QAccessibleInterface *accessible =
            QAccessible::queryAccessibleInterface(controls.at(control));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
    }
};

BREVIO_TEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
