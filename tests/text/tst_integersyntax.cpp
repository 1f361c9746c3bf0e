#include "Exception.h"
#include "IntegerSyntax.h"
#include "TextTestSupport.h"

#include <QtTest>
#include <string>
#include <string_view>

using namespace brevio;

class TestIntegerSyntax : public QObject
{
    Q_OBJECT

private slots:
    void validIntegers_data();
    void validIntegers();
    void invalidIntegers_data();
    void invalidIntegers();
    void conversionErrorMessage_data();
    void conversionErrorMessage();
    void repairLoop_data();
    void repairLoop();
    void repairLoopErrors_data();
    void repairLoopErrors();
};

void TestIntegerSyntax::validIntegers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("plain") << QByteArray("150") << 150;
    QTest::newRow("leading spaces") << QByteArray("   42") << 42;
    QTest::newRow("plus sign") << QByteArray("+7") << 7;
    QTest::newRow("minus sign") << QByteArray("-7") << -7;
    QTest::newRow("spaces then sign") << QByteArray("  -12") << -12;
    QTest::newRow("leading zeros") << QByteArray("000120") << 120;
    QTest::newRow("many leading zeros") << QByteArray("000000000002147483647") << 2147483647;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("dollar hex") << QByteArray("$40") << 64;
    QTest::newRow("x hex") << QByteArray("x120") << 288;
    QTest::newRow("X hex") << QByteArray("X1f") << 31;
    QTest::newRow("0x hex") << QByteArray("0x10") << 16;
    QTest::newRow("0X hex mixed case") << QByteArray("0XaB") << 171;
    QTest::newRow("spaces then hex") << QByteArray("  $ff") << 255;
    QTest::newRow("hex leading zeros") << QByteArray("$000000001") << 1;
    QTest::newRow("hex all ones is -1") << QByteArray("$FFFFFFFF") << -1;
    QTest::newRow("hex sign bit") << QByteArray("$80000000") << int(-2147483647 - 1);
    QTest::newRow("hex largest positive") << QByteArray("0x7fffffff") << 2147483647;
    QTest::newRow("zero then decimal") << QByteArray("01") << 1;
}

void TestIntegerSyntax::validIntegers()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);

    QCOMPARE(integerSyntaxError(view(text)), std::size_t{0});
    QCOMPARE(strToInt(view(text)), value);
}

void TestIntegerSyntax::invalidIntegers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("position");

    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("only spaces") << QByteArray("  ") << 3;
    QTest::newRow("lone minus") << QByteArray("-") << 2;
    QTest::newRow("lone plus after spaces") << QByteArray("  +") << 4;
    QTest::newRow("sign then space") << QByteArray("- 5") << 2;
    QTest::newRow("sign before dollar") << QByteArray("+$1") << 2;
    QTest::newRow("sign before 0x") << QByteArray("+0x10") << 3;
    QTest::newRow("two signs") << QByteArray("--1") << 2;
    QTest::newRow("double zero before x") << QByteArray("00x1") << 3;
    QTest::newRow("0x without digits") << QByteArray("0x") << 3;
    QTest::newRow("dollar without digits") << QByteArray("$") << 2;
    QTest::newRow("x without digits") << QByteArray("x") << 2;
    QTest::newRow("dollar then non-hex") << QByteArray("$g") << 2;
    QTest::newRow("space after dollar") << QByteArray("$ 1") << 2;
    QTest::newRow("letter after digits") << QByteArray("12a") << 3;
    QTest::newRow("hex digit in decimal") << QByteArray("1f") << 2;
    QTest::newRow("letters") << QByteArray("ab") << 1;
    QTest::newRow("trailing space") << QByteArray("120 ") << 4;
    QTest::newRow("tab is not a space") << QByteArray("\t5") << 1;
    QTest::newRow("line feed after digits") << QByteArray("5\n") << 2;
    QTest::newRow("embedded NUL") << QByteArray("1\0002", 3) << 2;
    QTest::newRow("UTF-8 letter") << QByteArray("\xc3\xa4") << 1;
    QTest::newRow("one past the largest") << QByteArray("2147483648") << 11;
    QTest::newRow("one below the smallest") << QByteArray("-2147483649") << 12;
    QTest::newRow("out of range, then a letter") << QByteArray("2147483648x") << 11;
    QTest::newRow("eleventh digit") << QByteArray("21474836470") << 11;
    QTest::newRow("tenth digit after a large prefix") << QByteArray("9999999999") << 10;
    QTest::newRow("tenth digit, negative") << QByteArray("-2147483650") << 11;
    QTest::newRow("ninth hex digit") << QByteArray("$100000000") << 10;
    QTest::newRow("ninth hex digit after 0x") << QByteArray("0xFFFFFFFF0") << 11;
    QTest::newRow("hex digit after a full pattern") << QByteArray("x123456789") << 10;
    QTest::newRow("decimal point") << QByteArray("1.5") << 2;
}

void TestIntegerSyntax::invalidIntegers()
{
    QFETCH(QByteArray, text);
    QFETCH(int, position);

    QCOMPARE(integerSyntaxError(view(text)), static_cast<std::size_t>(position));
    QVERIFY_THROWS_EXCEPTION(EConvertError, strToInt(view(text)));
}

void TestIntegerSyntax::conversionErrorMessage_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("message");

    QTest::newRow("UTF-8") << QByteArray("C.UTF-8") << QByteArray("12a")
                           << QByteArray("'12a' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("empty text") << QByteArray("C.UTF-8") << QByteArray()
                                << QByteArray("'' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("text inserted byte for byte")
        << QByteArray("C.UTF-8") << QByteArray("\xff'\x01")
        << QByteArray("'\xff'\x01' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("long text not shortened")
        << QByteArray("C.UTF-8") << QByteArray(300, 'z')
        << QByteArray("'" + QByteArray(300, 'z') + "' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("Latin-1") << QByteArray(latin1Locale) << QByteArray("x")
                             << QByteArray("'x' ist kein g\xfcltiger Integerwert");
}

void TestIntegerSyntax::conversionErrorMessage()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, message);

    const ScopedCtypeLocale ctype(locale.constData());
    if (!ctype.isActive()) {
        QSKIP(missingLatin1Locale);
    }
    try {
        strToInt(view(text));
        QFAIL("no EConvertError");
    } catch (const EConvertError &error) {
        QCOMPARE(bytes(error.message()), message);
        QCOMPARE(QByteArray(error.what()), message);
    }
}

// The field's repair as the window runs it: passes until one finds the text valid.
void TestIntegerSyntax::repairLoop_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("firstOffendingPosition");
    QTest::addColumn<QByteArray>("repaired");
    QTest::addColumn<int>("value");

    const QByteArray utf8("C.UTF-8");
    QTest::newRow("valid stays") << utf8 << QByteArray("150") << 0 << QByteArray("150") << 150;
    QTest::newRow("trailing letter dropped")
        << utf8 << QByteArray("12a") << 3 << QByteArray("12") << 12;
    QTest::newRow("empty becomes default") << utf8 << QByteArray() << 1 << QByteArray("120") << 120;
    QTest::newRow("zero becomes default")
        << utf8 << QByteArray("0") << 0 << QByteArray("120") << 120;
    QTest::newRow("negative becomes default")
        << utf8 << QByteArray("-5") << 0 << QByteArray("120") << 120;
    QTest::newRow("negative hex becomes default")
        << utf8 << QByteArray("$FFFFFFFF") << 0 << QByteArray("120") << 120;
    QTest::newRow("hex kept as typed") << utf8 << QByteArray("$40") << 0 << QByteArray("$40") << 64;
    QTest::newRow("x prefix is hex")
        << utf8 << QByteArray("x120") << 0 << QByteArray("x120") << 288;
    QTest::newRow("two-byte letter dropped whole")
        << utf8 << QByteArray("120\xc3\xa4") << 4 << QByteArray("120") << 120;
    QTest::newRow("letter inside the digits") << utf8
                                              << QByteArray("1\xc3\xa4"
                                                            "5")
                                              << 2 << QByteArray("15") << 15;
    QTest::newRow("three-byte letter dropped whole")
        << utf8 << QByteArray("9\xe2\x82\xac") << 2 << QByteArray("9") << 9;
    QTest::newRow("invalid UTF-8 byte dropped alone")
        << utf8 << QByteArray("12\xff") << 3 << QByteArray("12") << 12;
    QTest::newRow("truncated UTF-8 dropped")
        << utf8 << QByteArray("12\xc3") << 3 << QByteArray("12") << 12;
    QTest::newRow("Latin-1 letter")
        << QByteArray(latin1Locale) << QByteArray("120\xe4") << 4 << QByteArray("120") << 120;
}

void TestIntegerSyntax::repairLoop()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, field);
    QFETCH(int, firstOffendingPosition);
    QFETCH(QByteArray, repaired);
    QFETCH(int, value);

    const ScopedCtypeLocale ctype(locale.constData());
    if (!ctype.isActive()) {
        QSKIP(missingLatin1Locale);
    }
    RepairPass pass = repairCharactersPerMessage(view(field));
    QCOMPARE(pass.offendingPosition, static_cast<std::size_t>(firstOffendingPosition));
    // Each pass removes at least one byte, so the loop is bounded by the text.
    for (qsizetype passes = 0; pass.offendingPosition != 0; ++passes) {
        QVERIFY2(passes <= field.size(), "repair does not converge");
        pass = repairCharactersPerMessage(pass.repaired);
    }
    QCOMPARE(bytes(pass.repaired), repaired);
    QCOMPARE(strToInt(pass.repaired), value);
}

void TestIntegerSyntax::repairLoopErrors_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("message");

    const QByteArray utf8("C.UTF-8");
    QTest::newRow("lone minus") << utf8 << QByteArray("-")
                                << QByteArray("'-' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("first letter dropped, second left")
        << utf8 << QByteArray("ab") << QByteArray("'b' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("out of range") << utf8 << QByteArray("2147483648")
                                  << QByteArray(
                                         "'2147483648' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("prefix without digits")
        << utf8 << QByteArray("$") << QByteArray("'$' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("letter before a sign")
        << utf8 << QByteArray("a-") << QByteArray("'-' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("only the first of several letters dropped")
        << utf8 << QByteArray("1a2b3") << QByteArray("'12b3' ist kein g\xc3\xbcltiger Integerwert");
    QTest::newRow("Latin-1 drops one byte of a UTF-8 letter")
        << QByteArray(latin1Locale) << QByteArray("12\xc3\xa4")
        << QByteArray("'12\xa4' ist kein g\xfcltiger Integerwert");
}

void TestIntegerSyntax::repairLoopErrors()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, message);

    const ScopedCtypeLocale ctype(locale.constData());
    if (!ctype.isActive()) {
        QSKIP(missingLatin1Locale);
    }
    try {
        RepairPass pass = repairCharactersPerMessage(view(field));
        for (qsizetype passes = 0; pass.offendingPosition != 0 && passes <= field.size();
             ++passes) {
            pass = repairCharactersPerMessage(pass.repaired);
        }
        QFAIL(qPrintable("no EConvertError, repaired to " + bytes(pass.repaired)));
    } catch (const EConvertError &error) {
        QCOMPARE(bytes(error.message()), message);
    }
}

QTEST_GUILESS_MAIN(TestIntegerSyntax)
#include "tst_integersyntax.moc"
