// The shared conversions Str, CStr, Val and sub_text.

#include "text/basic_text.h"

#include <QTest>

#include <limits>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void str_and_cstr_data()
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

    void str_and_cstr()
    {
        QFETCH(qint64, n);
        QFETCH(QString, str);
        QFETCH(QString, cstr);
        QCOMPARE(Str(n), str);
        QCOMPARE(CStr(n), cstr);
    }

    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const double max = std::numeric_limits<double>::max();
        QTest::newRow("leading blank") << " 5" << 5.0;
        QTest::newRow("leading zero") << "05" << 5.0;
        QTest::newRow("trailing blank") << "5 " << 5.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "   " << 0.0;
        QTest::newRow("blank inside") << "1 2" << 12.0;
        QTest::newRow("tab") << "\t7" << 7.0;
        QTest::newRow("minus") << "-3" << -3.0;
        QTest::newRow("plus") << "+4" << 4.0;
        QTest::newRow("blank after sign") << "- 2" << -2.0;
        QTest::newRow("second sign ends") << "+-5" << 0.0;
        QTest::newRow("sign after digits ends") << "5-3" << 5.0;
        QTest::newRow("decimal point") << "2.5" << 2.5;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("blank inside decimals") << "1. 2 5" << 1.25;
        QTest::newRow("letters first") << "abc12" << 0.0;
        QTest::newRow("comma ends") << "3,5" << 3.0;
        // U+0133, whose low byte is the digit 3, and a fullwidth 2.
        QTest::newRow("no digit beyond Latin-1") << QStringLiteral("1\u0133\uFF12") << 1.0;
        QTest::newRow("exponent is not a number form") << "1E3" << 1.0;
        QTest::newRow("radix prefix is not a number form") << "&H10" << 0.0;
        QTest::newRow("row field") << "01051217243035" << 1051217243035.0;
        // Beyond what a double holds: the largest finite number, never infinity.
        QTest::newRow("400 digits") << QString(400, u'9') << max;
        QTest::newRow("400 negative digits") << u'-' + QString(400, u'9') << -max;
        QTest::newRow("tiny fraction") << "0." + QString(400, u'0') + u'1' << 0.0;
    }

    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void sub_text_data()
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
        QTest::newRow("zero length") << "abc" << 2 << 0 << "";
    }

    void sub_text()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(int, length);
        QFETCH(QString, part);
        QCOMPARE(::sub_text(text, position, length).toString(), part);
    }
};

QTEST_APPLESS_MAIN(TestText)
#include "test_logic_text.moc"
