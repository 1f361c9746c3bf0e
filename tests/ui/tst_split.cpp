// Splitting the upper text into numbered parts and browsing them.

#include "Brevio_U.h"
#include "LocaleCodec.h"
#include "Splitter.h"
#include "UiTestSupport.h"
#include "WidgetAdapters.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>

namespace {

QStringList entriesOf(const QComboBox *combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

QStringList asWidgetText(const std::vector<std::string> &parts)
{
    QStringList texts;
    for (const std::string &part : parts)
        texts << QString::fromStdU16String(brevio::fromLocale(part));
    return texts;
}

bool isUtf8Locale()
{
    return brevio::localeCodeSet() == "UTF-8";
}

} // namespace

class TestSplit : public QObject
{
    Q_OBJECT

    std::unique_ptr<TBrevio_F> window;

    BrevioApplication *app() { return BrevioApplication::instance(); }

    void setCharactersPerMessage(int n)
    {
        window->ED_AnzZeichen->setText(QString::number(n));
        QCOMPARE(window->charactersPerMessage(), n);
    }

    void split(const QString &text)
    {
        window->MM_SMS->setText(text);
        QVERIFY2(window->BT_Haexler->isEnabled(), "the text must be longer than one message");
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
    }

    QStringList parts() const { return asWidgetText(window->parts()); }

private slots:
    void initTestCase()
    {
        // The Latin-1 run must really run in Latin-1, or it proves nothing.
        const QByteArray expected = qgetenv("BREVIO_EXPECT_CODESET");
        if (!expected.isEmpty())
            QCOMPARE(QByteArray::fromStdString(brevio::localeCodeSet()), expected);
    }

    void init() { window = shownMainWindow(); }

    void cleanup() { window.reset(); }

    void threeWordsThreeParts()
    {
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        const QStringList expected{"1/3 aaa", "2/3 bbb", "3/3 ccc"};
        QCOMPARE(parts(), expected);
        QCOMPARE(entriesOf(window->CB_Auswahl), (QStringList{"1/3", "2/3", "3/3"}));
        QCOMPARE(window->CB_Auswahl->currentText(), QStringLiteral("1/3"));
        QCOMPARE(window->MM_neu->text(), QStringLiteral("1/3 aaa"));
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("7"));
        QCOMPARE(app()->title(), QStringLiteral("Brevio"));
        QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        QVERIFY(window->rect().contains(window->MM_neu->geometry()));
    }

    void twelvePartsHaveLongerCounters()
    {
        setCharactersPerMessage(10);
        QStringList words;
        for (char c = 'a'; c < 'a' + 12; ++c)
            words << QString(3, QLatin1Char(c));
        split(words.join(u' '));
        QStringList expectedParts, expectedEntries;
        for (int i = 1; i <= 12; ++i) {
            expectedEntries << QStringLiteral("%1/12").arg(i);
            expectedParts << QStringLiteral("%1/12 %2").arg(i).arg(words[i - 1]);
        }
        QCOMPARE(parts(), expectedParts);
        QCOMPARE(entriesOf(window->CB_Auswahl), expectedEntries);
        // From ten parts on the counter no longer fits its four reserved characters.
        QCOMPARE(window->MM_neu->text(), QStringLiteral("1/12 aaa"));
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("8"));
    }

    void signatureBands_data()
    {
        QTest::addColumn<int>("remainder");
        QTest::addColumn<QString>("signature");
        const QString longSignature = QString::fromLatin1(brevio::kLongSignature);
        const QString shortSignature = QString::fromLatin1(brevio::kShortSignature);
        QTest::newRow("85 bytes: long") << 85 << longSignature;
        QTest::newRow("86 bytes: short") << 86 << shortSignature;
        QTest::newRow("95 bytes: short") << 95 << shortSignature;
        QTest::newRow("96 bytes: none") << 96 << QString();
    }

    void signatureBands()
    {
        QFETCH(int, remainder);
        QFETCH(QString, signature);
        const QString first(116, u'a');
        const QString rest(remainder, u'b');
        split(first + u' ' + rest);
        QCOMPARE(parts(), (QStringList{"1/2 " + first, "2/2 " + rest + signature}));
    }

    void wordTooLongChangesNothing()
    {
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        window->CB_Auswahl->setCurrentIndex(1);
        typeText(window->MM_neu, QStringLiteral("!"));
        const std::vector<std::string> partsBefore = window->parts();
        const QString lowerBefore = window->MM_neu->text();
        const QString countBefore = window->ED_Anz->text();

        const QString text = QStringLiteral("ab abcdefgh cd");
        window->MM_SMS->setText(text);
        const int heightBefore = window->height();
        const BoxWatcher watcher;
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);

        QCOMPARE(watcher.boxes().size(), 1);
        const SeenBox &box = watcher.boxes().front();
        QCOMPARE(box.text,
                 QStringLiteral(
                     "Mind. ein Wort ist laenger als die SMS-Laenge plus \"x/y \"! Abbruch!"));
        QCOMPARE(box.caption, text);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(window->parts(), partsBefore);
        QCOMPARE(entriesOf(window->CB_Auswahl), (QStringList{"1/3", "2/3", "3/3"}));
        QCOMPARE(window->CB_Auswahl->currentText(), QStringLiteral("2/3"));
        QCOMPARE(window->MM_neu->text(), lowerBefore);
        QCOMPARE(window->ED_Anz->text(), countBefore);
        QCOMPARE(window->height(), heightBefore);

        // The old entries still name the old parts.
        window->CB_Auswahl->setCurrentIndex(2);
        QCOMPARE(window->MM_neu->text(), QStringLiteral("3/3 ccc"));
    }

    void nothingToSplitIsExplained()
    {
        window->MM_SMS->setText(QString(130, u'x'));
        QTest::mouseClick(window->BT_Loeschen, Qt::LeftButton);
        QVERIFY(window->BT_Haexler->isEnabled());
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("130"));

        const BoxWatcher watcher;
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
        QCOMPARE(watcher.boxes().size(), 1);
        QVERIFY(watcher.boxes().front().text.startsWith(QStringLiteral("Nichts zu teilen")));
        QVERIFY(window->parts().empty());
        QCOMPARE(window->CB_Auswahl->count(), 0);
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);

        // Blanks and line breaks alone are nothing to split either.
        window->MM_SMS->setText(QStringLiteral(" \n\t ").repeated(40));
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
        QCOMPARE(watcher.boxes().size(), 2);
        QVERIFY(window->parts().empty());
    }

    void splitShowsPartOneThroughTheComboBox()
    {
        setCharactersPerMessage(10);
        QSignalSpy fieldChanges(window->CB_Auswahl, &SilentComboBox::fieldChanged);
        QSignalSpy lowerChanges(window->MM_neu, &QuietTextArea::changed);
        split(QStringLiteral("aaa bbb ccc"));
        // Once nested, through the combo box, and once by the split's own step.
        QCOMPARE(fieldChanges.count(), 1);
        QCOMPARE(lowerChanges.count(), 2);

        // The same first entry text again: the combo box stays silent.
        split(QStringLiteral("ddd eee fff"));
        QCOMPARE(fieldChanges.count(), 1);
        QCOMPARE(lowerChanges.count(), 3);
        QCOMPARE(window->MM_neu->text(), QStringLiteral("1/3 ddd"));

        // The field showed another entry: the nested run shows part 1 at once.
        window->CB_Auswahl->setCurrentIndex(2);
        QCOMPARE(fieldChanges.count(), 2);
        split(QStringLiteral("ggg hhh iii jjj"));
        QCOMPARE(fieldChanges.count(), 3);
        QCOMPARE(window->CB_Auswahl->currentText(), QStringLiteral("1/4"));
        QCOMPARE(window->MM_neu->text(), QStringLiteral("1/4 ggg"));
    }

    void browsingAndEditingParts()
    {
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));

        window->CB_Auswahl->setFocus();
        QTest::keyClick(window->CB_Auswahl, Qt::Key_Down);
        QCOMPARE(window->CB_Auswahl->currentText(), QStringLiteral("2/3"));
        QCOMPARE(window->MM_neu->text(), QStringLiteral("2/3 bbb"));
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("7"));

        // Edits count on every key with no upper limit and leave the split button alone.
        const bool splitEnabled = window->BT_Haexler->isEnabled();
        window->MM_neu->moveCursor(QTextCursor::End);
        typeText(window->MM_neu, QStringLiteral(" noch viel mehr Text"));
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("27"));
        QCOMPARE(window->BT_Haexler->isEnabled(), splitEnabled);
        QCOMPARE(app()->title(), QStringLiteral("Brevio"));

        // Choosing again shows the stored part, not the edits.
        window->CB_Auswahl->setCurrentIndex(0);
        window->CB_Auswahl->setCurrentIndex(1);
        QCOMPARE(window->MM_neu->text(), QStringLiteral("2/3 bbb"));

        window->MM_neu->selectAll();
        QTest::keyClick(window->MM_neu, Qt::Key_Delete);
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("0"));
        QCOMPARE(app()->title(), QStringLiteral("Brevio"));
    }

    void typingIntoTheComboBoxField()
    {
        // Before any split there is no part to show.
        typeText(window->CB_Auswahl->lineEdit(), QStringLiteral("2"));
        QCOMPARE(window->MM_neu->text(), QString());
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);

        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        window->CB_Auswahl->setCurrentIndex(2);
        typeText(window->MM_neu, QStringLiteral("xyz"));
        typeText(window->CB_Auswahl->lineEdit(), QStringLiteral("q"));
        QCOMPARE(window->MM_neu->text(), QStringLiteral("3/3 ccc"));
        QCOMPARE(window->CB_Auswahl->count(), 3);
        QVERIFY(window->CB_Auswahl->currentText().endsWith(u'q'));
    }

    void replacedEditsComeBackWithOneUndo_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("afterUndo");
        QTest::newRow("choice") << "choice"
                                << " MEINE AENDERUNG"
                                << "3/3 ccc MEINE AENDERUNG";
        QTest::newRow("typing into the field") << "typing"
                                               << " MEINE AENDERUNG"
                                               << "3/3 ccc MEINE AENDERUNG";
        // The field showed 3/3, so the split replaces the text twice: nested, then itself.
        QTest::newRow("new split") << "split"
                                   << " MEINE AENDERUNG"
                                   << "3/3 ccc MEINE AENDERUNG";
        QTest::newRow("unedited part") << "choice"
                                       << ""
                                       << "1/3 aaa";
    }

    void replacedEditsComeBackWithOneUndo()
    {
        QFETCH(QString, replacement);
        QFETCH(QString, edit);
        QFETCH(QString, afterUndo);
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        window->CB_Auswahl->setCurrentIndex(2);
        window->MM_neu->moveCursor(QTextCursor::End);
        typeText(window->MM_neu, edit);

        if (replacement == "choice")
            window->CB_Auswahl->setCurrentIndex(0);
        else if (replacement == "typing")
            typeText(window->CB_Auswahl->lineEdit(), QStringLiteral("x"));
        else
            split(QStringLiteral("aaa bbb ccc ddd"));
        QCOMPARE(window->MM_neu->text(), parts().at(window->CB_Auswahl->currentIndex()));

        app()->setTitle(QStringLiteral("-"));
        QSignalSpy lowerChanges(window->MM_neu, &QuietTextArea::changed);
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(window->MM_neu, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window->MM_neu->text(), afterUndo);
        QCOMPARE(window->ED_Anz->text(), QString::number(afterUndo.size()));
        const bool restored = !edit.isEmpty();
        QCOMPARE(lowerChanges.count(), restored ? 1 : 0);
        QCOMPARE(app()->title(), restored ? QStringLiteral("Brevio") : QStringLiteral("-"));
    }

    void upperEditsFoldAndChoiceExpands()
    {
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        typeText(window->MM_SMS, QStringLiteral(" ddd"));
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);
        QCOMPARE(window->MM_neu->text(), QStringLiteral("1/3 aaa"));
        QCOMPARE(window->CB_Auswahl->count(), 3);
        window->CB_Auswahl->setCurrentIndex(1);
        QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        QCOMPARE(window->MM_neu->text(), QStringLiteral("2/3 bbb"));
    }

    void lengthsCountLocaleBytes()
    {
        setCharactersPerMessage(12);
        split(QStringLiteral("ää bbbb ccc ddd"));
        if (isUtf8Locale()) // ä takes two bytes of the eight
            QCOMPARE(parts(), (QStringList{"1/3 ää", "2/3 bbbb ccc", "3/3 ddd"}));
        else
            QCOMPARE(parts(), (QStringList{"1/2 ää bbbb", "2/2 ccc ddd"}));
    }

    void lettersOnControlBytesAreNothingToSplit()
    {
        if (brevio::localeCodeSet() != "TCVN5712-1")
            QSKIP("needs the locale vi_VN.TCVN that the test entry tst_split_tcvn makes with "
                  "localedef; it could not be made here");
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        // In TCVN5712-1 "Ú" is the byte 0x01, which trimming takes for a control character.
        window->MM_SMS->setText(QString(130, u'Ú'));
        QVERIFY(window->BT_Haexler->isEnabled());
        const BoxWatcher watcher;
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
        QCOMPARE(watcher.boxes().size(), 1);
        QVERIFY(watcher.boxes().front().text.startsWith(QStringLiteral("Nichts zu teilen")));
        QCOMPARE(parts(), (QStringList{"1/3 aaa", "2/3 bbb", "3/3 ccc"}));
        QCOMPARE(entriesOf(window->CB_Auswahl), (QStringList{"1/3", "2/3", "3/3"}));
        QCOMPARE(window->MM_neu->text(), QStringLiteral("1/3 aaa"));
    }

    void unrepresentableCharacterIsNamedAndLeavesEverythingAlone()
    {
        // Latin-1 has no euro sign, and no encoding holds half a character. The
        // position counts the upper area's characters as its count does.
        const QString text = isUtf8Locale() ? QStringLiteral("\n 😀 Grüße ") + QChar(0xDC00) +
                                                  QStringLiteral(" und €")
                                            : QStringLiteral("\n Grüße € und 😀");
        const QString named = isUtf8Locale() ? QStringLiteral("U+DC00 an Stelle 12")
                                             : QStringLiteral("„€“ (U+20AC) an Stelle 9");
        setCharactersPerMessage(10);
        split(QStringLiteral("aaa bbb ccc"));
        window->MM_SMS->setText(text);
        const BoxWatcher watcher;
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
        QCOMPARE(watcher.boxes().size(), 1);
        QCOMPARE(watcher.boxes().front().text,
                 QStringLiteral("Das Zeichen %1 ist in der Zeichenkodierung %2 nicht darstellbar. "
                                "Der Text bleibt unverändert. Abbruch!")
                     .arg(named, QString::fromStdString(brevio::localeCodeSet())));
        QCOMPARE(parts(), (QStringList{"1/3 aaa", "2/3 bbb", "3/3 ccc"}));
        QCOMPARE(window->MM_SMS->text(), text);
    }
};

BREVIO_TEST_MAIN(TestSplit)
#include "tst_split.moc"
