// The change-event rules the handlers rely on, checked on the widgets alone.

#include "TextMirror.h"
#include "UiTestSupport.h"
#include "WidgetAdapters.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>

class TestAdapters : public QObject
{
    Q_OBJECT

private slots:
    void textAreaRaisesForDifferentNonEmptyText()
    {
        QuietTextArea area;
        QSignalSpy changes(&area, &QuietTextArea::changed);
        area.setText(QStringLiteral("abc"));
        QCOMPARE(changes.count(), 1);
        area.setText(QStringLiteral("abc"));
        QCOMPARE(changes.count(), 1);
        area.setText(QStringLiteral("abd"));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(area.text(), QStringLiteral("abd"));
    }

    void textAreaIsSilentWhenEmptied()
    {
        QuietTextArea area;
        area.setText(QStringLiteral("abc"));
        QSignalSpy changes(&area, &QuietTextArea::changed);
        area.setText(QString());
        QCOMPARE(area.text(), QString());
        area.setText(QString());
        QCOMPARE(changes.count(), 0);
    }

    void textAreaRaisesForEveryUserEdit()
    {
        QuietTextArea area;
        area.show();
        QSignalSpy changes(&area, &QuietTextArea::changed);
        QTest::keyClicks(&area, QStringLiteral("ab"));
        QTest::keyClick(&area, Qt::Key_Backspace);
        QTest::keyClick(&area, Qt::Key_Backspace);
        QCOMPARE(changes.count(), 4);
        QCOMPARE(area.text(), QString()); // deleting by hand to empty is a change too
    }

    void textAreaIgnoresInputMethodEventsThatLeaveTheText()
    {
        QuietTextArea area;
        area.show();
        area.setText(QStringLiteral("abc"));
        area.moveCursor(QTextCursor::End);
        QSignalSpy changes(&area, &QuietTextArea::changed);
        // A dead key: pre-edit only, then the input cursor moves within it.
        QInputMethodEvent preedit(QStringLiteral("^"), {});
        QApplication::sendEvent(&area, &preedit);
        QInputMethodEvent cursorMove(QStringLiteral("^"),
                                     {{QInputMethodEvent::Cursor, 0, 1, QVariant()}});
        QApplication::sendEvent(&area, &cursorMove);
        QCOMPARE(changes.count(), 0);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("â"));
        QApplication::sendEvent(&area, &commit);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(area.text(), QStringLiteral("abcâ"));
    }

    void textAreaReportsEqualLengthReplacementsByTheirText()
    {
        QuietTextArea area;
        area.show();
        area.setText(QStringLiteral("abc"));
        QSignalSpy changes(&area, &QuietTextArea::changed);
        const auto selectMiddle = [&] {
            QTextCursor cursor = area.textCursor();
            cursor.setPosition(1);
            cursor.setPosition(2, QTextCursor::KeepAnchor);
            area.setTextCursor(cursor);
        };
        selectMiddle();
        QTest::keyClicks(&area, QStringLiteral("x"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(area.text(), QStringLiteral("axc"));
        selectMiddle();
        QTest::keyClicks(&area, QStringLiteral("x"));
        QCOMPARE(changes.count(), 1);
    }

    void textAreaWrapsAnywhereOnlyWhileARunIsTooLong()
    {
        // Word wrapping costs the square of a run without spaces, a base64 block
        // or a hash dump; wrapping anywhere stays linear.
        QuietTextArea area;
        area.show();
        QTest::keyClicks(&area, QStringLiteral("Hallo "));
        QCOMPARE(area.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QGuiApplication::clipboard()->setText(QString(int(brevio::kLongRunLength) + 1, u'x'));
        QTest::keyClick(&area, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(area.wordWrapMode(), QTextOption::WrapAnywhere);
        // A space in the middle leaves two runs short enough for word wrapping.
        for (int i = 0; i < 1000; ++i)
            area.moveCursor(QTextCursor::Left);
        QTest::keyClick(&area, Qt::Key_Space);
        QCOMPARE(area.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QTest::keyClick(&area, Qt::Key_Backspace);
        QCOMPARE(area.wordWrapMode(), QTextOption::WrapAnywhere);
        QCOMPARE(area.characterCount(), brevio::kLongRunLength + 7);
    }

    void textAreaPastesThePlainTextAsItStands()
    {
        // A Markdown editor offers its Markdown first; the message keeps its asterisks.
        auto *offered = new QMimeData;
        offered->setData(QStringLiteral("text/markdown"), "**wichtig**  \n");
        offered->setText(QStringLiteral("**wichtig**  \n"));
        QGuiApplication::clipboard()->setMimeData(offered);
        QuietTextArea area;
        area.show();
        QTest::keyClick(&area, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(area.text(), QStringLiteral("**wichtig**  \n"));
    }

    void textAreaHandlerIsNotReEntered()
    {
        QuietTextArea area;
        int runs = 0;
        connect(&area, &QuietTextArea::changed, &area, [&] {
            ++runs;
            area.setText(area.text() + u'!');
        });
        area.setText(QStringLiteral("a"));
        QCOMPARE(runs, 1);
        QCOMPARE(area.text(), QStringLiteral("a!"));
    }

    void textAreaKeepsLineBreaksAndNoBreakSpaces()
    {
        QuietTextArea area;
        const QString text = QStringLiteral("a\nb\u00a0c\n");
        area.setText(text);
        QCOMPARE(area.text(), text);
    }

    void lineEditReEntersItsHandler()
    {
        // The characters-per-message repair depends on this Qt behaviour as it is.
        QLineEdit edit;
        QStringList seen;
        connect(&edit, &QLineEdit::textChanged, &edit, [&](const QString &text) {
            seen << text;
            if (text == QStringLiteral("12a"))
                edit.setText(QStringLiteral("12"));
        });
        edit.setText(QStringLiteral("12a"));
        QCOMPARE(seen, (QStringList{QStringLiteral("12a"), QStringLiteral("12")}));
        edit.setText(QStringLiteral("12"));
        QCOMPARE(seen.size(), 2);
    }

    void comboRefillKeepsFieldAndIsSilent()
    {
        SilentComboBox combo;
        QSignalSpy changes(&combo, &SilentComboBox::fieldChanged);
        combo.replaceEntries({QStringLiteral("1/3"), QStringLiteral("2/3"), QStringLiteral("3/3")});
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.currentText(), QString());
        combo.replaceEntries({QStringLiteral("1/2"), QStringLiteral("2/2")});
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.currentText(), QString());
        QCOMPARE(changes.count(), 0);
    }

    void comboSelectRaisesOnlyWhenFieldChanges()
    {
        SilentComboBox combo;
        QSignalSpy changes(&combo, &SilentComboBox::fieldChanged);
        combo.replaceEntries({QStringLiteral("1/3"), QStringLiteral("2/3"), QStringLiteral("3/3")});
        combo.selectEntry(0);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(combo.currentText(), QStringLiteral("1/3"));

        // A new split whose first entry reads the same leaves the field alone.
        combo.replaceEntries({QStringLiteral("1/3"), QStringLiteral("2/3"), QStringLiteral("3/3")});
        QCOMPARE(combo.currentText(), QStringLiteral("1/3"));
        combo.selectEntry(0);
        QCOMPARE(changes.count(), 1);

        combo.replaceEntries({QStringLiteral("1/2"), QStringLiteral("2/2")});
        QCOMPARE(combo.currentText(), QStringLiteral("1/3"));
        combo.selectEntry(0);
        QCOMPARE(changes.count(), 2);
        QCOMPARE(combo.currentText(), QStringLiteral("1/2"));
    }

    void comboUserChoiceAndTyping()
    {
        SilentComboBox combo;
        combo.show();
        combo.replaceEntries({QStringLiteral("1/3"), QStringLiteral("2/3"), QStringLiteral("3/3")});
        combo.selectEntry(0);
        QSignalSpy changes(&combo, &SilentComboBox::fieldChanged);
        int indexSeen = -1;
        connect(&combo, &SilentComboBox::fieldChanged, &combo,
                [&] { indexSeen = combo.currentIndex(); });

        // Choosing an entry (as the drop-down list does) puts its text into the field.
        QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(combo.currentText(), QStringLiteral("2/3"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(indexSeen, 1);

        // Typing raises on every keystroke, adds nothing and keeps the index.
        QTest::keyClicks(combo.lineEdit(), QStringLiteral("xy"));
        QCOMPARE(changes.count(), 3);
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.currentIndex(), 1);
        QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.currentText(), QStringLiteral("2/3xy"));

        // Choosing the entry that is current puts its text back: the field changes.
        combo.setCurrentIndex(1);
        combo.selectEntry(1);
        QCOMPARE(combo.currentText(), QStringLiteral("2/3"));
        QCOMPARE(changes.count(), 4);

        // Choosing the entry the field already shows raises nothing.
        combo.selectEntry(1);
        QCOMPARE(changes.count(), 4);
    }
};

BREVIO_TEST_MAIN(TestAdapters)
#include "tst_adapters.moc"
