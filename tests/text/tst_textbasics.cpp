#include "CharacterCount.h"
#include "LocaleCodec.h"
#include "LocaleSetup.h"
#include "TextMirror.h"
#include "TextTestSupport.h"
#include "Trim.h"
#include "WindowCaption.h"

#include <QtTest>
#include <clocale>
#include <cstdlib>
#include <random>
#include <string>

using namespace brevio;

namespace {

enum class CtypeCandidates { Default, MissingThenUtf8, OnlyMissing };

bool runSetupLocale(CtypeCandidates candidates)
{
    switch (candidates) {
    case CtypeCandidates::Default:
        return setupLocale();
    case CtypeCandidates::MissingThenUtf8:
        return setupLocale({"no_SUCH_locale", "C.UTF-8"});
    case CtypeCandidates::OnlyMissing:
        return setupLocale({"no_SUCH_locale"});
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(CtypeCandidates)

class TestTextBasics : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void trimLocaleText_data();
    void trimLocaleText();
    void trimWidgetText_data();
    void trimWidgetText();
    void characterCount_data();
    void characterCount();
    void windowCaption_data();
    void windowCaption();
    void wrapDecision_data();
    void wrapDecision();
    void mirrorFollowsEdits();
    void toLocale_data();
    void toLocale();
    void unrepresentableText_data();
    void unrepresentableText();
    void malformedLocaleText_data();
    void malformedLocaleText();
    void largeTextRoundTrip_data();
    void largeTextRoundTrip();
    void setupLocale_data();
    void setupLocale();
};

void TestTextBasics::cleanup()
{
    // setupLocale reads the environment; every test starts from the one ctest gives.
    qputenv("LC_ALL", "C.UTF-8");
    std::setlocale(LC_ALL, "C.UTF-8");
}

void TestTextBasics::trimLocaleText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");

    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("nothing to trim") << QByteArray("a b") << 0 << 3;
    QTest::newRow("spaces both sides") << QByteArray("  a b  ") << 2 << 3;
    QTest::newRow("control characters") << QByteArray("\t\r\n\x01 x\x1f\n") << 5 << 1;
    QTest::newRow("only blanks") << QByteArray(" \t\n ") << 4 << 0;
    QTest::newRow("DEL is text") << QByteArray("\x7f ") << 0 << 1;
    QTest::newRow("high bytes are text") << QByteArray(" \xc3\xa4\xa0") << 1 << 3;
    QTest::newRow("NUL is blank") << QByteArray("\0a\0", 3) << 1 << 1;
}

void TestTextBasics::trimLocaleText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, offset);
    QFETCH(int, length);

    const std::string_view result = trimmed(view(text));
    QCOMPARE(result.size(), static_cast<std::size_t>(length));
    if (length > 0) {
        // A view into the caller's text, not a copy.
        QCOMPARE(static_cast<const void *>(result.data()),
                 static_cast<const void *>(text.constData() + offset));
    }
}

void TestTextBasics::trimWidgetText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");

    QTest::newRow("empty") << QString() << 0 << 0;
    QTest::newRow("spaces and tabs") << QStringLiteral(" \tab c\n") << 2 << 4;
    QTest::newRow("only control characters") << QStringLiteral("\x1f\x01") << 2 << 0;
    QTest::newRow("no-break space is text") << QStringLiteral("\u00a0x ") << 0 << 2;
    QTest::newRow("units above 0xff are text") << QStringLiteral(" \u0120") << 1 << 1;
}

void TestTextBasics::trimWidgetText()
{
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, length);

    const std::u16string_view whole = view(text);
    const std::u16string_view result = trimmed(whole);
    QCOMPARE(result.size(), static_cast<std::size_t>(length));
    if (length > 0) {
        QCOMPARE(result.data(), whole.data() + offset);
    }
}

void TestTextBasics::characterCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");

    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("plain") << QStringLiteral("abc") << 3;
    QTest::newRow("closing line feed") << QStringLiteral("abc\n") << 3;
    QTest::newRow("only one line feed dropped") << QStringLiteral("abc\n\n") << 4;
    QTest::newRow("just a line feed") << QStringLiteral("\n") << 0;
    QTest::newRow("leading line feed counts") << QStringLiteral("\nab") << 3;
    QTest::newRow("carriage return counts") << QStringLiteral("a\r") << 2;
    QTest::newRow("CR LF drops only LF") << QStringLiteral("a\r\n") << 2;
    QTest::newRow("umlaut is one unit") << QStringLiteral("\u00e4") << 1;
    QTest::newRow("emoji is two units") << QStringLiteral("\U0001F600\n") << 2;
}

void TestTextBasics::characterCount()
{
    QFETCH(QString, text);
    QFETCH(int, count);

    QCOMPARE(brevio::characterCount(view(text)), static_cast<std::size_t>(count));
}

void TestTextBasics::windowCaption_data()
{
    constexpr int limit = int(brevio::kCaptionLimit);
    const QString emoji = QStringLiteral("\U0001F600");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("captionLength");

    QTest::newRow("short title whole") << QStringLiteral("Hallo\nWelt") << 10;
    QTest::newRow("exactly the limit") << QString(limit, u'x') << limit;
    QTest::newRow("one over the limit") << QString(limit + 1, u'x') << limit;
    QTest::newRow("pair across the limit") << QString(limit - 1, u'x') + emoji << limit - 1;
    QTest::newRow("pair ends at the limit") << QString(limit - 2, u'x') + emoji + u'y' << limit;
}

void TestTextBasics::windowCaption()
{
    QFETCH(QString, title);
    QFETCH(int, captionLength);

    const std::u16string_view caption = brevio::windowCaption(view(title));
    QCOMPARE(caption.data(), view(title).data());
    QCOMPARE(caption.size(), std::size_t(captionLength));
}

void TestTextBasics::wrapDecision_data()
{
    constexpr int limit = int(brevio::kLongRunLength);
    const QString run = QString(limit, u'x');
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("anywhere");

    QTest::newRow("words") << QStringLiteral("Hallo Welt, bis morgen!") << false;
    QTest::newRow("run at the limit") << run << false;
    QTest::newRow("run over the limit") << run + u'x' << true;
    QTest::newRow("space breaks") << run + u' ' + run << false;
    QTest::newRow("tab breaks") << run + u'\t' + run << false;
    QTest::newRow("line feed breaks") << run + u'\n' + run << false;
    QTest::newRow("paragraph separator breaks") << run + QChar(0x2029) + run << false;
    QTest::newRow("no-break space does not") << run + QChar(0x00a0) + u'x' << true;
    QTest::newRow("hyphen does not") << run + u'-' << true;
    QTest::newRow("long run after words") << QStringLiteral("ab cd ") + run + u'x' << true;
}

void TestTextBasics::wrapDecision()
{
    QFETCH(QString, text);
    QFETCH(bool, anywhere);

    QCOMPARE(brevio::hasLongRun(view(text)), anywhere);
    brevio::TextMirror mirror;
    mirror.assign(view(text));
    QCOMPARE(mirror.longRunCount() > 0, anywhere);
}

void TestTextBasics::mirrorFollowsEdits()
{
    // Random edits against a plain string: mostly letters, so that runs grow long
    // and are split and joined again.
    std::mt19937 random(20261209);
    const auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const auto someText = [&] {
        const bool pasted = below(4) == 0;
        std::u16string text(pasted ? below(2500) : below(6), u'a');
        for (char16_t &c : text)
            c = below(pasted ? 1500 : 4) == 0 ? u' ' : char16_t(u'a' + below(3));
        return text;
    };
    const auto longRuns = [](std::u16string_view text) {
        std::size_t count = 0, run = 0;
        for (const char16_t c : text) {
            run = c == u' ' ? 0 : run + 1;
            count += run == brevio::kLongRunLength + 1;
        }
        return count;
    };

    std::u16string expected;
    brevio::TextMirror mirror;
    std::size_t mostLongRuns = 0;
    for (int edit = 0; edit < 400; ++edit) {
        const std::size_t position = below(expected.size() + 1);
        const std::size_t removed =
            below(std::min<std::size_t>(expected.size() - position, 40) + 1);
        // Now and then the same units again, which is no change.
        const std::u16string inserted =
            below(5) == 0 ? expected.substr(position, removed) : someText();
        const std::u16string before = expected;
        expected.replace(position, removed, inserted);
        QCOMPARE(mirror.replace(position, removed, inserted), expected != before);
        QCOMPARE(mirror.size(), expected.size());
        QCOMPARE(mirror.longRunCount(), longRuns(expected));
        mostLongRuns = std::max(mostLongRuns, mirror.longRunCount());
    }
    QVERIFY(mirror.text() == expected);
    QVERIFY2(mostLongRuns >= 2, "the edits never made two long runs at once");
}

void TestTextBasics::toLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("widgetText");
    QTest::addColumn<QByteArray>("localeText");

    const QByteArray utf8("C.UTF-8");
    const QByteArray latin1(latin1Locale);
    QTest::newRow("UTF-8 empty") << utf8 << QString() << QByteArray();
    QTest::newRow("UTF-8 ASCII") << utf8 << QStringLiteral("Hallo 120") << QByteArray("Hallo 120");
    QTest::newRow("UTF-8 umlaut is two bytes")
        << utf8 << QStringLiteral("\u00e4") << QByteArray("\xc3\xa4");
    QTest::newRow("UTF-8 German") << utf8 << QStringLiteral("Gr\u00fc\u00dfe \u00c4rger")
                                  << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                                "e \xc3\x84rger");
    QTest::newRow("UTF-8 euro and emoji")
        << utf8 << QStringLiteral("\u20ac\U0001F600") << QByteArray("\xe2\x82\xac\xf0\x9f\x98\x80");
    QTest::newRow("UTF-8 NUL kept") << utf8 << QString(QChar(0)) << QByteArray(1, '\0');
    QTest::newRow("UTF-8 no byte order mark") << utf8 << QStringLiteral("\ufeffa")
                                              << QByteArray("\xef\xbb\xbf"
                                                            "a");
    QTest::newRow("Latin-1 umlaut is one byte")
        << latin1 << QStringLiteral("\u00e4") << QByteArray("\xe4");
    QTest::newRow("Latin-1 German") << latin1 << QStringLiteral("Gr\u00fc\u00dfe \u00c4rger")
                                    << QByteArray("Gr\xfc\xdf"
                                                  "e \xc4rger");
    QTest::newRow("Latin-1 top byte") << latin1 << QStringLiteral("\u00ff") << QByteArray("\xff");
}

void TestTextBasics::toLocale()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, widgetText);
    QFETCH(QByteArray, localeText);

    const ScopedCtypeLocale ctype(locale.constData());
    if (!ctype.isActive()) {
        QSKIP(missingLatin1Locale);
    }
    QCOMPARE(bytes(brevio::toLocale(view(widgetText))), localeText);
    QCOMPARE(qString(fromLocale(view(localeText))), widgetText);
}

void TestTextBasics::unrepresentableText_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("widgetText");

    const QByteArray latin1(latin1Locale);
    QTest::newRow("Latin-1 euro") << latin1 << QStringLiteral("5 \u20ac");
    QTest::newRow("Latin-1 Polish letter among umlauts")
        << latin1 << QStringLiteral("\u00e4\u0142\u00f6");
    QTest::newRow("Latin-1 emoji") << latin1 << QStringLiteral("a\U0001F600");
    QTest::newRow("UTF-8 lone high surrogate") << QByteArray("C.UTF-8") << QString(QChar(0xd800));
    QTest::newRow("UTF-8 lone low surrogate inside text")
        << QByteArray("C.UTF-8") << (QStringLiteral("ab") + QChar(0xdc00) + QStringLiteral("cd"));
    QTest::newRow("UTF-8 surrogates in the wrong order")
        << QByteArray("C.UTF-8") << (QString(QChar(0xde00)) + QChar(0xd83d));
    QTest::newRow("ASCII umlaut") << QByteArray("C") << QStringLiteral("\u00e4");
}

void TestTextBasics::unrepresentableText()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, widgetText);

    const ScopedCtypeLocale ctype(locale.constData());
    if (!ctype.isActive()) {
        QSKIP(missingLatin1Locale);
    }
    QCOMPARE(bytes(brevio::toLocale(view(widgetText))), QByteArray());
}

void TestTextBasics::malformedLocaleText_data()
{
    QTest::addColumn<QByteArray>("localeText");

    QTest::newRow("stray continuation byte") << QByteArray("ab\x80");
    QTest::newRow("invalid byte first") << QByteArray("\xff"
                                                      "abc");
    QTest::newRow("truncated sequence at the end") << QByteArray("abc\xc3");
    QTest::newRow("lead byte without continuation") << QByteArray("\xc3(x");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80");
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
}

void TestTextBasics::malformedLocaleText()
{
    QFETCH(QByteArray, localeText);

    QCOMPARE(localeCodeSet(), std::string("UTF-8"));
    QCOMPARE(qString(fromLocale(view(localeText))), QString());
}

void TestTextBasics::largeTextRoundTrip_data()
{
    QTest::addColumn<QString>("pattern");

    // Latin text shrinks to UTF-8, CJK grows by half, emoji keep their size.
    QTest::newRow("ASCII") << QStringLiteral("Hello world ");
    QTest::newRow("German") << QStringLiteral("Gr\u00fc\u00dfe aus K\u00f6ln ");
    QTest::newRow("CJK") << QStringLiteral("\u4f60\u597d\u4e16\u754c");
    QTest::newRow("emoji") << QStringLiteral("\U0001F600\U0001F680 ");
}

void TestTextBasics::largeTextRoundTrip()
{
    QFETCH(QString, pattern);

    const QString text = pattern.repeated(200'000);
    const std::string localeText = brevio::toLocale(view(text));
    QCOMPARE(bytes(localeText), text.toUtf8());
    QCOMPARE(qString(fromLocale(localeText)), text);
}

void TestTextBasics::setupLocale_data()
{
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<CtypeCandidates>("candidates");
    QTest::addColumn<bool>("notAscii");
    QTest::addColumn<QByteArray>("codeSet");
    QTest::addColumn<QByteArray>("umlaut");

    QTest::newRow("C falls back to Latin-1") << QByteArray("C") << CtypeCandidates::Default << true
                                             << QByteArray("ISO-8859-1") << QByteArray("\xe4");
    QTest::newRow("POSIX falls back to Latin-1")
        << QByteArray("POSIX") << CtypeCandidates::Default << true << QByteArray("ISO-8859-1")
        << QByteArray("\xe4");
    QTest::newRow("missing candidate skipped")
        << QByteArray("C") << CtypeCandidates::MissingThenUtf8 << true << QByteArray("UTF-8")
        << QByteArray("\xc3\xa4");
    QTest::newRow("no candidate available")
        << QByteArray("C") << CtypeCandidates::OnlyMissing << false << QByteArray("ANSI_X3.4-1968")
        << QByteArray();
    QTest::newRow("UTF-8 environment kept")
        << QByteArray("C.UTF-8") << CtypeCandidates::Default << true << QByteArray("UTF-8")
        << QByteArray("\xc3\xa4");
    QTest::newRow("Latin-1 environment kept")
        << QByteArray(latin1Locale) << CtypeCandidates::MissingThenUtf8 << true
        << QByteArray("ISO-8859-1") << QByteArray("\xe4");
}

void TestTextBasics::setupLocale()
{
    QFETCH(QByteArray, environment);
    QFETCH(CtypeCandidates, candidates);
    QFETCH(bool, notAscii);
    QFETCH(QByteArray, codeSet);
    QFETCH(QByteArray, umlaut);

    if (codeSet == "ISO-8859-1") {
        const ScopedCtypeLocale probe(latin1Locale);
        if (!probe.isActive()) {
            QSKIP(missingLatin1Locale);
        }
    }
    qputenv("LC_ALL", environment);
    QCOMPARE(runSetupLocale(candidates), notAscii);
    QCOMPARE(QByteArray::fromStdString(localeCodeSet()), codeSet);
    QCOMPARE(bytes(brevio::toLocale(u"\u00e4")), umlaut);
}

QTEST_GUILESS_MAIN(TestTextBasics)
#include "tst_textbasics.moc"
