// Times what a user waits for, offscreen: the whole split click on a large upper
// text (split, combo box refill, part 1 shown) and one keystroke in an upper area
// that holds 1 MB. Prints medians; asserts nothing.

#include "BrevioApplication.h"
#include "Brevio_U.h"
#include "LocaleSetup.h"
#include "WidgetAdapters.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

// Words of 1-12 letters, mostly single spaces, some double spaces and line feeds;
// withLineBreaks = false gives one long paragraph.
QString generateText(qsizetype size, bool withLineBreaks)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> wordLength(1, 12), letter('a', 'z'), gap(0, 99);
    QString text;
    text.reserve(size + 16);
    while (text.size() < size) {
        for (int n = wordLength(random); n > 0; --n)
            text += QChar(letter(random));
        const int g = gap(random);
        if (withLineBreaks && g < 4)
            text += u'\n';
        else if (g < 10)
            text += QStringLiteral("  ");
        else
            text += u' ';
    }
    text.truncate(size);
    return text;
}

double medianMs(int runs, const std::function<void()> &action)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        action();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void timeClick(qsizetype size, int runs)
{
    TBrevio_F window;
    window.show();
    window.MM_SMS->setText(generateText(size, true));
    const double ms = medianMs(runs, [&] { window.BT_Haexler->click(); });
    std::printf("split click, %5.1f MB upper text with line breaks: %8.1f ms  (%zu parts)\n",
                double(size) / 1e6, ms, window.parts().size());
}

void timeKeystroke(qsizetype size, bool withLineBreaks, int runs)
{
    TBrevio_F window;
    window.show();
    window.MM_SMS->setText(generateText(size, withLineBreaks));
    window.MM_SMS->setFocus();
    window.MM_SMS->moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    const double ms = medianMs(runs, [&] {
        QTest::keyClick(window.MM_SMS, 'a');
        QCoreApplication::processEvents();
    });
    std::printf("keystroke, %5.1f MB upper text %-19s: %8.2f ms\n", double(size) / 1e6,
                withLineBreaks ? "with line breaks" : "in one paragraph", ms);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    BrevioApplication app(argc, argv);
    brevio::setupLocale();

    timeClick(1'000'000, 7);
    timeClick(10'000'000, 3);
    timeKeystroke(1'000'000, true, 21);
    timeKeystroke(1'000'000, false, 5);
    return 0;
}
