// Thousands of seeded random sessions on the real form: scroll moves and
// clicks on whatever buttons are visible, in any order. After every event
// the draw, the list, the visible controls and the check results must agree
// with one another and with the numbers the test saw accepted.
//
// A failure names the sequence's seed; KOLMIRA_SEED=<seed> replays only it.
// KOLMIRA_SEQUENCES=<n> runs fewer, where every event is slow (under Wine).

#include "session.h"
#include "text/basic_text.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace
{

constexpr unsigned first_seed = 7001;
constexpr unsigned default_sequences = 2000;
constexpr int max_steps = 100;

struct Random {
    std::mt19937 engine;
    int below(int n) { return std::uniform_int_distribution(0, n - 1)(engine); }
    int number() { return 1 + below(35); }
};

// What the test itself knows of the session, from the events it sent.
struct Expected {
    QList<int> accepted; // distinct, 1 to 35: a repeat is refused
    bool checked = false;
    bool chart_shown = false;
    bool refusal_shown = false;
    int prompts = 0;
};

// Up to eight rows, each with 0 to 7 of the planned main numbers, some
// planned additional ones and otherwise any number, so that every prize
// class comes up; now and then a fractional count, a quoted row with a blank
// before a digit, a repeated number or a short row.
QByteArray random_row_file(Random &random, const QList<int> &planned)
{
    const int rows = random.below(9);
    QByteArray bytes = rows > 0 && random.below(6) == 0 ? QByteArray::number(rows - 1) + ".5"
                                                        : QByteArray::number(rows);
    for (int r = 0; r < rows; ++r) {
        QList<int> numbers = planned.first(7);
        std::shuffle(numbers.begin(), numbers.end(), random.engine);
        numbers.resize(random.below(8));
        while (numbers.size() < 7)
            numbers << (random.below(3) == 0 ? planned[7 + random.below(4)] : random.number());
        std::shuffle(numbers.begin(), numbers.end(), random.engine);

        const int shape = random.below(10);
        if (shape == 1)
            std::fill_n(numbers.begin() + 1, 3, numbers[0]);
        QByteArray row;
        for (const int n : numbers)
            row += QByteArray::number(n).rightJustified(2, shape == 2 ? ' ' : '0');
        if (shape == 2)
            row = '"' + row + '"';
        if (shape == 3)
            row.truncate(random.below(14));
        bytes += '\n' + (row.isEmpty() ? "\"\"" : row); // a blank line would hold no row
    }
    return bytes + '\n';
}

// The draw must be exactly the numbers accepted, in both texts and the list.
QString draw_fault(const Session &s, const Expected &expected)
{
    QString ratt_rad, inmatade, list;
    for (qsizetype k = 0; k < expected.accepted.size(); ++k) {
        const int n = expected.accepted[k];
        ratt_rad += QString::number(n).rightJustified(2);
        inmatade += QString::number(n).rightJustified(3);
        list += k < 7 ? QString::number(n).rightJustified(3)
                      : (k == 7 ? QStringLiteral("   Tillägg: ") : QStringLiteral(" ")) + Str(n);
    }
    const CheckState &state = s.state();
    const QString want = QStringLiteral("%1 [%2] [%3] [%4] chosen %5")
                             .arg(expected.accepted.size())
                             .arg(ratt_rad, inmatade, list, CStr(s.scroll()->value()));
    const QString got = QStringLiteral("%1 [%2] [%3] [%4] chosen %5")
                            .arg(state.antal_siffror)
                            .arg(state.ratt_rad, state.inmatade_siffror,
                                 s.caption("ratt_rad_inmatning_text"), s.caption("in_ratt_sif"));
    return got == want ? QString() : QStringLiteral("draw %1, expected %2").arg(got, want);
}

int prize_rows(const CheckState &state)
{
    return state.rader_4_1_ratt + state.rader_5_ratt + state.rader_6_ratt + state.rader_6_1_ratt +
           state.rader_7_ratt;
}

// The phase table: what is shown follows from the count, the check, the
// chart and whether a refusal is up.
QString visibility_fault(const Session &s, const Expected &expected)
{
    const bool complete = s.state().antal_siffror == 11;
    QStringList shown{"Command4", "Label2", "ratt_rad_inmatning_text"};
    if (!expected.checked && !complete)
        shown << "Command1"
              << "HScroll1"
              << "in_ratt_sif";
    if (!expected.checked)
        shown << "Command3";
    if (!expected.checked && complete)
        shown << "Command2";
    if (expected.checked)
        shown << "visa_antalet_ratt";
    if (expected.checked && prize_rows(s.state()) > 0)
        shown << "Command5";
    if (expected.refusal_shown)
        shown << "Label1";
    shown.sort();

    QStringList visible = s.visible_controls().split(u' ');
    if (expected.chart_shown) // the chart itself has tests of its own
        visible.removeIf([](const QString &name) { return name.mid(5).toInt() >= 3; });
    if (visible != shown)
        return QStringLiteral("shown: %1; expected: %2").arg(visible.join(u' '), shown.join(u' '));
    if (expected.refusal_shown &&
        s.caption("Label1") != QStringLiteral("Du har redan den siffran!"))
        return QStringLiteral("Label1 reads \"%1\"").arg(s.caption("Label1"));
    return {};
}

// One three-character entry per row; the tallies count the " ??" entries.
QString result_fault(const Session &s)
{
    const CheckState &state = s.state();
    const QString list = s.caption("visa_antalet_ratt");
    const int rows = row_count(state.sista_rad);
    if (list.size() != 3 * rows)
        return QStringLiteral("result list \"%1\" for %2 rows").arg(list).arg(rows);
    int prizes = 0;
    for (int i = 0; i < rows; ++i) {
        const QString entry = list.mid(3 * i, 3);
        prizes += entry == QStringLiteral(" ??");
        if (entry != QStringLiteral(" ??") &&
            (entry != u' ' + Str(state.antal_ratt[i]) || state.antal_ratt[i] > 4))
            return QStringLiteral("row %1 listed as \"%2\" with %3 hits")
                .arg(i)
                .arg(entry)
                .arg(state.antal_ratt[i]);
    }
    const QString report =
        prizes > 0 ? QStringLiteral("Du har %1 rader med bättre än 4+0 rätt!").arg(Str(prizes))
                   : QString();
    if (prize_rows(state) != prizes || s.caption("Label2") != report)
        return QStringLiteral("tallies sum to %1, the list has %2 \" ??\", Label2 reads \"%3\"")
            .arg(prize_rows(state))
            .arg(prizes)
            .arg(s.caption("Label2"));
    return {};
}

QString fault(const Session &s, const Expected &expected)
{
    const RecordingPlatform &platform = s.platform;
    if (!platform.errors.isEmpty())
        return QStringLiteral("an error was reported: ") + platform.errors.join(u'|');
    if (platform.prompts.size() != expected.prompts ||
        platform.prompts.count(
            QStringLiteral("Nu ska du ange första tilläggs siffran utav 4 st")) != expected.prompts)
        return QStringLiteral("prompts %1, %2 expected")
            .arg(platform.prompts.join(u'|'))
            .arg(expected.prompts);
    QString fault = draw_fault(s, expected);
    if (fault.isEmpty())
        fault = visibility_fault(s, expected);
    if (fault.isEmpty() && expected.checked)
        fault = result_fault(s);
    return fault;
}

// Runs one sequence on a fresh form; returns a fault, or an empty text.
QString run(unsigned seed)
{
    Random random{std::mt19937(seed)};
    // The draw the simulated user mostly aims at: eleven different numbers.
    QList<int> planned(35);
    std::iota(planned.begin(), planned.end(), 1);
    std::shuffle(planned.begin(), planned.end(), random.engine);
    planned.resize(11);

    Session s(random_row_file(random, planned));
    if (!s.start())
        return QStringLiteral("the row file did not load: ") + s.platform.errors.join(u'|');
    Expected expected;
    QString fault;
    s.platform.on_prompt = [&] {
        if (s.state().antal_siffror != 7)
            fault = QStringLiteral("a prompt at count %1").arg(s.state().antal_siffror);
    };

    QStringList events;
    for (int step = 0; step < max_steps && fault.isEmpty(); ++step) {
        // 0 moves the scroll bar, 1 to 5 click that button; only what is
        // shown can be used. "Ny rad" and "Avsluta" come up now and then.
        const int weights[] = {4, 3, 3, random.below(25) == 0, random.below(50) == 0, 3};
        QList<int> choices;
        for (int choice = 0; choice <= 5; ++choice) {
            const QByteArray name = "Command" + QByteArray::number(choice);
            if (choice == 0 ? s.scroll()->isVisible() : s.button(name)->isVisible())
                choices << QList<int>(weights[choice], choice);
        }
        if (choices.isEmpty())
            break;
        const int choice = choices[random.below(int(choices.size()))];

        const int value_before = s.scroll()->value();
        if (choice == 0) {
            const int how = random.below(16);
            const qsizetype next = expected.accepted.size();
            if (how < 6) {
                s.scroll()->triggerAction(QAbstractSlider::SliderAction(1 + how));
                events << QStringLiteral("scroll action %1").arg(1 + how);
            } else {
                s.choose(next < planned.size() && how < 14 ? planned[next] : random.number());
                events << QStringLiteral("scroll to %1").arg(s.scroll()->value());
            }
        } else {
            const QByteArray name = "Command" + QByteArray::number(choice);
            events << QString::fromLatin1(name);
            const int n = s.caption("in_ratt_sif").toInt();
            const bool refused = choice == 1 && expected.accepted.contains(n);
            if (choice == 1 && !refused)
                expected.accepted << n;
            const bool prompted = choice == 1 && expected.accepted.size() == 7;
            expected.prompts += prompted;
            const int end_requests = s.platform.end_requests;
            s.click(name.constData());
            if (s.platform.end_requests != end_requests + (choice == 4))
                fault = QStringLiteral("%1 end requests").arg(s.platform.end_requests);
            expected.checked |= choice == 2;
            expected.chart_shown |= choice == 5;
            if (choice == 3)
                expected.accepted.clear();
            if ((prompted || choice == 3) && s.scroll()->value() != 1)
                fault = QStringLiteral("the scroll bar is not back at 1");
            // A refusal shows Label1; "Rätta" and "Ny rad" hide it.
            expected.refusal_shown =
                refused || (expected.refusal_shown && choice != 2 && choice != 3);
        }
        if (s.scroll()->value() != value_before) // HScroll1_Change hides the refusal
            expected.refusal_shown = false;

        if (fault.isEmpty())
            fault = ::fault(s, expected);
        if (choice == 4)
            break; // the program would end here
    }
    return fault.isEmpty() ? fault
                           : fault + QStringLiteral(" after ") + events.join(", ").right(600);
}

} // namespace

class RandomSession : public QObject
{
    Q_OBJECT
private slots:
    void invariants_hold()
    {
        bool one = false;
        const unsigned only = qEnvironmentVariable("KOLMIRA_SEED").toUInt(&one);
        bool fewer = false;
        unsigned sequences = qEnvironmentVariable("KOLMIRA_SEQUENCES").toUInt(&fewer);
        if (!fewer)
            sequences = default_sequences;
        QVERIFY2(sequences > 0, "KOLMIRA_SEQUENCES=0 runs nothing");
        for (unsigned seed = one ? only : first_seed;
             seed <= (one ? only : first_seed + sequences - 1); ++seed) {
            const QString fault = run(seed);
            QVERIFY2(fault.isEmpty(),
                     qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(fault)));
        }
    }
};

QTEST_MAIN(RandomSession)
#include "test_random_session.moc"
