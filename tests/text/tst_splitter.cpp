#include "SplitOracle.h"
#include "Splitter.h"
#include "TextTestSupport.h"

#include <QtTest>
#include <limits>

using namespace brevio;

namespace {

// Spelled out rather than taken from the header, so that a changed signature shows up.
const QByteArray longSignature(" * Brevio by smsbrevio.example");
const QByteArray shortSignature(" * smsbrevio.example");

QByteArrayList partsOf(const SplitResult &result)
{
    QByteArrayList parts;
    for (const std::string &part : result.parts) {
        parts << QByteArray::fromStdString(part);
    }
    return parts;
}

// Distinct words of an exact length, so that a lost or swapped word shows.
QByteArray numberedWord(int index, int length)
{
    return QByteArray::number(index).rightJustified(length, 'w');
}

QByteArray numberedWords(int first, int count, int length)
{
    QByteArrayList words;
    for (int index = first; index < first + count; ++index) {
        words << numberedWord(index, length);
    }
    return words.join(' ');
}

// Nine-letter words and single spaces, cut to exactly `size` bytes that end in a letter.
QByteArray filler(int size)
{
    QByteArray text;
    while (text.size() < size) {
        text += "abcdefghi ";
    }
    text.truncate(size);
    if (text.endsWith(' ')) {
        text[size - 1] = 'z';
    }
    return text;
}

QByteArray prefixed(const QByteArray &counter, const QByteArray &text)
{
    return counter + ' ' + text;
}

} // namespace

class TestSplitter : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void wordTooLong_data();
    void wordTooLong();
};

void TestSplitter::workedExamples_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("charactersPerMessage");
    QTest::addColumn<QByteArrayList>("parts");

    QTest::newRow("one word per part")
        << QByteArray("aaa bbb ccc") << 10 << QByteArrayList{"1/3 aaa", "2/3 bbb", "3/3 ccc"};
    QTest::newRow("one-letter words at N=5")
        << QByteArray("a b c") << 5 << QByteArrayList{"1/3 a", "2/3 b", "3/3 c"};

    const QByteArray firstTen = numberedWords(1, 10, 10);
    QTest::newRow("twelve ten-letter words")
        << numberedWords(1, 12, 10) << 120
        << QByteArrayList{prefixed("1/2", firstTen),
                          prefixed("2/2", numberedWords(11, 2, 10) + longSignature)};

    // Thresholds at N=120: a rest below 86 bytes is signed long, below 96 short.
    const struct
    {
        const char *name;
        int restSize;
        QByteArray signature;
    } rests[] = {
        {"85-byte rest, 30-byte signature", 85, longSignature},
        {"86-byte rest, 20-byte signature", 86, shortSignature},
        {"95-byte rest, 20-byte signature", 95, shortSignature},
        {"96-byte rest, no signature", 96, QByteArray()},
        {"116-byte rest, no signature", 116, QByteArray()},
    };
    for (const auto &rest : rests) {
        QTest::newRow(rest.name) << firstTen + ' ' + filler(rest.restSize) << 120
                                 << QByteArrayList{
                                        prefixed("1/2", firstTen),
                                        prefixed("2/2", filler(rest.restSize) + rest.signature)};
    }
    QTest::newRow("signature thresholds follow N, long")
        << QByteArray("hello world") << 60 << QByteArrayList{"1/1 hello world" + longSignature};
    QTest::newRow("signature thresholds follow N, short")
        << QByteArray("hello world") << 40 << QByteArrayList{"1/1 hello world" + shortSignature};
    QTest::newRow("signature thresholds follow N, none")
        << QByteArray("hello world") << 31 << QByteArrayList{"1/1 hello world"};

    QTest::newRow("110 bytes and trailing blanks: one part, unsigned")
        << filler(110) + QByteArray(11, ' ') << 120 << QByteArrayList{prefixed("1/1", filler(110))};
    QTest::newRow("blanks around the working text dropped")
        << QByteArray("\t  hello world \n") << 120
        << QByteArrayList{"1/1 hello world" + longSignature};
    QTest::newRow("exactly N-4 bytes stay one part")
        << filler(116) << 120 << QByteArrayList{prefixed("1/1", filler(116))};
    QTest::newRow("one byte more splits")
        << filler(117) << 120
        << QByteArrayList{prefixed("1/2", filler(109)), "2/2 abcdefg" + longSignature};

    const QByteArray nineWords = numberedWords(1, 9, 10);
    QTest::newRow("part filled to exactly N-4 bytes")
        << nineWords + ' ' + numberedWord(10, 17) + " tail" << 120
        << QByteArrayList{prefixed("1/2", nineWords + ' ' + numberedWord(10, 17)),
                          "2/2 tail" + longSignature};
    QTest::newRow("one byte more moves the word on")
        << nineWords + ' ' + numberedWord(10, 18) + " tail" << 120
        << QByteArrayList{prefixed("1/2", nineWords),
                          prefixed("2/2", numberedWord(10, 18) + " tail" + longSignature)};

    // The fit test uses a word's length up to the next space, trailing tabs included.
    QTest::newRow("trailing tabs count toward the word")
        << QByteArray("abcdefgh ijklmn\t\t opq rs") << 20
        << QByteArrayList{"1/2 abcdefgh", "2/2 ijklmn\t\t opq rs"};
    QTest::newRow("same words without tabs") << QByteArray("abcdefgh ijklmn opq rs") << 20
                                             << QByteArrayList{"1/2 abcdefgh ijklmn", "2/2 opq rs"};
    QTest::newRow("blanks collapse except in the last part")
        << QByteArray("ab  cd \nef\t ghi  j\n k") << 14
        << QByteArrayList{"1/2 ab cd ef", "2/2 ghi  j\n k"};
    QTest::newRow("line break without space stays in its word")
        << QByteArray("abc\ndef ghi") << 11 << QByteArrayList{"1/2 abc\ndef", "2/2 ghi"};

    QByteArrayList twelveParts;
    QByteArrayList twelveWords;
    for (int index = 1; index <= 12; ++index) {
        const QByteArray word = "part" + QByteArray::number(index).rightJustified(2, '0');
        twelveWords << word;
        twelveParts << QByteArray::number(index) + "/12 " + word;
    }
    QTest::newRow("twelve parts, counters unpadded, longer than N")
        << twelveWords.join(' ') << 10 << twelveParts;

    QTest::newRow("UTF-8 letters count their bytes")
        << QByteArray("\xc3\xa4\xc3\xa4 \xc3\xa4\xc3\xa4\xc3\xa4 x") << 10
        << QByteArrayList{"1/3 \xc3\xa4\xc3\xa4", "2/3 \xc3\xa4\xc3\xa4\xc3\xa4", "3/3 x"};

    QTest::newRow("empty text, no part") << QByteArray() << 120 << QByteArrayList{};
    QTest::newRow("only blanks, no part") << QByteArray(" \t\r\n\x01 ") << 120 << QByteArrayList{};
    QTest::newRow("empty text at N=4") << QByteArray() << 4 << QByteArrayList{};
    QTest::newRow("largest N") << QByteArray("short text") << std::numeric_limits<int>::max()
                               << QByteArrayList{"1/1 short text" + longSignature};
}

void TestSplitter::workedExamples()
{
    QFETCH(QByteArray, text);
    QFETCH(int, charactersPerMessage);
    QFETCH(QByteArrayList, parts);

    const SplitResult fast = splitIntoParts(view(text), charactersPerMessage);
    QCOMPARE(fast.outcome, SplitResult::Outcome::Parts);
    QCOMPARE(partsOf(fast), parts);

    // The differential test trusts the oracle; here it has to earn that.
    const SplitResult literal = oracle::literalSplit(view(text), charactersPerMessage);
    QCOMPARE(literal.outcome, SplitResult::Outcome::Parts);
    QCOMPARE(partsOf(literal), parts);
}

void TestSplitter::wordTooLong_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("charactersPerMessage");

    const QByteArray tooLong(117, 'q');
    QTest::newRow("first word over N-4") << tooLong + " tail" << 120;
    QTest::newRow("middle word over N-4") << "head " + tooLong + " tail" << 120;
    QTest::newRow("last word over N-4") << "head " + tooLong << 120;
    QTest::newRow("lone word over N-4") << tooLong << 120;
    QTest::newRow("tab after the word makes it too long")
        << QByteArray(116, 'q') + "\t tail" << 120;
    QTest::newRow("line break inside a word counts") << QByteArray("abc\r\nde fg") << 10;
    QTest::newRow("four two-byte letters over N-4")
        << QByteArray("\xc3\xa4 \xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4") << 10;
    QTest::newRow("N=4 leaves no room") << QByteArray("a") << 4;
    QTest::newRow("N=3 fails even on empty text") << QByteArray() << 3;
    QTest::newRow("N=0") << QByteArray("abc") << 0;
    QTest::newRow("negative N") << QByteArray("abc def") << -5;
    QTest::newRow("smallest N") << QByteArray() << std::numeric_limits<int>::min();
}

void TestSplitter::wordTooLong()
{
    QFETCH(QByteArray, text);
    QFETCH(int, charactersPerMessage);

    const SplitResult fast = splitIntoParts(view(text), charactersPerMessage);
    QCOMPARE(fast.outcome, SplitResult::Outcome::WordTooLong);
    QVERIFY(fast.parts.empty());

    const SplitResult literal = oracle::literalSplit(view(text), charactersPerMessage);
    QCOMPARE(literal.outcome, SplitResult::Outcome::WordTooLong);
    QVERIFY(literal.parts.empty());
}

QTEST_GUILESS_MAIN(TestSplitter)
#include "tst_splitter.moc"
