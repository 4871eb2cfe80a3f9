// "Rätta" and the prize chart, driven through the real widgets: load a row
// file, enter the draw with the scroll bar and "Välj siffran", check, chart.

#include "form/kolmira.h"
#include "recording_platform.h"
#include "test_support.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

namespace
{

using Numbers = QList<int>;
using Tallies = QList<int>; // 4+1, 5, 6, 6+1, 7

const Numbers draw_1_to_11{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// One row of each prize class against the draw 1..7 + 8..11, lowest class first.
const std::array<QByteArray, 5> class_rows{"01020304081213", "01020304052021", "01020304050621",
                                           "01020304050608", "01020304050607"};
const QByteArray losing_row = "20212223242526";

const char *const bar_names[] = {"Label3", "Label5", "Label7", "Label9", "Label11"};
const char *const text_names[] = {"Label4", "Label6", "Label8", "Label10", "Label12"};

QByteArray row_file(const QByteArray &count, const QList<QByteArray> &rows)
{
    QByteArray bytes = count + "\r\n";
    for (const QByteArray &row : rows)
        bytes += row + "\r\n";
    return bytes;
}

QByteArray row_file(const QList<QByteArray> &rows)
{
    return row_file(QByteArray::number(rows.size()), rows);
}

// Rows that give the tallies, best class first and a losing row in between,
// so that the classes do not stand in chart order.
QList<QByteArray> rows_for(const Tallies &tallies)
{
    QList<QByteArray> rows{losing_row};
    for (int k = 4; k >= 0; --k) {
        for (int n = 0; n < tallies[k]; ++n)
            rows << class_rows[k];
        if (k == 2)
            rows << losing_row;
    }
    return rows;
}

class Form
{
public:
    explicit Form(const QByteArray &file_bytes)
    {
        QVERIFY(folder.isValid());
        QVERIFY(write_file(folder.path(), QStringLiteral("kolmira_fam.txt"), file_bytes));
        QVERIFY(QDir::setCurrent(folder.path()));
        form = std::make_unique<Kolmira>(platform);
        QVERIFY(form->Form_Load());
        QVERIFY(platform.errors.isEmpty());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        loaded = true;
    }

    template <typename T> T *control(const char *name) const
    {
        auto *widget = form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QLabel *label(const char *name) const { return control<QLabel>(name); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }

    // Only what the user could click: a hidden button fails the test.
    void click(const char *name) const
    {
        QPushButton *target = button(name);
        QVERIFY2(target->isVisible(), name);
        QTest::mouseClick(target, Qt::LeftButton);
    }

    void enter_draw(const Numbers &numbers) const
    {
        for (int n : numbers) {
            control<QScrollBar>("HScroll1")->setValue(n);
            click("Command1");
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(button("Command2")->isVisible());
    }

    QTemporaryDir folder;
    RecordingPlatform platform;
    std::unique_ptr<Kolmira> form;
    bool loaded = false;
};

Tallies tallies_of(const CheckState &state)
{
    return {state.rader_4_1_ratt, state.rader_5_ratt, state.rader_6_ratt, state.rader_6_1_ratt,
            state.rader_7_ratt};
}

// Everything the chart can change, to compare one click with the next.
QStringList chart_snapshot(const Form &form)
{
    QStringList snapshot;
    for (int k = 3; k <= 12; ++k) {
        const QByteArray name = "Label" + QByteArray::number(k);
        const QLabel *label = form.label(name.constData());
        snapshot << QString::fromLatin1(name) +
                        (label->isVisible() ? QStringLiteral(" shown [")
                                            : QStringLiteral(" hidden [")) +
                        label->text() + QLatin1Char(']');
    }
    return snapshot;
}

} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
private slots:
    void check_data();
    void check();
    void four_row_example_counts();
    void chart_data();
    void chart();
    void chart_is_a_stepped_column();
};

void TestCheck::check_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Numbers>("draw");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("report");
    QTest::addColumn<Tallies>("tallies");

    QTest::newRow("four-row example")
        << row_file({"01020304050607", "01020304081213", "01020304121314", "20212223242526"})
        << draw_1_to_11 << " ?? ??  4  0"
        << "Du har  2 rader med bättre än 4+0 rätt!" << Tallies{1, 0, 0, 0, 1};
    QTest::newRow("no prize row") << row_file(
                                         {"01020304121314", "01020320212223", "20212223242526"})
                                  << draw_1_to_11 << "  4  3  0"
                                  << "" << Tallies{0, 0, 0, 0, 0};
    QTest::newRow("no rows") << row_file("0", {}) << draw_1_to_11 << ""
                             << "" << Tallies{0, 0, 0, 0, 0};
    QTest::newRow("count 2.5 checks two rows")
        << row_file("2.5", {"01020304050607", "20212223242526", "01020304050607"}) << draw_1_to_11
        << " ??  0"
        << "Du har  1 rader med bättre än 4+0 rätt!" << Tallies{0, 0, 0, 0, 1};
    QTest::newRow("one prize row")
        << row_file({"20212223242526", "01020304052021"}) << draw_1_to_11 << "  0 ??"
        << "Du har  1 rader med bättre än 4+0 rätt!" << Tallies{0, 1, 0, 0, 0};
    QTest::newRow("twelve prize rows")
        << row_file(QList<QByteArray>(12, class_rows[0]) << losing_row) << draw_1_to_11
        << QString(" ??").repeated(12) + "  0"
        << "Du har  12 rader med bättre än 4+0 rätt!" << Tallies{12, 0, 0, 0, 0};
    QTest::newRow("41 rows") << row_file(QList<QByteArray>(40, losing_row) << class_rows[3])
                             << draw_1_to_11 << QString("  0").repeated(40) + " ??"
                             << "Du har  1 rader med bättre än 4+0 rätt!" << Tallies{0, 0, 0, 1, 0};
    QTest::newRow("repeated 5, a main number")
        << row_file({"05050505050505"}) << draw_1_to_11 << "  1"
        << "" << Tallies{0, 0, 0, 0, 0};
    QTest::newRow("repeated 5, an additional number")
        << row_file({"05050505050505"}) << Numbers{1, 2, 3, 4, 6, 7, 8, 5, 9, 10, 11} << "  0"
        << "" << Tallies{0, 0, 0, 0, 0};
    QTest::newRow("fields with blanks, other draw")
        << row_file({"\"35 5 9 1 212 3\"", "\"3530 1 5 92820\""})
        << Numbers{35, 5, 9, 1, 2, 12, 20, 3, 30, 28, 17} << " ?? ??"
        << "Du har  2 rader med bättre än 4+0 rätt!" << Tallies{0, 1, 0, 1, 0};
}

void TestCheck::check()
{
    QFETCH(QByteArray, file);
    QFETCH(Numbers, draw);
    QFETCH(QString, list);
    QFETCH(QString, report);
    QFETCH(Tallies, tallies);

    Form form(file);
    QVERIFY(form.loaded);
    form.enter_draw(draw);
    if (QTest::currentTestFailed())
        return;
    form.click("Command2");

    QCOMPARE(form.label("visa_antalet_ratt")->text(), list);
    QCOMPARE(form.label("Label2")->text(), report);
    QCOMPARE(tallies_of(form.form->check_state()), tallies);
    QCOMPARE(form.button("Command5")->isVisible(), !report.isEmpty());

    // The entry is closed for good; only the result list, the report and
    // "Avsluta" (and the chart button after a win) are left.
    for (const char *name : {"HScroll1", "in_ratt_sif", "Label1", "Command1", "Command2",
                             "Command3", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8",
                             "Label9", "Label10", "Label11", "Label12"})
        QVERIFY2(!form.control<QWidget>(name)->isVisible(), name);
    for (const char *name : {"visa_antalet_ratt", "Label2", "Command4", "ratt_rad_inmatning_text"})
        QVERIFY2(form.control<QWidget>(name)->isVisible(), name);
}

void TestCheck::four_row_example_counts()
{
    Form form(row_file({"01020304050607", "01020304081213", "01020304121314", "20212223242526"}));
    QVERIFY(form.loaded);
    form.enter_draw(draw_1_to_11);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(form.form->check_state().ratt_rad, " 1 2 3 4 5 6 7 8 91011");
    form.click("Command2");

    const CheckState &state = form.form->check_state();
    QCOMPARE(QList<int>(state.antal_ratt.begin(), state.antal_ratt.begin() + 5),
             (QList<int>{7, 4, 4, 0, 0}));
    QCOMPARE(QList<int>(state.antal_tillagg.begin(), state.antal_tillagg.begin() + 5),
             (QList<int>{0, 1, 0, 0, 0}));
}

void TestCheck::chart_data()
{
    QTest::addColumn<Tallies>("tallies");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QStringList>("texts"); // Label4 .. Label12; empty: stays hidden

    QTest::newRow("4+1 only") << Tallies{1, 0, 0, 0, 0} << 1
                              << QStringList{"4+1 rätt  1 st", "", "", "", ""};
    QTest::newRow("4+1 and 6") << Tallies{1, 0, 1, 0, 0} << 3
                               << QStringList{"4+1 rätt  1 st", "", "6 rätt  1 st", "", ""};
    QTest::newRow("5 and 6+1") << Tallies{0, 2, 0, 1, 0} << 4
                               << QStringList{"", "5 rätt  2 st", "", "6+1 rätt  1 st", ""};
    QTest::newRow("two 7") << Tallies{0, 0, 0, 0, 2} << 5
                           << QStringList{"", "", "", "", "7 rätt !!!!"};
    QTest::newRow("every class") << Tallies{3, 1, 1, 1, 1} << 5
                                 << QStringList{"4+1 rätt  3 st", "5 rätt  1 st", "6 rätt  1 st",
                                                "6+1 rätt  1 st", "7 rätt !!!!"};
    QTest::newRow("twelve 4+1") << Tallies{12, 0, 0, 0, 0} << 1
                                << QStringList{"4+1 rätt  12 st", "", "", "", ""};
    QTest::newRow("6 only") << Tallies{0, 0, 1, 0, 0} << 3
                            << QStringList{"", "", "6 rätt  1 st", "", ""};
}

void TestCheck::chart()
{
    QFETCH(Tallies, tallies);
    QFETCH(int, bars);
    QFETCH(QStringList, texts);

    Form form(row_file(rows_for(tallies)));
    QVERIFY(form.loaded);
    form.enter_draw(draw_1_to_11);
    if (QTest::currentTestFailed())
        return;
    form.click("Command2");
    QCOMPARE(tallies_of(form.form->check_state()), tallies);
    const QString list = form.label("visa_antalet_ratt")->text();
    const QString report = form.label("Label2")->text();

    form.click("Command5");
    for (int k = 0; k < 5; ++k) {
        const QLabel *bar = form.label(bar_names[k]);
        QVERIFY2(bar->isVisible() == (k < bars), bar_names[k]);
        QVERIFY2(bar->text().isEmpty(), bar_names[k]);
        const QLabel *text = form.label(text_names[k]);
        QCOMPARE(text->text(), texts[k]);
        QVERIFY2(text->isVisible() == !texts[k].isEmpty(), text_names[k]);
    }

    const QStringList first = chart_snapshot(form);
    form.click("Command5");
    form.click("Command5");
    QCOMPARE(chart_snapshot(form), first);
    QCOMPARE(form.label("visa_antalet_ratt")->text(), list);
    QCOMPARE(form.label("Label2")->text(), report);
    QVERIFY(form.button("Command5")->isVisible());
    QVERIFY(form.button("Command4")->isVisible());
}

void TestCheck::chart_is_a_stepped_column()
{
    Form form(row_file(rows_for({1, 1, 1, 1, 1})));
    QVERIFY(form.loaded);
    form.enter_draw(draw_1_to_11);
    if (QTest::currentTestFailed())
        return;
    form.click("Command2");
    form.click("Command5");

    const QImage screen = form.form->grab().toImage();
    int last_lightness = 256;
    for (int k = 0; k < 5; ++k) {
        const QRect bar = form.label(bar_names[k])->geometry();
        const QRect text = form.label(text_names[k])->geometry();
        const QRect below = k > 0 ? form.label(bar_names[k - 1])->geometry() : QRect();
        const QByteArray what = bar_names[k];

        // One column: same left edge and width, each bar on the one below.
        if (k > 0) {
            QVERIFY2(bar.left() == below.left() && bar.width() == below.width(), what);
            QVERIFY2(qAbs(bar.bottom() + 1 - below.top()) <= 1, what);
        }
        // The class text stands right beside its bar, on the bar's row.
        QVERIFY2(qAbs(text.left() - (bar.right() + 1)) <= 1, what);
        QVERIFY2(text.top() == bar.top(), what);

        // Drawn in its own colour, darker than every bar below it.
        const QColor drawn = screen.pixelColor(bar.center() * screen.devicePixelRatio());
        QCOMPARE(drawn, form.label(bar_names[k])->palette().color(QPalette::Window));
        QVERIFY2(drawn.lightness() < last_lightness, what);
        last_lightness = drawn.lightness();
    }
}

QTEST_MAIN(TestCheck)
#include "test_check.moc"
