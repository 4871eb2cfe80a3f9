// Matching a row against the draw, and the prize class of the result.

#include "check/hits.h"

#include <QTest>

namespace
{

// Main numbers 1..7, additional numbers 8, 9, 10, 11.
const QString draw_a = QStringLiteral(" 1 2 3 4 5 6 7 8 91011");
// Main numbers 35, 12, 20, 33, 9, 1, 17; additional numbers 28, 5, 3, 30.
const QString draw_b = QStringLiteral("35122033 9 11728 5 330");

} // namespace

class TestHits : public QObject
{
    Q_OBJECT
private slots:
    void count_and_classify_data()
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
        row("7 in another order", "07060504030201", draw_a, 7, 0, "7");
        row("6+1", "01020304050608", draw_a, 6, 1, "6+1");
        row("6+0", "01020304050620", draw_a, 6, 0, "6");
        row("5+2", "01020304050809", draw_a, 5, 2, "5");
        row("5+0", "01020304052021", draw_a, 5, 0, "5");
        row("4+2 is 4+1", "01020304080920", draw_a, 4, 2, "4+1");
        row("4+1", "01020304081213", draw_a, 4, 1, "4+1");
        row("4+0", "01020304202122", draw_a, 4, 0, "none");
        row("3+4", "01020308091011", draw_a, 3, 4, "none");

        // A draw with numbers above 9 and one-digit additional numbers.
        row("b: 7", "35122033 9 117", draw_b, 7, 0, "7");
        row("b: 4+3", "0503303512 920", draw_b, 4, 3, "4+1");

        // Rows shorter than fourteen characters: a cut field counts by what is left.
        row("13 characters", "0102030405067", draw_a, 7, 0, "7");
        row("12 characters", "010203040506", draw_a, 6, 0, "6");
        row("3 characters", "113", draw_a, 1, 1, "none");
        row("empty", "", draw_a, 0, 0, "none");
        row("drawn number after the 14th character", "0102030420212207", draw_a, 4, 0, "none");

        // A number that stands more than once in a row counts once.
        row("05 seven times, 5 main", "05050505050505", draw_a, 1, 0, "none");
        row("05 seven times, 5 additional", "05050505050505", draw_b, 0, 1, "none");
        row("05, ' 5' and '5 ' are one number", "05 55 05 55 05", draw_a, 1, 0, "none");
        row("a repeat makes no 7", "01010203040506", draw_a, 6, 0, "6");
        row("a repeated additional counts once", "01020304080808", draw_a, 4, 1, "4+1");

        // Fields compare by value; those that hold no number match nothing.
        row("leading blanks", " 1 2 3 4 5 6 7", draw_a, 7, 0, "7");
        row("blank additional", "01020304 8 920", draw_a, 4, 2, "4+1");
        row("00 and blank fields", "0102030400  08", draw_a, 4, 1, "4+1");
        row("letters", "ab0102cd030420", draw_a, 4, 0, "none");
    }

    void count_and_classify()
    {
        QFETCH(QString, row);
        QFETCH(QString, draw);
        QFETCH(int, main);
        QFETCH(int, additional);
        QFETCH(QString, prize);

        const Hits hits = count_hits(row, draw);
        QCOMPARE(hits.main, main);
        QCOMPARE(hits.additional, additional);
        const char *const classes[] = {"none", "4+1", "5", "6", "6+1", "7"};
        QCOMPARE(QString::fromLatin1(classes[int(prize_class(hits))]), prize);
    }
};

QTEST_APPLESS_MAIN(TestHits)
#include "test_logic_hits.moc"
