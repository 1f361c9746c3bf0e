#include "SplitOracle.h"
#include "Splitter.h"

#include <QtTest>
#include <array>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace brevio;

namespace {

// Texts shaped like typed messages but rich in the cases the splitter must treat
// exactly: odd blanks, words around and beyond the limit, multi-byte letters.
class RandomTextGenerator
{
public:
    explicit RandomTextGenerator(std::uint32_t seed) : m_engine(seed) {}

    std::string next()
    {
        const int kind = uniform(0, 99);
        if (kind < 2) {
            return {};
        }
        if (kind < 5) {
            std::string blanks;
            appendSeparator(blanks);
            appendSeparator(blanks);
            return blanks;
        }
        // Mostly short texts, some long enough for many parts at small N.
        const int targetSize = uniform(0, 9) < 7 ? uniform(1, 160) : uniform(161, 600);
        std::string text;
        if (uniform(0, 9) == 0) {
            appendSeparator(text);
        }
        while (static_cast<int>(text.size()) < targetSize) {
            appendWord(text);
            if (static_cast<int>(text.size()) < targetSize || uniform(0, 9) == 0) {
                appendSeparator(text);
            }
        }
        return text;
    }

private:
    int uniform(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }

    void appendWord(std::string &text)
    {
        const int roll = uniform(0, 99);
        // Now and then a word near or over the limit of small and medium N.
        const int length = roll < 90   ? uniform(1, 12)
                           : roll < 98 ? uniform(13, 60)
                                       : uniform(61, 250);
        for (int i = 0; i < length; ++i) {
            appendLetter(text);
        }
    }

    void appendLetter(std::string &text)
    {
        static constexpr std::array<std::string_view, 12> unusual = {
            "\xc3\xa4", "\xc3\x9f", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
            "\x01",     "\x1f",     "\x7f",         "\n",
            "\t",       "\r",       "\xff",         "\xc3",
        };
        if (uniform(0, 19) == 0) {
            text += unusual[static_cast<std::size_t>(uniform(0, unusual.size() - 1))];
        } else {
            text += static_cast<char>('a' + uniform(0, 25));
        }
    }

    void appendSeparator(std::string &text)
    {
        static constexpr std::array<std::string_view, 10> separators = {
            "  ", " \n", "\n ", "\t", " \t ", "\r\n", " \r\n ", "\x01 ", " \x1f", "   \n\n  ",
        };
        if (uniform(0, 9) < 7) {
            text += ' ';
        } else {
            text += separators[static_cast<std::size_t>(uniform(0, separators.size() - 1))];
        }
    }

    std::mt19937 m_engine;
};

std::optional<std::string> difference(const SplitResult &expected, const SplitResult &actual)
{
    if (expected.outcome != actual.outcome) {
        return "outcome differs";
    }
    if (expected.parts.size() != actual.parts.size()) {
        return "part count " + std::to_string(actual.parts.size()) + " instead of " +
               std::to_string(expected.parts.size());
    }
    for (std::size_t i = 0; i < expected.parts.size(); ++i) {
        if (expected.parts[i] != actual.parts[i]) {
            return "part " + std::to_string(i + 1) + " is '" + actual.parts[i] + "' instead of '" +
                   expected.parts[i] + "'";
        }
    }
    return std::nullopt;
}

std::vector<std::int32_t> charactersPerMessageValues()
{
    std::vector<std::int32_t> values{std::numeric_limits<std::int32_t>::min(), -1, 0};
    for (std::int32_t n = 1; n <= 200; ++n) {
        values.push_back(n);
    }
    values.insert(values.end(), {1000, 100000, std::numeric_limits<std::int32_t>::max()});
    return values;
}

} // namespace

class TestSplitterDifferential : public QObject
{
    Q_OBJECT

private slots:
    void comparisonCatchesSmallDifferences();
    void fastSplitterMatchesOracle();
};

void TestSplitterDifferential::comparisonCatchesSmallDifferences()
{
    const std::string text = "alpha beta  gamma\tdelta epsilon zeta eta theta iota kappa";
    const SplitResult literal = oracle::literalSplit(text, 16);
    QVERIFY(literal.parts.size() >= 3);
    QVERIFY(!difference(literal, splitIntoParts(text, 16)));

    SplitResult mutated = splitIntoParts(text, 16);
    mutated.parts[1].back() ^= 1;
    QVERIFY(difference(literal, mutated));

    mutated = splitIntoParts(text, 16);
    mutated.parts.back().pop_back();
    QVERIFY(difference(literal, mutated));

    mutated = splitIntoParts(text, 16);
    mutated.parts.pop_back();
    QVERIFY(difference(literal, mutated));

    mutated = splitIntoParts(text, 16);
    mutated.outcome = SplitResult::Outcome::WordTooLong;
    QVERIFY(difference(literal, mutated));
}

void TestSplitterDifferential::fastSplitterMatchesOracle()
{
    constexpr int textCount = 4000;
    RandomTextGenerator generator(20240611);
    const std::vector<std::int32_t> limits = charactersPerMessageValues();
    long long cases = 0;
    long long wordTooLongCases = 0;
    long long multiPartCases = 0;
    for (int t = 0; t < textCount; ++t) {
        const std::string text = generator.next();
        for (const std::int32_t charactersPerMessage : limits) {
            const SplitResult literal = oracle::literalSplit(text, charactersPerMessage);
            const SplitResult fast = splitIntoParts(text, charactersPerMessage);
            if (const auto problem = difference(literal, fast)) {
                QFAIL(qPrintable(QStringLiteral("N=%1, text '%2': %3")
                                     .arg(charactersPerMessage)
                                     .arg(QString::fromLatin1(
                                         QByteArray::fromStdString(text).toPercentEncoding(" ")))
                                     .arg(QString::fromStdString(*problem))));
            }
            ++cases;
            wordTooLongCases += literal.outcome == SplitResult::Outcome::WordTooLong;
            multiPartCases += literal.parts.size() > 1;
        }
    }
    qInfo("%lld cases compared (%d texts), %lld with several parts, %lld word too long", cases,
          textCount, multiPartCases, wordTooLongCases);
    // Guards the generator: a drift to trivial texts would make this test hollow.
    QVERIFY(multiPartCases > cases / 4);
    QVERIFY(wordTooLongCases > cases / 20);
}

QTEST_GUILESS_MAIN(TestSplitterDifferential)
#include "tst_splitter_differential.moc"
