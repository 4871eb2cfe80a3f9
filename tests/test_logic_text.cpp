// The shared conversions Str, CStr, Val and sub_text.

#include "text/basic_text.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void str_and_cstr_data();
    void str_and_cstr();
    void val_data();
    void val();
    void val_of_huge_text_is_finite_data();
    void val_of_huge_text_is_finite();
    void sub_text_data();
    void sub_text();
};

void TestText::str_and_cstr_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("str");
    QTest::addColumn<QString>("cstr");
    QTest::newRow("zero") << qint64(0) << " 0"
                          << "0";
    QTest::newRow("one digit") << qint64(5) << " 5"
                               << "5";
    QTest::newRow("two digits") << qint64(12) << " 12"
                                << "12";
    QTest::newRow("negative") << qint64(-3) << "-3"
                              << "-3";
    QTest::newRow("large") << qint64(1234567890123) << " 1234567890123"
                           << "1234567890123";
}

void TestText::str_and_cstr()
{
    QFETCH(qint64, n);
    QFETCH(QString, str);
    QFETCH(QString, cstr);
    QCOMPARE(Str(n), str);
    QCOMPARE(CStr(n), cstr);
}

void TestText::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("leading blank") << " 5" << 5.0;
    QTest::newRow("leading zero") << "05" << 5.0;
    QTest::newRow("trailing blank") << "5 " << 5.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks only") << "   " << 0.0;
    QTest::newRow("blank inside") << "1 2" << 12.0;
    QTest::newRow("blanks everywhere") << " 3 5 " << 35.0;
    QTest::newRow("tab") << "\t7" << 7.0;
    QTest::newRow("two-digit field") << "35" << 35.0;
    QTest::newRow("minus") << "-3" << -3.0;
    QTest::newRow("plus") << "+4" << 4.0;
    QTest::newRow("blank after sign") << "- 2" << -2.0;
    QTest::newRow("second sign ends") << "+-5" << 0.0;
    QTest::newRow("sign after digits ends") << "5-3" << 5.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("decimal point") << "2.5" << 2.5;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("point last") << "7." << 7.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("blank inside decimals") << "1. 2 5" << 1.25;
    QTest::newRow("letters after") << "12abc" << 12.0;
    QTest::newRow("letters first") << "abc12" << 0.0;
    QTest::newRow("comma ends") << "3,5" << 3.0;
    QTest::newRow("exponent is not a number form") << "1E3" << 1.0;
    QTest::newRow("lower-case exponent") << "2e2" << 2.0;
    QTest::newRow("radix prefix is not a number form") << "&H10" << 0.0;
    QTest::newRow("octal prefix") << "&O17" << 0.0;
    QTest::newRow("hex-looking digits") << "0x1F" << 0.0;
    QTest::newRow("row field") << "01051217243035" << 1051217243035.0;
}

void TestText::val()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Val(text), value);
}

void TestText::val_of_huge_text_is_finite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("sign");
    QTest::newRow("400 digits") << QString(400, QLatin1Char('9')) << 1.0;
    QTest::newRow("400 negative digits")
        << QLatin1Char('-') + QString(400, QLatin1Char('9')) << -1.0;
    QTest::newRow("tiny fraction")
        << QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QLatin1Char('1') << 0.0;
}

void TestText::val_of_huge_text_is_finite()
{
    QFETCH(QString, text);
    QFETCH(double, sign);
    const double value = Val(text);
    QVERIFY(std::isfinite(value));
    if (sign == 0)
        QCOMPARE(value, 0.0);
    else
        QCOMPARE(value, sign * std::numeric_limits<double>::max());
}

void TestText::sub_text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("part");
    QTest::newRow("first field") << "01051217243035" << 1 << 2 << "01";
    QTest::newRow("seventh field") << "01051217243035" << 13 << 2 << "35";
    QTest::newRow("partial at the end") << "0105121724303" << 13 << 2 << "3";
    QTest::newRow("just past the end") << "0105" << 5 << 2 << "";
    QTest::newRow("far past the end") << "0105" << 99 << 2 << "";
    QTest::newRow("empty text") << "" << 1 << 2 << "";
    QTest::newRow("zero length") << "abc" << 2 << 0 << "";
    QTest::newRow("whole text") << "abc" << 1 << 3 << "abc";
    QTest::newRow("more than there is") << "abc" << 2 << 10 << "bc";
}

void TestText::sub_text()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(int, length);
    QFETCH(QString, part);
    QCOMPARE(::sub_text(text, position, length).toString(), part);
}

QTEST_APPLESS_MAIN(TestText)
#include "test_logic_text.moc"
