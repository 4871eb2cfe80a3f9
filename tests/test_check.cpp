// "Rätta" and the prize chart, driven through the real widgets: load a row
// file, enter the draw with the scroll bar and "Välj siffran", check, chart.

#include "session.h"

#include <array>

namespace
{

using Tallies = QList<int>; // 4+1, 5, 6, 6+1, 7

// One row of each prize class against the draw 1..7 + 8..11, lowest class first.
const std::array<QByteArray, 5> class_rows{"01020304081213", "01020304052021", "01020304050621",
                                           "01020304050608", "01020304050607"};
const QByteArray losing_row = "20212223242526";

const char *const bar_names[] = {"Label3", "Label5", "Label7", "Label9", "Label11"};
const char *const text_names[] = {"Label4", "Label6", "Label8", "Label10", "Label12"};

QByteArray row_file(const QList<QByteArray> &rows, const QByteArray &count = {})
{
    return (count.isNull() ? QByteArray::number(rows.size()) : count) + "\r\n" + rows.join("\r\n") +
           "\r\n";
}

// Rows that give the tallies, best class first and losing rows in between,
// so that no class stands in chart order.
QByteArray rows_for(const Tallies &tallies)
{
    QList<QByteArray> rows{losing_row};
    for (int k = 4; k >= 0; --k) {
        rows << QList<QByteArray>(tallies[k], class_rows[k]);
        if (k == 2)
            rows << losing_row;
    }
    return row_file(rows);
}

Tallies tallies_of(const CheckState &state)
{
    return {state.rader_4_1_ratt, state.rader_5_ratt, state.rader_6_ratt, state.rader_6_1_ratt,
            state.rader_7_ratt};
}

void start_and_check(Session &s)
{
    QVERIFY(s.start());
    s.enter_draw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    s.click("Command2");
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
private slots:
    void check_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("report");
        QTest::addColumn<Tallies>("tallies");

        const QString one_won = QStringLiteral("Du har  1 rader med bättre än 4+0 rätt!");
        QTest::newRow("four-row example")
            << row_file({"01020304050607", "01020304081213", "01020304121314", losing_row})
            << " ?? ??  4  0"
            << "Du har  2 rader med bättre än 4+0 rätt!" << Tallies{1, 0, 0, 0, 1};
        QTest::newRow("no prize row") << row_file({"01020304121314", "01020320212223", losing_row})
                                      << "  4  3  0" << QString() << Tallies{0, 0, 0, 0, 0};
        QTest::newRow("no rows") << row_file({}, "0") << QString() << QString()
                                 << Tallies{0, 0, 0, 0, 0};
        QTest::newRow("count 2.5 checks two rows")
            << row_file({class_rows[4], losing_row, class_rows[4]}, "2.5") << " ??  0" << one_won
            << Tallies{0, 0, 0, 0, 1};
        QTest::newRow("41 rows") << row_file(QList<QByteArray>(40, losing_row) << class_rows[3])
                                 << QString("  0").repeated(40) + " ??" << one_won
                                 << Tallies{0, 0, 0, 1, 0};
        QTest::newRow("repeated 5 counts once")
            << row_file({"05050505050505"}) << "  1" << QString() << Tallies{0, 0, 0, 0, 0};
    }

    void check()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, list);
        QFETCH(QString, report);
        QFETCH(Tallies, tallies);

        Session s(file);
        start_and_check(s);
        QCOMPARE(s.caption("visa_antalet_ratt"), list);
        QCOMPARE(s.caption("Label2"), report);
        QCOMPARE(tallies_of(s.state()), tallies);
        // The entry is closed for good; the chart button comes only after a win.
        QCOMPARE(s.visible_controls(),
                 QString(report.isEmpty() ? "Command4" : "Command4 Command5") +
                     " Label2 ratt_rad_inmatning_text visa_antalet_ratt");
    }

    void chart_data()
    {
        QTest::addColumn<Tallies>("tallies");
        QTest::addColumn<int>("bars");
        QTest::addColumn<QStringList>("texts"); // Label4 .. Label12; empty: stays hidden

        QTest::newRow("4+1") << Tallies{1, 0, 0, 0, 0} << 1
                             << QStringList{"4+1 rätt  1 st", "", "", "", ""};
        QTest::newRow("4+1 and 6") << Tallies{1, 0, 1, 0, 0} << 3
                                   << QStringList{"4+1 rätt  1 st", "", "6 rätt  1 st", "", ""};
        QTest::newRow("5 and 6+1") << Tallies{0, 2, 0, 1, 0} << 4
                                   << QStringList{"", "5 rätt  2 st", "", "6+1 rätt  1 st", ""};
        QTest::newRow("two 7") << Tallies{0, 0, 0, 0, 2} << 5
                               << QStringList{"", "", "", "", "7 rätt !!!!"};
        QTest::newRow("every class")
            << Tallies{3, 1, 1, 1, 1} << 5
            << QStringList{"4+1 rätt  3 st", "5 rätt  1 st", "6 rätt  1 st", "6+1 rätt  1 st",
                           "7 rätt !!!!"};
        QTest::newRow("twelve 4+1")
            << Tallies{12, 0, 0, 0, 0} << 1 << QStringList{"4+1 rätt  12 st", "", "", "", ""};
    }

    void chart()
    {
        QFETCH(Tallies, tallies);
        QFETCH(int, bars);
        QFETCH(QStringList, texts);

        Session s(rows_for(tallies));
        start_and_check(s);
        QCOMPARE(tallies_of(s.state()), tallies);
        for (int click = 1; click <= 2; ++click) { // the second click changes nothing
            s.click("Command5");
            for (int k = 0; k < 5; ++k) {
                QVERIFY2(s.label(bar_names[k])->isVisible() == (k < bars), bar_names[k]);
                QCOMPARE(s.caption(bar_names[k]), QString());
                QCOMPARE(s.caption(text_names[k]), texts[k]);
                QVERIFY2(s.label(text_names[k])->isVisible() == !texts[k].isEmpty(), text_names[k]);
            }
        }
    }
};

QTEST_MAIN(TestCheck)
#include "test_check.moc"
