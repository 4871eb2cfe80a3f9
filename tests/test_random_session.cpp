// Thousands of seeded random sessions on the real form: scroll moves and
// clicks on whatever buttons are visible, in any order. After every event
// the draw, the list, the visible controls and the check results must agree
// with one another and with the numbers actually accepted.
//
// A failure names the sequence's seed; KOLMIRA_SEED=<seed> replays only it.

#include "form/kolmira.h"
#include "form/row_file.h"
#include "recording_platform.h"
#include "test_support.h"
#include "text/basic_text.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>

namespace
{

const QString prompt_text = QStringLiteral("Nu ska du ange första tilläggs siffran utav 4 st");
const QString repeated_text = QStringLiteral("Du har redan den siffran!");
constexpr unsigned first_seed = 7001;
constexpr int sequences = 2000;
constexpr int max_steps = 100;

// What the test itself knows of the session, from the events it sent.
struct Expected {
    QList<int> accepted;
    bool checked = false;
    bool chart_shown = false;
    int prompts = 0;
};

int pick_number(std::mt19937 &random)
{
    return std::uniform_int_distribution(1, 35)(random);
}

// The draw that the simulated user mostly aims at: eleven different numbers,
// the first seven main. Rows are made from it so that every prize class
// comes up, even though the session may wander off and enter other numbers.
QList<int> plan_draw(std::mt19937 &random)
{
    QList<int> numbers(35);
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    return numbers.first(11);
}

// Up to eight rows, each with 0 to 7 of the planned main numbers, some
// planned additional ones and otherwise any number; now and then a
// fractional count, a quoted row with a blank before a digit, a repeated
// number or a short row.
QByteArray random_row_file(std::mt19937 &random, const QList<int> &planned)
{
    const auto below = [&](int n) { return std::uniform_int_distribution(0, n - 1)(random); };
    const int rows = below(9);
    QByteArray bytes = QByteArray::number(rows);
    if (rows > 0 && below(6) == 0)
        bytes = QByteArray::number(rows - 1) + ".5";
    bytes += '\n';
    for (int r = 0; r < rows; ++r) {
        QList<int> main = planned.first(7);
        std::shuffle(main.begin(), main.end(), random);
        QList<int> numbers = main.first(below(8));
        while (numbers.size() < 7)
            numbers << (below(3) == 0 ? planned[7 + below(4)] : pick_number(random));
        std::shuffle(numbers.begin(), numbers.end(), random);

        const int shape = below(10);
        if (shape == 1)
            std::fill_n(numbers.begin() + 1, 3, numbers[0]);
        QByteArray row;
        for (const int n : numbers)
            row += QByteArray::number(n).rightJustified(2, shape == 2 ? ' ' : '0');
        if (shape == 2)
            row = '"' + row + '"';
        if (shape == 3)
            row.truncate(below(14));
        if (row.isEmpty())
            row = "\"\""; // a blank line would hold no row at all
        bytes += row + '\n';
    }
    return bytes;
}

class Session
{
public:
    explicit Session(Kolmira &form) : form_(form)
    {
        for (const char *name : {"Command1", "Command2", "Command3", "Command4", "Command5"})
            buttons_.append(form.findChild<QPushButton *>(name));
        scroll_ = form.findChild<QScrollBar *>("HScroll1");
        in_ratt_sif_ = form.findChild<QLabel *>("in_ratt_sif");
        label1_ = form.findChild<QLabel *>("Label1");
        label2_ = form.findChild<QLabel *>("Label2");
        list_ = form.findChild<QLabel *>("ratt_rad_inmatning_text");
        results_ = form.findChild<QLabel *>("visa_antalet_ratt");
        for (int n = 3; n <= 12; ++n)
            chart_.append(form.findChild<QLabel *>(QStringLiteral("Label%1").arg(n)));
    }

    QPushButton *button(int number) const { return buttons_[number - 1]; }
    QScrollBar *scroll() const { return scroll_; }
    QLabel *label1() const { return label1_; }
    QString chosen() const { return in_ratt_sif_->text(); }

    // Empty when everything holds, else what does not.
    QString fault(const Expected &expected, const RecordingPlatform &platform) const;

private:
    QString draw_fault(const Expected &expected) const;
    QString visibility_fault(const Expected &expected) const;
    QString result_fault() const;

    Kolmira &form_;
    QList<QPushButton *> buttons_;
    QScrollBar *scroll_;
    QLabel *in_ratt_sif_;
    QLabel *label1_;
    QLabel *label2_;
    QLabel *list_;
    QLabel *results_;
    QList<QLabel *> chart_;
};

QString Session::draw_fault(const Expected &expected) const
{
    const CheckState &state = form_.check_state();
    const int count = state.antal_siffror;
    if (count != expected.accepted.size())
        return QStringLiteral("antal_siffror is %1, %2 numbers were accepted")
            .arg(count)
            .arg(expected.accepted.size());
    if (state.ratt_rad.size() != 2 * count || state.inmatade_siffror.size() != 3 * count)
        return QStringLiteral("ratt_rad \"%1\" and inmatade_siffror \"%2\" for %3 numbers")
            .arg(state.ratt_rad, state.inmatade_siffror)
            .arg(count);

    QList<int> numbers;
    for (int k = 0; k < count; ++k) {
        const double n = Val(sub_text(state.inmatade_siffror, 3 * k + 1, 3));
        if (Val(sub_text(state.ratt_rad, 2 * k + 1, 2)) != n)
            return QStringLiteral("number %1 differs between ratt_rad and inmatade_siffror")
                .arg(k + 1);
        if (n < 1 || n > 35 || n != int(n) || numbers.contains(int(n)))
            return QStringLiteral("number %1 of the draw is %2").arg(k + 1).arg(n);
        numbers.append(int(n));
    }
    if (!std::ranges::equal(numbers, expected.accepted))
        return QStringLiteral("the draw is not the numbers accepted");

    QString list = state.inmatade_siffror.left(21);
    for (int k = 7; k < count; ++k)
        list += (k == 7 ? QStringLiteral("   Tillägg: ") : QStringLiteral(" ")) + Str(numbers[k]);
    if (list_->text() != list)
        return QStringLiteral("the list shows \"%1\", expected \"%2\"").arg(list_->text(), list);
    if (chosen() != CStr(scroll_->value()))
        return QStringLiteral("in_ratt_sif shows \"%1\" at scroll value %2")
            .arg(chosen())
            .arg(scroll_->value());
    return {};
}

QString Session::visibility_fault(const Expected &expected) const
{
    const CheckState &state = form_.check_state();
    const int prize_rows = state.rader_4_1_ratt + state.rader_5_ratt + state.rader_6_ratt +
                           state.rader_6_1_ratt + state.rader_7_ratt;
    const bool complete = state.antal_siffror == 11;
    const bool entry = !expected.checked && !complete;
    const struct {
        const QWidget *control;
        bool shown;
    } table[] = {
        {buttons_[0], entry},
        {buttons_[1], !expected.checked && complete},
        {buttons_[2], !expected.checked},
        {buttons_[3], true},
        {buttons_[4], expected.checked && prize_rows > 0},
        {scroll_, entry},
        {in_ratt_sif_, entry},
        {results_, expected.checked},
        {label2_, true},
        {list_, true},
    };
    for (const auto &row : table) {
        if (row.control->isVisible() != row.shown)
            return QStringLiteral("%1 is %2")
                .arg(row.control->objectName(), row.shown ? "hidden" : "shown");
    }
    for (const QLabel *label : chart_) {
        if (!expected.chart_shown && label->isVisible())
            return label->objectName() + QStringLiteral(" is shown before the chart");
    }
    if (label1_->isVisible() && label1_->text() != repeated_text)
        return QStringLiteral("Label1 shows \"%1\"").arg(label1_->text());
    return {};
}

QString Session::result_fault() const
{
    const CheckState &state = form_.check_state();
    const QString list = results_->text();
    const int rows = row_count(state.sista_rad);
    if (list.size() != 3 * rows)
        return QStringLiteral("result list \"%1\" for %2 rows").arg(list).arg(rows);
    int prize_entries = 0;
    for (int i = 0; i < rows; ++i) {
        const QString entry = list.mid(3 * i, 3);
        if (entry == QStringLiteral(" ??"))
            ++prize_entries;
        else if (entry != QLatin1Char(' ') + Str(state.antal_ratt[i]) || state.antal_ratt[i] > 4)
            return QStringLiteral("row %1 is listed as \"%2\" with %3 hits")
                .arg(i)
                .arg(entry)
                .arg(state.antal_ratt[i]);
    }
    const int prize_rows = state.rader_4_1_ratt + state.rader_5_ratt + state.rader_6_ratt +
                           state.rader_6_1_ratt + state.rader_7_ratt;
    if (prize_rows != prize_entries)
        return QStringLiteral("tallies sum to %1, the list has %2 \" ??\"")
            .arg(prize_rows)
            .arg(prize_entries);
    const QString report = prize_rows > 0 ? QStringLiteral("Du har ") + Str(prize_rows) +
                                                QStringLiteral(" rader med bättre än 4+0 rätt!")
                                          : QString();
    if (label2_->text() != report)
        return QStringLiteral("Label2 reads \"%1\"").arg(label2_->text());
    return {};
}

QString Session::fault(const Expected &expected, const RecordingPlatform &platform) const
{
    if (!platform.errors.isEmpty())
        return QStringLiteral("an error was reported: ") + platform.errors.join(u'|');
    if (platform.prompts.size() != expected.prompts)
        return QStringLiteral("%1 prompts shown, %2 expected")
            .arg(platform.prompts.size())
            .arg(expected.prompts);
    if (!platform.prompts.isEmpty() && platform.prompts.back() != prompt_text)
        return QStringLiteral("prompt \"%1\"").arg(platform.prompts.back());
    if (QString fault = draw_fault(expected); !fault.isEmpty())
        return fault;
    if (QString fault = visibility_fault(expected); !fault.isEmpty())
        return fault;
    return expected.checked ? result_fault() : QString();
}

void click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace

class RandomSession : public QObject
{
    Q_OBJECT

private slots:
    void invariants_hold();

private:
    // Runs one sequence on a fresh form; returns a fault, or an empty text.
    QString run(unsigned seed, const QString &folder);
};

QString RandomSession::run(unsigned seed, const QString &folder)
{
    std::mt19937 random(seed);
    const QList<int> planned = plan_draw(random);
    if (!write_file(folder, row_file_name, random_row_file(random, planned)))
        return QStringLiteral("could not write the row file");

    RecordingPlatform platform;
    Kolmira form(platform);
    if (!form.Form_Load())
        return QStringLiteral("the row file did not load: ") + platform.errors.join(u'|');
    form.show();
    Session session(form);
    Expected expected;
    QString during_prompt;
    platform.on_prompt = [&] {
        if (form.check_state().antal_siffror != 7)
            during_prompt =
                QStringLiteral("a prompt at count %1").arg(form.check_state().antal_siffror);
    };

    QStringList events;
    for (int step = 0; step < max_steps; ++step) {
        // 0 moves the scroll bar, 1 to 5 click that button; only what is
        // shown can be used. "Ny rad" and "Avsluta" come up now and then.
        QList<int> choices;
        const auto offer = [&](int choice, int weight) {
            const QWidget *control =
                choice == 0 ? static_cast<QWidget *>(session.scroll()) : session.button(choice);
            if (control->isVisible())
                choices << QList<int>(weight, choice);
        };
        offer(0, 4);
        offer(1, 3);
        offer(2, 3);
        offer(5, 3);
        if (std::uniform_int_distribution(0, 24)(random) == 0)
            offer(3, 1);
        if (std::uniform_int_distribution(0, 49)(random) == 0)
            offer(4, 1);
        if (choices.isEmpty())
            break;
        const int choice =
            choices[std::uniform_int_distribution<qsizetype>(0, choices.size() - 1)(random)];

        const int value_before = session.scroll()->value();
        const bool label1_before = session.label1()->isVisible();
        bool changes_value = false;
        bool refused = false;
        if (choice == 0) {
            const int how = std::uniform_int_distribution(0, 15)(random);
            static constexpr QAbstractSlider::SliderAction actions[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            if (how < 6) {
                session.scroll()->triggerAction(actions[how]);
                events << QStringLiteral("scroll action %1").arg(how);
            } else {
                const qsizetype next = expected.accepted.size();
                const int n =
                    next < planned.size() && how < 14 ? planned[next] : pick_number(random);
                session.scroll()->setValue(n);
                events << QStringLiteral("scroll to %1").arg(n);
            }
            changes_value = session.scroll()->value() != value_before;
        } else {
            events << session.button(choice)->objectName();
            if (choice == 1) {
                const int n = session.chosen().toInt();
                refused = expected.accepted.contains(n);
                if (!refused)
                    expected.accepted.append(n);
                if (expected.accepted.size() == 7) {
                    ++expected.prompts;
                    changes_value = value_before != 1;
                }
            }
            const int end_requests = platform.end_requests;
            click(session.button(choice));
            if (choice == 2)
                expected.checked = true;
            if (choice == 3) {
                expected.accepted.clear();
                changes_value = value_before != 1;
            }
            if (choice == 5)
                expected.chart_shown = true;
            if (platform.end_requests != end_requests + (choice == 4 ? 1 : 0))
                return QStringLiteral("%1 end requests after %2")
                    .arg(platform.end_requests)
                    .arg(events.join(QStringLiteral(", ")));
        }

        QString fault = during_prompt;
        if (fault.isEmpty())
            fault = session.fault(expected, platform);
        // Label1 hides when the value changes, by "Ny rad" and "Rätta"; a
        // refusal shows it; anything else leaves it alone.
        const bool label1_after = changes_value || choice == 2 || choice == 3 ? false
                                  : refused                                   ? true
                                                                              : label1_before;
        if (fault.isEmpty() && session.label1()->isVisible() != label1_after)
            fault = QStringLiteral("Label1 is %1").arg(label1_after ? "hidden" : "shown");
        if (!fault.isEmpty())
            return fault + QStringLiteral(" after ") + events.join(QStringLiteral(", ")).right(600);
        if (choice == 4)
            break; // the program would end here
    }
    return {};
}

void RandomSession::invariants_hold()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));

    bool ok = false;
    const unsigned only = qEnvironmentVariable("KOLMIRA_SEED").toUInt(&ok);
    const unsigned first = ok ? only : first_seed;
    const unsigned last = ok ? only : first_seed + sequences - 1;
    for (unsigned seed = first; seed <= last; ++seed) {
        const QString fault = run(seed, folder.path());
        if (!fault.isEmpty())
            QDir::setCurrent(previous);
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(fault)));
    }
    QDir::setCurrent(previous);
}

QTEST_MAIN(RandomSession)
#include "test_random_session.moc"
