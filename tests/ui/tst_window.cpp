// The main window: start-up state, layout, live counting, the characters-per-message
// field and the failure path.

#include "Brevio_U.h"
#include "Exception.h"
#include "MessageBoxes.h"
#include "UiTestSupport.h"
#include "WidgetAdapters.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <algorithm>
#include <memory>

class TestWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TBrevio_F> window;

    BrevioApplication *app() { return BrevioApplication::instance(); }

    void typeIntoUpperArea(const QString &text)
    {
        window->MM_SMS->setFocus();
        typeText(window->MM_SMS, text);
    }

private slots:
    void init() { window = shownMainWindow(); }

    void cleanup() { window.reset(); }

    void startsCompactWithCountersAndDisabledSplit()
    {
        QCOMPARE(window->size(), QSize(289, 120));
        QCOMPARE(window->windowTitle(), QStringLiteral("Brevio für Linux"));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("0"));
        QCOMPARE(window->ED_Anz->text(), QStringLiteral("0"));
        QCOMPARE(window->ED_AnzZeichen->text(), QStringLiteral("120"));
        QCOMPARE(window->charactersPerMessage(), 120);
        QVERIFY(!window->BT_Haexler->isEnabled());
        QCOMPARE(window->CB_Auswahl->count(), 0);
        QCOMPARE(window->CB_Auswahl->currentText(), QString());
        QVERIFY(window->parts().empty());
        QVERIFY(window->ED_Anzahl->isReadOnly());
        QVERIFY(window->ED_Anz->isReadOnly());
        QVERIFY(!window->ED_AnzZeichen->isReadOnly());
        QVERIFY(window->CB_Auswahl->isEditable());
        QCOMPARE(window->CB_Auswahl->insertPolicy(), QComboBox::NoInsert);
        // The parts row lies below the compact window's edge.
        QVERIFY(!window->rect().intersects(window->CB_Auswahl->geometry()));
        QVERIFY(!window->rect().intersects(window->MM_neu->geometry()));
    }

    void titleStartsAsExecutableName()
    {
        const QString executable =
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        QCOMPARE(app()->title(), executable);
        QVERIFY(QCoreApplication::applicationName() != QStringLiteral("Brevio"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    }

    void designMetricsNeedNoScaling()
    {
        const QFontMetrics metrics(window->font());
        QVERIFY2(metrics.height() == 15, "the window font must be 15 px high (fonts-liberation)");
        const int averageWidth = (metrics.horizontalAdvance(QStringLiteral(
                                      "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdedfghijklmnopqrstuvwxyz "
                                      "abcdedfghijklmnopqrstuvwxyz abcdedfghijklmnopqrstuvwxyz "
                                      "abcdedfghijklmnopqrstuvwxyz 0123456789")) +
                                  74) /
                                 149;
        QCOMPARE(averageWidth, 7);
    }

    void controlGeometry_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("MM_SMS") << "MM_SMS" << QRect(3, 3, 220, 110);
        QTest::newRow("ED_Anzahl") << "ED_Anzahl" << QRect(226, 3, 45, 23);
        QTest::newRow("BT_Loeschen") << "BT_Loeschen" << QRect(226, 45, 60, 20);
        QTest::newRow("BT_Kopieren") << "BT_Kopieren" << QRect(226, 24, 60, 20);
        QTest::newRow("BT_Haexler") << "BT_Haexler" << QRect(226, 93, 60, 20);
        QTest::newRow("MM_neu") << "MM_neu" << QRect(3, 152, 283, 104);
        QTest::newRow("CB_Auswahl") << "CB_Auswahl" << QRect(3, 125, 97, 23);
        QTest::newRow("BT_Copy") << "BT_Copy" << QRect(224, 125, 62, 20);
        QTest::newRow("ED_Anz") << "ED_Anz" << QRect(120, 125, 57, 23);
        QTest::newRow("ED_AnzZeichen") << "ED_AnzZeichen" << QRect(226, 72, 60, 23);
        QTest::newRow("BT_Info") << "BT_Info" << QRect(272, 3, 14, 20);
    }

    void controlGeometry()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        const auto controls = controlsByName(*window);
        QCOMPARE(controls.at(control)->geometry(), geometry);
    }

    void captionsToolTipsAndFonts()
    {
        QCOMPARE(window->BT_Loeschen->text(), QStringLiteral("Löschen"));
        QCOMPARE(window->BT_Kopieren->text(), QStringLiteral("Kopieren"));
        QCOMPARE(window->BT_Haexler->text(), QStringLiteral("Haexler"));
        QCOMPARE(window->BT_Copy->text(), QStringLiteral("Kopieren"));
        QCOMPARE(window->BT_Info->text(), QStringLiteral("I"));
        QCOMPARE(window->ED_Anzahl->toolTip(), QStringLiteral("Zeichen in SMS"));
        QCOMPARE(window->ED_Anz->toolTip(), QStringLiteral("Zeichen in SMS"));
        QCOMPARE(window->BT_Kopieren->toolTip(), QStringLiteral("Kopieren linkes Feld"));
        QCOMPARE(window->BT_Copy->toolTip(), QStringLiteral("Kopieren unteres Feld"));
        QCOMPARE(window->ED_AnzZeichen->toolTip(), QStringLiteral("Anzahl Zeichen pro SMS"));
        QCOMPARE(window->toolTip(), QString());
        for (QWidget *silent :
             QList<QWidget *>{window->MM_SMS, window->BT_Loeschen, window->BT_Haexler,
                              window->MM_neu, window->BT_Info})
            QCOMPARE(silent->toolTip(), QString());

        for (QWidget *memo : QList<QWidget *>{window->MM_SMS, window->MM_neu}) {
            QCOMPARE(memo->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(memo->font().pixelSize(), 13);
        }
        QCOMPARE(window->BT_Info->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(window->BT_Info->font().pixelSize(), 11);
    }

    // Qt's own texts speak German like the program, whatever the locale (the
    // tests run in C.UTF-8), through the application object the program starts.
    void qtContextMenusAreGerman()
    {
        const auto entries = [](QMenu *created) {
            const std::unique_ptr<QMenu> menu(created);
            QStringList texts;
            for (const QAction *action : menu->actions())
                texts << action->text();
            return texts;
        };
        const QStringList upper = entries(window->MM_SMS->createStandardContextMenu());
        const QStringList field = entries(window->ED_AnzZeichen->createStandardContextMenu());
        for (const QStringList &menu : {upper, field}) {
            QVERIFY2(menu.contains(QStringLiteral("&Rückgängig\tStrg+Z")),
                     qPrintable(menu.join('|')));
            QVERIFY2(menu.contains(QStringLiteral("&Ausschneiden\tStrg+X")),
                     qPrintable(menu.join('|')));
            QVERIFY2(menu.contains(QStringLiteral("Einf&ügen\tStrg+V")),
                     qPrintable(menu.join('|')));
        }
    }

    void tabOrderFollowsTheDesign()
    {
        const QList<QWidget *> expected{
            window->MM_SMS,     window->ED_Anzahl,     window->BT_Loeschen, window->BT_Kopieren,
            window->BT_Haexler, window->MM_neu,        window->CB_Auswahl,  window->BT_Copy,
            window->ED_Anz,     window->ED_AnzZeichen, window->BT_Info};
        QList<QWidget *> chain;
        QWidget *w = window->MM_SMS;
        do {
            if (expected.contains(w))
                chain << w;
            w = w->nextInFocusChain();
        } while (w != window->MM_SMS && chain.size() < 20);
        QCOMPARE(chain, expected);
    }

    // Where Tab, or Shift+Tab, stops from the upper area on until it is back there.
    QList<QWidget *> tabStops(Qt::KeyboardModifiers modifiers)
    {
        const auto controls = controlsByName(*window);
        QList<QWidget *> stops;
        window->MM_SMS->setFocus();
        do {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab, modifiers);
            const auto stop = std::find_if(controls.begin(), controls.end(), [&](const auto &c) {
                return c.second == window->focusWidget() ||
                       c.second->isAncestorOf(window->focusWidget());
            });
            stops << (stop == controls.end() ? window->focusWidget() : stop->second);
        } while (stops.back() != window->MM_SMS && stops.size() < 20);
        return stops;
    }

    void tabStopsOnlyAtVisibleControls()
    {
        window->ED_AnzZeichen->setText(QStringLiteral("10"));
        window->MM_SMS->setText(QStringLiteral("aaa bbb ccc"));
        QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
        QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        const QList<QWidget *> expanded{
            window->ED_Anzahl,     window->BT_Loeschen, window->BT_Kopieren, window->BT_Haexler,
            window->MM_neu,        window->CB_Auswahl,  window->BT_Copy,     window->ED_Anz,
            window->ED_AnzZeichen, window->BT_Info,     window->MM_SMS};
        QCOMPARE(tabStops(Qt::NoModifier), expanded);

        // One more key folds the window: the parts row and the lower area are
        // out of sight and out of reach, either way round.
        QTest::keyClick(window->MM_SMS, Qt::Key_Space);
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);
        const QList<QWidget *> compact{
            window->ED_Anzahl,     window->BT_Loeschen, window->BT_Kopieren, window->BT_Haexler,
            window->ED_AnzZeichen, window->BT_Info,     window->MM_SMS};
        QCOMPARE(tabStops(Qt::NoModifier), compact);
        QList<QWidget *> backwards(compact.rbegin() + 1, compact.rend());
        backwards << window->MM_SMS;
        QCOMPARE(tabStops(Qt::ShiftModifier), backwards);

        // A fold under the focus, as a drop into the upper area makes it, takes
        // the focus out of the hidden row.
        window->CB_Auswahl->setCurrentIndex(1);
        QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        window->BT_Copy->setFocus();
        window->MM_SMS->insertPlainText(QStringLiteral("x"));
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);
        QCOMPARE(window->focusWidget(), window->MM_SMS);
    }

    void typingCountsAndTitles()
    {
        typeIntoUpperArea(QStringLiteral("a"));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("1"));
        QCOMPARE(app()->title(), QStringLiteral("a"));
        QVERIFY(!window->BT_Haexler->isEnabled());

        typeIntoUpperArea(QStringLiteral("äöü ß"));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("6"));

        QTest::keyClick(window->MM_SMS, Qt::Key_Return);
        typeIntoUpperArea(QStringLiteral("z"));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("8"));
        QCOMPARE(app()->title(), QStringLiteral("aäöü ß\nz"));

        window->MM_SMS->selectAll();
        QTest::keyClick(window->MM_SMS, Qt::Key_Delete);
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("0"));
        QCOMPARE(app()->title(), QStringLiteral("Brevio"));
    }

    void countDropsOneTrailingLineFeed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("count");
        QTest::newRow("plain") << "abc"
                               << "3";
        QTest::newRow("one trailing line feed") << "abc\n"
                                                << "3";
        QTest::newRow("two trailing line feeds") << "abc\n\n"
                                                 << "4";
        QTest::newRow("inner line feed") << "a\nb"
                                         << "3";
        QTest::newRow("tab") << "a\tb"
                             << "3";
        QTest::newRow("surrogate pair counts two") << QStringLiteral("a\U0001F600") << "3";
    }

    void countDropsOneTrailingLineFeed()
    {
        QFETCH(QString, text);
        QFETCH(QString, count);
        window->MM_SMS->setText(text);
        QCOMPARE(window->ED_Anzahl->text(), count);
        QCOMPARE(app()->title(), text);
    }

    void splitButtonFollowsCountAgainstN()
    {
        typeIntoUpperArea(QString(121, u'x'));
        QCOMPARE(window->ED_Anzahl->text(), QStringLiteral("121"));
        QVERIFY(window->BT_Haexler->isEnabled());
        QTest::keyClick(window->MM_SMS, Qt::Key_Backspace);
        QVERIFY(!window->BT_Haexler->isEnabled());

        window->MM_SMS->setText(QString(150, u'x'));
        QVERIFY(window->BT_Haexler->isEnabled());
        window->ED_AnzZeichen->setText(QStringLiteral("200"));
        QCOMPARE(window->charactersPerMessage(), 200);
        QVERIFY(window->BT_Haexler->isEnabled()); // raising N never disables
        typeIntoUpperArea(QStringLiteral("y"));
        QVERIFY(!window->BT_Haexler->isEnabled());

        window->ED_AnzZeichen->setText(QStringLiteral("100"));
        QVERIFY(window->BT_Haexler->isEnabled()); // lowering N below the count enables
    }

    void anyEditFoldsTheWindowBack()
    {
        window->setFixedHeight(TBrevio_F::kExpandedHeight);
        typeIntoUpperArea(QStringLiteral("a"));
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);
        window->setFixedHeight(TBrevio_F::kExpandedHeight);
        QTest::keyClick(window->MM_SMS, Qt::Key_Backspace);
        QCOMPARE(window->height(), TBrevio_F::kCompactHeight);
        QCOMPARE(window->width(), 289);
    }

    // Whoever asks (a title bar's double click, the compositor, a script), the
    // window keeps its width and its current height, compact or expanded.
    void neitherMaximizedNorFullScreen_data()
    {
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addColumn<bool>("viaShow");
        QTest::addColumn<int>("height");
        for (const int height : {TBrevio_F::kCompactHeight, TBrevio_F::kExpandedHeight}) {
            const QByteArray at = " at " + QByteArray::number(height);
            QTest::newRow("setWindowState(maximized)" + at)
                << Qt::WindowMaximized << false << height;
            QTest::newRow("showMaximized" + at) << Qt::WindowMaximized << true << height;
            QTest::newRow("setWindowState(full screen)" + at)
                << Qt::WindowFullScreen << false << height;
            QTest::newRow("showFullScreen" + at) << Qt::WindowFullScreen << true << height;
        }
    }

    void neitherMaximizedNorFullScreen()
    {
        QFETCH(Qt::WindowState, state);
        QFETCH(bool, viaShow);
        QFETCH(int, height);
        if (height == TBrevio_F::kExpandedHeight) {
            window->MM_SMS->setText(QStringLiteral("Wort ").repeated(30));
            QTest::mouseClick(window->BT_Haexler, Qt::LeftButton);
            QCOMPARE(window->height(), TBrevio_F::kExpandedHeight);
        }
        if (!viaShow)
            window->setWindowState(state);
        else if (state == Qt::WindowMaximized)
            window->showMaximized();
        else
            window->showFullScreen();
        // The window system answers with events.
        QCoreApplication::processEvents();
        QCOMPARE(window->size(), QSize(289, height));
        QCOMPARE(window->windowState(), Qt::WindowNoState);
    }

    void charactersPerMessageRepair_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("error");
        QTest::newRow("150") << "150"
                             << "150" << 150 << QString();
        QTest::newRow("spaces around") << " 80 "
                                       << "80" << 80 << QString();
        QTest::newRow("letter after digits") << "12a"
                                             << "12" << 12 << QString();
        QTest::newRow("empty") << ""
                               << "120" << 120 << QString();
        QTest::newRow("zero") << "0"
                              << "120" << 120 << QString();
        QTest::newRow("negative") << "-5"
                                  << "120" << 120 << QString();
        QTest::newRow("hex") << "$40"
                             << "$40" << 64 << QString();
        QTest::newRow("x prefix") << "x120"
                                  << "x120" << 288 << QString();
        QTest::newRow("umlaut removed whole") << "120ä"
                                              << "120" << 120 << QString();
        QTest::newRow("letter inside") << "1a5"
                                       << "15" << 15 << QString();
        QTest::newRow("lone minus")
            << "-"
            << "-" << 77 << QStringLiteral("'-' ist kein gültiger Integerwert.");
        QTest::newRow("pasted ab")
            << "ab"
            << "ab" << 77 << QStringLiteral("'b' ist kein gültiger Integerwert.");
        QTest::newRow("overflow") << "2147483648"
                                  << "2147483648" << 77
                                  << QStringLiteral("'2147483648' ist kein gültiger Integerwert.");
    }

    void charactersPerMessageRepair()
    {
        QFETCH(QString, typed);
        QFETCH(QString, field);
        QFETCH(int, n);
        QFETCH(QString, error);
        window->ED_AnzZeichen->setText(QStringLiteral("77"));
        QCOMPARE(window->charactersPerMessage(), 77);

        const BoxWatcher watcher;
        window->ED_AnzZeichen->setText(typed);
        QCOMPARE(window->ED_AnzZeichen->text(), field);
        QCOMPARE(window->charactersPerMessage(), n);
        if (error.isEmpty()) {
            QCOMPARE(watcher.boxes().size(), 0);
            return;
        }
        QCOMPARE(watcher.boxes().size(), 1);
        const SeenBox &box = watcher.boxes().front();
        QCOMPARE(box.text, error);
        QCOMPARE(box.caption, QString());
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttonCount, 1);
        QVERIFY(box.okIsDefault);
        QCOMPARE(box.textFormat, Qt::PlainText);
    }

    void typingIntoTheCharactersPerMessageField()
    {
        QLineEdit *field = window->ED_AnzZeichen;
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QStringLiteral("120")); // never stays empty
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, QStringLiteral("$"));
        QCOMPARE(field->text(), QStringLiteral("$120"));
        QCOMPARE(window->charactersPerMessage(), 288);
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("9k0"));
        QCOMPARE(field->text(), QStringLiteral("90"));
        QCOMPARE(window->charactersPerMessage(), 90);
    }

    void retypingAnInvalidFieldTextIsNoChange()
    {
        QLineEdit *field = window->ED_AnzZeichen;
        field->setFocus();
        const BoxWatcher watcher;
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("x"));
        QCOMPARE(field->text(), QStringLiteral("x"));
        QCOMPARE(watcher.boxes().size(), 1);
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("x"));
        QCOMPARE(field->text(), QStringLiteral("x"));
        QCOMPARE(watcher.boxes().size(), 1);
    }

    void longConversionErrorIsShownWhole()
    {
        const QString rest = QString(5000, u'c');
        const BoxWatcher watcher;
        window->ED_AnzZeichen->setText(QStringLiteral("ab") + rest);
        QCOMPARE(watcher.boxes().size(), 1);
        QCOMPARE(watcher.boxes().front().text,
                 QStringLiteral("'b") + rest + QStringLiteral("' ist kein gültiger Integerwert."));
        QVERIFY(watcher.boxes().front().wordWrap);
    }

    void pastedFieldTextHasNoLengthLimit()
    {
        const QString rest = QString(40000, u'b');
        QGuiApplication::clipboard()->setText(QStringLiteral("a") + rest);
        window->ED_AnzZeichen->selectAll();
        const BoxWatcher watcher;
        QTest::keyClick(window->ED_AnzZeichen, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->ED_AnzZeichen->text().size(), rest.size() + 1);
        QCOMPARE(watcher.boxes().size(), 1);
        QCOMPARE(watcher.boxes().front().text,
                 u'\'' + rest + QStringLiteral("' ist kein gültiger Integerwert."));
    }

    void veryLongErrorScrollsInTheBox()
    {
        // A label sized for a megabyte took seconds; the text scrolls in a view instead.
        const QString expected = QStringLiteral("'") + QString(20000, u'b') +
                                 QStringLiteral("' ist kein gültiger Integerwert.");
        QString viewText;
        bool selectableOnly = false;
        const BoxWatcher watcher([&] {
            const auto *view = QApplication::activeModalWidget()->findChild<QPlainTextEdit *>();
            if (!view || !view->isVisible())
                return;
            viewText = view->toPlainText();
            selectableOnly = view->isReadOnly() &&
                             view->textInteractionFlags() ==
                                 (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        });
        window->ED_AnzZeichen->setText(QStringLiteral("a") + QString(20000, u'b'));
        QCOMPARE(watcher.boxes().size(), 1);
        QCOMPARE(watcher.boxes().front().text, expected);
        QCOMPARE(viewText, expected);
        QVERIFY(selectableOnly);
    }

    void fullStopRule_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("letter") << QByteArray("Fehler") << QByteArray("Fehler.");
        QTest::newRow("digit") << QByteArray("Fehler 1") << QByteArray("Fehler 1.");
        QTest::newRow("full stop") << QByteArray("Fehler.") << QByteArray("Fehler.");
        QTest::newRow("exclamation") << QByteArray("Fehler!") << QByteArray("Fehler!");
        QTest::newRow("space") << QByteArray("Fehler ") << QByteArray("Fehler ");
        QTest::newRow("question") << QByteArray("Fehler?") << QByteArray("Fehler?.");
        QTest::newRow("colon") << QByteArray("Fehler:") << QByteArray("Fehler:.");
        QTest::newRow("bracket") << QByteArray("[x]") << QByteArray("[x].");
        QTest::newRow("parenthesis") << QByteArray("(x)") << QByteArray("(x)");
        QTest::newRow("comma") << QByteArray("a,") << QByteArray("a,");
        QTest::newRow("hyphen") << QByteArray("a-") << QByteArray("a-");
        QTest::newRow("apostrophe") << QByteArray("'a'") << QByteArray("'a'");
        QTest::newRow("quote") << QByteArray("\"a\"") << QByteArray("\"a\"");
        QTest::newRow("control") << QByteArray("a\x01") << QByteArray("a\x01");
        QTest::newRow("umlaut") << QByteArray("gr\xc3\xbc\xc3\x9f")
                                << QByteArray("gr\xc3\xbc\xc3\x9f.");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void fullStopRule()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, shown);
        QCOMPARE(QByteArray::fromStdString(withFullStop(message.toStdString())), shown);
    }

    void nestedFailureIsReportedAndOuterCarriesOn()
    {
        QLineEdit outer;
        QLineEdit inner;
        QStringList steps;
        connect(&inner, &QLineEdit::textChanged, &inner, [&] {
            runGuarded(&inner, [&] {
                steps << "inner";
                throw brevio::Exception("innen schiefgegangen");
            });
        });
        connect(&outer, &QLineEdit::textChanged, &outer, [&] {
            runGuarded(&outer, [&] {
                steps << "outer before";
                inner.setText(QStringLiteral("x"));
                steps << "outer after";
            });
        });
        const BoxWatcher watcher([&] { steps << "box"; });
        outer.setText(QStringLiteral("go"));
        QCOMPARE(steps, (QStringList{"outer before", "inner", "box", "outer after"}));
        QCOMPARE(inner.text(), QStringLiteral("x"));
        QCOMPARE(watcher.boxes().front().text, QStringLiteral("innen schiefgegangen."));
    }

    void foreignExceptionsAreReportedToo()
    {
        const BoxWatcher watcher;
        runGuarded(window.get(), [] { throw std::runtime_error("kaputt"); });
        QCOMPARE(watcher.boxes().size(), 1);
        QCOMPARE(watcher.boxes().front().text, QStringLiteral("kaputt."));
    }

    void plainBoxShowsTitleAsCaption()
    {
        window->MM_SMS->setText(QStringLiteral("Zeile eins\nZeile zwei"));
        const BoxWatcher watcher;
        const QString text = QStringLiteral("<b>Hallo</b> ").repeated(40);
        ShowPlainBox(text);
        QCOMPARE(watcher.boxes().size(), 1);
        const SeenBox &box = watcher.boxes().front();
        QCOMPARE(box.caption, QStringLiteral("Zeile eins\nZeile zwei"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.textFormat, Qt::PlainText);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttonCount, 1);
        QVERIFY(box.okIsDefault);
        QVERIFY(box.wordWrap);
    }

    void boxesReleaseTheMouseGrab()
    {
        QWidget grabber;
        grabber.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grabber));
        grabber.grabMouse();
        QCOMPARE(QWidget::mouseGrabber(), &grabber);

        // The plain box gives the grab back when it closes.
        QWidget *grabWhileShown = &grabber;
        {
            const BoxWatcher watcher([&] { grabWhileShown = QWidget::mouseGrabber(); });
            ShowPlainBox(QStringLiteral("Hinweis"));
        }
        QCOMPARE(grabWhileShown, nullptr);
        QCOMPARE(QWidget::mouseGrabber(), &grabber);

        // The error box does not.
        {
            const BoxWatcher watcher;
            ReportFailure(&grabber, brevio::Exception("Fehler"));
            QCOMPARE(watcher.boxes().size(), 1);
        }
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    // Last: the terminating flag cannot be cleared again.
    void noBoxOnceTerminating()
    {
        window->close();
        QVERIFY(app()->isTerminating());
        const BoxWatcher watcher;
        ShowPlainBox(QStringLiteral("zu spät"));
        ReportFailure(nullptr, brevio::Exception("zu spät"));
        QTest::qWait(30);
        QCOMPARE(watcher.boxes().size(), 0);
    }
};

BREVIO_TEST_MAIN(TestWindow)
#include "tst_window.moc"
