// Matching a row against the draw, and the prize class of the result.

#include "check/hits.h"

#include <QTest>

namespace
{

// Main numbers 1..7, additional numbers 8, 9, 10, 11.
const QString draw_a = QStringLiteral(" 1 2 3 4 5 6 7 8 91011");
// Main numbers 35, 12, 20, 33, 9, 1, 17; additional numbers 28, 5, 3, 30.
const QString draw_b = QStringLiteral("35122033 9 11728 5 330");

QString class_name(PrizeClass prize)
{
    switch (prize) {
    case PrizeClass::none:
        return QStringLiteral("none");
    case PrizeClass::four_plus_one:
        return QStringLiteral("4+1");
    case PrizeClass::five:
        return QStringLiteral("5");
    case PrizeClass::six:
        return QStringLiteral("6");
    case PrizeClass::six_plus_one:
        return QStringLiteral("6+1");
    case PrizeClass::seven:
        return QStringLiteral("7");
    }
    return QStringLiteral("unknown");
}

} // namespace

class TestHits : public QObject
{
    Q_OBJECT
private slots:
    void draws_are_complete();
    void count_and_classify_data();
    void count_and_classify();
};

void TestHits::draws_are_complete()
{
    QCOMPARE(draw_a.size(), 22);
    QCOMPARE(draw_b.size(), 22);
}

void TestHits::count_and_classify_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("draw");
    QTest::addColumn<int>("main");
    QTest::addColumn<int>("additional");
    QTest::addColumn<QString>("prize");

    const auto row = [](const char *name, const char *text, const QString &draw, int main,
                        int additional, const char *prize) {
        QTest::newRow(name) << QString::fromLatin1(text) << draw << main << additional
                            << QString::fromLatin1(prize);
    };

    // The class boundaries.
    row("7", "01020304050607", draw_a, 7, 0, "7");
    row("6+1", "01020304050608", draw_a, 6, 1, "6+1");
    row("6+0", "01020304050620", draw_a, 6, 0, "6");
    row("5+2", "01020304050809", draw_a, 5, 2, "5");
    row("5+0", "01020304052021", draw_a, 5, 0, "5");
    row("4+2 is 4+1", "01020304080920", draw_a, 4, 2, "4+1");
    row("4+1", "01020304081213", draw_a, 4, 1, "4+1");
    row("4+0", "01020304202122", draw_a, 4, 0, "none");
    row("3", "01020320212223", draw_a, 3, 0, "none");
    row("3 with all additional", "01020308091011", draw_a, 3, 4, "none");
    row("nothing", "20212223242526", draw_a, 0, 0, "none");
    row("order of fields", "07060504030201", draw_a, 7, 0, "7");

    // Another draw, with numbers above 9 and one-digit additional numbers.
    row("b: 7", "35122033 9 117", draw_b, 7, 0, "7");
    row("b: 6+1", "3512203309 128", draw_b, 6, 1, "6+1");
    row("b: 4+3", "0503303512 920", draw_b, 4, 3, "4+1");
    row("b: 4+0", "35122033020406", draw_b, 4, 0, "none");
    row("b: 5+2", "17010933120528", draw_b, 5, 2, "5");

    // Rows shorter than fourteen characters: a cut field counts by what is left.
    row("13 chars, seventh field 7", "0102030405067", draw_a, 7, 0, "7");
    row("13 chars, seventh field 8", "0102030405068", draw_a, 6, 1, "6+1");
    row("12 chars", "010203040506", draw_a, 6, 0, "6");
    row("3 chars", "113", draw_a, 1, 1, "none");
    row("1 char", "7", draw_a, 1, 0, "none");
    row("empty", "", draw_a, 0, 0, "none");

    // Characters after the fourteenth are never looked at.
    row("drawn number after 14th", "0102030420212207", draw_a, 4, 0, "none");
    row("text after 14th", "01020304050607 kalle", draw_a, 7, 0, "7");
    row("whole row after 14th", "20212223242526010203040506", draw_a, 0, 0, "none");

    // A number that stands more than once in a row counts once.
    row("05 seven times, 5 main", "05050505050505", draw_a, 1, 0, "none");
    row("05 seven times, 5 additional", "05050505050505", draw_b, 0, 1, "none");
    row("05, ' 5' and '5 ' are one number", "05 55 05 55 05", draw_a, 1, 0, "none");
    row("repeat makes no 7", "01010203040506", draw_a, 6, 0, "6");
    row("repeated additional counts once", "01020304080808", draw_a, 4, 1, "4+1");
    row("08 seven times", "08080808080808", draw_a, 0, 1, "none");

    // Fields with blanks compare by value.
    row("leading blanks", " 1 2 3 4 5 6 7", draw_a, 7, 0, "7");
    row("trailing blanks", "1 2 3 4 5 6 7 ", draw_a, 7, 0, "7");
    row("mixed", " 102 3040506 7", draw_a, 7, 0, "7");
    row("blank additional", "01020304 8 920", draw_a, 4, 2, "4+1");

    // Fields that hold no number match nothing.
    row("all 00", "00000000000000", draw_a, 0, 0, "none");
    row("all blank", "              ", draw_a, 0, 0, "none");
    row("00 and blanks among hits", "0102030400  08", draw_a, 4, 1, "4+1");
    row("letters", "ab0102cd030420", draw_a, 4, 0, "none");
}

void TestHits::count_and_classify()
{
    QFETCH(QString, row);
    QFETCH(QString, draw);
    QFETCH(int, main);
    QFETCH(int, additional);
    QFETCH(QString, prize);

    const Hits hits = count_hits(row, draw);
    QCOMPARE(hits.main, main);
    QCOMPARE(hits.additional, additional);
    QCOMPARE(class_name(prize_class(hits)), prize);
}

QTEST_APPLESS_MAIN(TestHits)
#include "test_logic_hits.moc"
