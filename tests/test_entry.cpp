// Entering the draw with the real widgets: choosing, accepting and refusing
// numbers, the prompt for the additional numbers, "Ny rad" and "Avsluta".

#include "form/kolmira.h"
#include "recording_platform.h"
#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Numbers = QList<int>;

namespace
{

const QString prompt_text = QStringLiteral("Nu ska du ange första tilläggs siffran utav 4 st");
const QString repeat_text = QStringLiteral("Du har redan den siffran!");

// Every visible control, sorted by name, in the two phases of the entry.
const QStringList entry_phase =
    QString("Command1 Command3 Command4 HScroll1 Label2 in_ratt_sif ratt_rad_inmatning_text")
        .split(' ');
const QStringList full_phase =
    QString("Command2 Command3 Command4 Label2 ratt_rad_inmatning_text").split(' ');

// One loaded and shown form whose message box and program end are recorded.
struct Session {
    QTemporaryDir folder;
    RecordingPlatform platform;
    Kolmira form{platform};
    QScrollBar *scroll = form.findChild<QScrollBar *>("HScroll1");
    QLabel *chosen = form.findChild<QLabel *>("in_ratt_sif");
    QLabel *list = form.findChild<QLabel *>("ratt_rad_inmatning_text");
    QLabel *message = form.findChild<QLabel *>("Label1");

    Session()
    {
        write_file(folder.path(), "kolmira_fam.txt", "2\n01051217243035\n02081119263133\n");
        QDir::setCurrent(folder.path());
        if (!form.Form_Load())
            qFatal("the row file did not load");
        form.show();
    }
    const CheckState &state() const { return form.check_state(); }
    void click(const char *name)
    {
        QTest::mouseClick(form.findChild<QPushButton *>(name), Qt::LeftButton);
    }
    void enter(int n)
    {
        scroll->setValue(n);
        click("Command1");
    }
    void enter(const Numbers &numbers)
    {
        for (int n : numbers)
            enter(n);
    }
    QStringList visible() const
    {
        QStringList names;
        for (QWidget *w : form.findChildren<QWidget *>())
            if (w->isVisible())
                names.append(w->objectName());
        names.sort();
        return names;
    }
};

Numbers one_to(int last)
{
    Numbers numbers;
    for (int n = 1; n <= last; ++n)
        numbers.append(n);
    return numbers;
}

} // namespace

class EntryTest : public QObject
{
    Q_OBJECT
private slots:
    void draw_data()
    {
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("ratt_rad");
        QTest::addColumn<QString>("inmatade");

        QTest::newRow("1 to 11") << one_to(11) << "  1  2  3  4  5  6  7   Tillägg:  8  9  10  11"
                                 << " 1 2 3 4 5 6 7 8 91011"
                                 << "  1  2  3  4  5  6  7  8  9 10 11";
        QTest::newRow("mixed") << Numbers{3, 17, 35, 8, 21, 12, 30, 1, 22, 9, 34}
                               << "  3 17 35  8 21 12 30   Tillägg:  1  22  9  34"
                               << " 31735 8211230 122 934"
                               << "  3 17 35  8 21 12 30  1 22  9 34";
    }

    void draw()
    {
        QFETCH(Numbers, numbers);
        QFETCH(QString, list);
        QFETCH(QString, ratt_rad);
        QFETCH(QString, inmatade);

        Session s;
        s.platform.on_prompt = [&] {
            // The box is open: the seventh number is in, the scroll bar not yet reset.
            QCOMPARE(s.state().antal_siffror, 7);
            QCOMPARE(s.scroll->value(), numbers[6]);
            QCOMPARE(s.list->text(), inmatade.left(21));
        };
        QCOMPARE(s.visible(), entry_phase);
        for (int k = 1; k <= 11; ++k) {
            s.enter(numbers[k - 1]);
            QCOMPARE(s.state().antal_siffror, k);
            QCOMPARE(s.visible(), k < 11 ? entry_phase : full_phase);
            QCOMPARE(s.state().ratt_rad, ratt_rad.left(2 * k));
            QCOMPARE(s.state().inmatade_siffror, inmatade.left(3 * k));
            if (k <= 7)
                QCOMPARE(s.list->text(), s.state().inmatade_siffror);
            else
                QVERIFY2(list.startsWith(s.list->text()), qPrintable(s.list->text()));
            if (k < 11) {
                const int scroll = k == 7 ? 1 : numbers[k - 1];
                QCOMPARE(s.scroll->value(), scroll);
                QCOMPARE(s.chosen->text(), QString::number(scroll));
            }
            QCOMPARE(s.platform.prompts.size(), k < 7 ? 0 : 1);
        }
        QCOMPARE(s.list->text(), list);
        QCOMPARE(s.platform.prompts, QStringList{prompt_text});
        QVERIFY(s.platform.errors.isEmpty());
        QCOMPARE(s.platform.end_requests, 0);
    }

    void refusal_data()
    {
        QTest::addColumn<Numbers>("before");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("scroll");

        QTest::newRow("first") << Numbers{5} << 5 << 0 << true << 5;
        QTest::newRow("seventh") << one_to(6) << 4 << 0 << true << 4;
        QTest::newRow("eighth, 12 a main number")
            << Numbers{3, 17, 35, 8, 21, 12, 30} << 12 << 2 << false << 1;
        QTest::newRow("eighth, 1 a main number") << one_to(7) << 1 << 2 << true << 1;
        QTest::newRow("ninth, an earlier additional")
            << Numbers{1, 2, 3, 4, 5, 6, 7, 20} << 20 << 1 << true << 20;
        QTest::newRow("tenth, a main number")
            << Numbers{1, 2, 3, 4, 5, 6, 7, 20, 21} << 3 << 1 << true << 3;
    }

    void refusal()
    {
        QFETCH(Numbers, before);
        QFETCH(int, repeat);
        QFETCH(int, prompts);
        QFETCH(bool, shown);
        QFETCH(int, scroll);

        Session s;
        s.enter(before);
        const CheckState was = s.state();
        const QString list = s.list->text();
        QList<int> scroll_at_prompt;
        s.platform.on_prompt = [&] {
            QVERIFY(s.message->isVisible());
            scroll_at_prompt.append(s.scroll->value());
        };

        s.enter(repeat);
        QCOMPARE(s.message->text(), repeat_text);
        QCOMPARE(s.message->isVisible(), shown);
        QCOMPARE(s.state().antal_siffror, was.antal_siffror);
        QCOMPARE(s.state().ratt_rad, was.ratt_rad);
        QCOMPARE(s.state().inmatade_siffror, was.inmatade_siffror);
        QCOMPARE(s.list->text(), list);
        QCOMPARE(s.platform.prompts.size(), prompts);
        QCOMPARE(scroll_at_prompt, prompts == 2 ? QList<int>{repeat} : QList<int>{});
        QCOMPARE(s.scroll->value(), scroll);
        QCOMPARE(s.chosen->text(), QString::number(scroll));

        // Moving the scroll bar clears the refusal, the text stays.
        s.scroll->setValue(scroll == 35 ? 34 : scroll + 1);
        QVERIFY(!s.message->isVisible());
        QCOMPARE(s.message->text(), repeat_text);
    }

    void seventh_number_one()
    {
        Session s;
        s.enter(Numbers{2, 3, 4, 5, 6, 7});
        s.scroll->setValue(1);
        s.message->show(); // as if a refusal were still shown
        QSignalSpy moved(s.scroll, &QScrollBar::valueChanged);

        s.click("Command1");
        QCOMPARE(s.state().antal_siffror, 7);
        QCOMPARE(s.platform.prompts, QStringList{prompt_text});
        QCOMPARE(moved.count(), 0);
        QVERIFY(s.message->isVisible());
        QCOMPARE(s.chosen->text(), "1");
    }

    void more_than_eleven()
    {
        Session s;
        s.enter(one_to(11));
        const CheckState was = s.state();
        const QString list = s.list->text();

        s.form.Command1_Click();
        QCOMPARE(s.state().antal_siffror, 12);
        QVERIFY(s.message->isVisible());
        QCOMPARE(s.message->text(),
                 "Du har angett fler än 11 siffror! Klicka på Rätta! eller Ny rad!");
        QCOMPARE(s.state().ratt_rad, was.ratt_rad);
        QCOMPARE(s.state().inmatade_siffror, was.inmatade_siffror);
        QCOMPARE(s.list->text(), list);
        QCOMPARE(
            s.visible(),
            QString("Command2 Command3 Command4 Label1 Label2 ratt_rad_inmatning_text").split(' '));
    }

    void new_row_data()
    {
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QString>("message");

        QTest::newRow("at start, scroll at 17") << Numbers{} << 17 << QString();
        QTest::newRow("after 3") << Numbers{3, 17, 35} << 35 << QString();
        QTest::newRow("after 11") << one_to(11) << 11 << QString();
        // The scroll bar stays at 1, so only "Ny rad" itself can hide the refusal.
        QTest::newRow("refusal of 1 shown") << Numbers{1, 1} << 1 << repeat_text;
    }

    void new_row()
    {
        QFETCH(Numbers, numbers);
        QFETCH(int, scroll);
        QFETCH(QString, message);

        Session s;
        s.enter(numbers);
        s.scroll->setValue(scroll);
        QCOMPARE(s.message->isVisible(), !message.isEmpty());
        const int prompts = s.platform.prompts.size();

        s.click("Command3");
        QCOMPARE(s.state().antal_siffror, 0);
        QCOMPARE(s.state().ratt_rad, QString());
        QCOMPARE(s.state().inmatade_siffror, QString());
        QCOMPARE(s.list->text(), QString());
        QCOMPARE(s.scroll->value(), 1);
        QCOMPARE(s.chosen->text(), "1");
        QCOMPARE(s.message->text(), message);
        QCOMPARE(s.visible(), entry_phase);
        QCOMPARE(s.platform.prompts.size(), prompts);

        // The discarded numbers are free again; the next one is the first main number.
        const int first = numbers.isEmpty() ? 17 : numbers.first();
        s.enter(first);
        QCOMPARE(s.state().antal_siffror, 1);
        QCOMPARE(s.state().inmatade_siffror, QString::number(first).rightJustified(3));
        QCOMPARE(s.list->text(), s.state().inmatade_siffror);
        QVERIFY(!s.message->isVisible());
    }

    void program_end_data()
    {
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("then");
        QTest::addColumn<bool>("close_window");

        const struct {
            const char *phase;
            Numbers numbers;
            const char *then;
        } phases[] = {{"at start", {}, ""},
                      {"mid entry", {3, 17, 35}, ""},
                      {"refusal shown", {5, 5}, ""},
                      {"11 accepted", one_to(11), ""},
                      {"after Rätta", one_to(11), "Command2"}};
        for (const auto &p : phases) {
            QTest::addRow("Avsluta, %s", p.phase) << p.numbers << p.then << false;
            QTest::addRow("window closed, %s", p.phase) << p.numbers << p.then << true;
        }
    }

    void program_end()
    {
        QFETCH(Numbers, numbers);
        QFETCH(QString, then);
        QFETCH(bool, close_window);

        Session s;
        s.enter(numbers);
        if (!then.isEmpty())
            s.click(qPrintable(then));
        QCOMPARE(s.platform.end_requests, 0);
        if (close_window)
            QVERIFY(s.form.close());
        else
            s.click("Command4");
        QCOMPARE(s.platform.end_requests, 1);
    }

    void keyboard()
    {
        Session s;
        QApplication::setActiveWindow(&s.form);
        QVERIFY(QTest::qWaitForWindowActive(&s.form));
        s.scroll->setFocus();
        QVERIFY(s.scroll->hasFocus());

        for (int i = 0; i < 3; ++i)
            QTest::keyClick(s.scroll, Qt::Key_Right);
        QCOMPARE(s.scroll->value(), 4);
        QCOMPARE(s.chosen->text(), "4");
        QTest::keyClick(s.scroll, Qt::Key_Left);
        QCOMPARE(s.chosen->text(), "3");

        const QStringList tab_order = {"Command1", "Command3", "Command4", "HScroll1"};
        for (const QString &next : tab_order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
            if (next == "Command1") {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
                QCOMPARE(s.list->text(), "  3");
                QCOMPARE(s.state().antal_siffror, 1);
            }
        }
    }
};

QTEST_MAIN(EntryTest)
#include "test_entry.moc"
