// Entering the draw with the real widgets: choosing, accepting and refusing
// numbers, the prompt for the additional numbers, "Ny rad" and "Avsluta".

#include "session.h"

#include <QApplication>

using Numbers = QList<int>;

namespace
{

const QString repeat_text = QStringLiteral("Du har redan den siffran!");
const QString entry_phase = QStringLiteral(
    "Command1 Command3 Command4 HScroll1 Label2 in_ratt_sif ratt_rad_inmatning_text");

Numbers one_to(int last)
{
    Numbers numbers;
    for (int n = 1; n <= last; ++n)
        numbers << n;
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
        QVERIFY(s.start());
        s.platform.on_prompt = [&] {
            // The box is open: the seventh number is in, the scroll bar not yet back at 1.
            QCOMPARE(s.state().antal_siffror, 7);
            QCOMPARE(s.scroll()->value(), numbers[6]);
            QCOMPARE(s.caption("ratt_rad_inmatning_text"), inmatade.left(21));
        };
        // Each step on its own is checked by the random sessions.
        s.enter_draw(numbers);
        QCOMPARE(s.state().ratt_rad, ratt_rad);
        QCOMPARE(s.state().inmatade_siffror, inmatade);
        QCOMPARE(s.visible_controls(), "Command2 Command3 Command4 Label2 ratt_rad_inmatning_text");
        QCOMPARE(s.caption("ratt_rad_inmatning_text"), list);
        QCOMPARE(s.platform.prompts,
                 QStringList{"Nu ska du ange första tilläggs siffran utav 4 st"});
    }

    // A refused number leaves the draw as it was; at the eighth number the
    // count drops back to 7, so the box comes again and the scroll bar goes
    // back to 1, which hides the refusal unless the bar stood at 1 already.
    // A twelfth number, which only a call can ask for once "Välj siffran" has
    // gone, is refused too, and the count keeps the twelfth.
    void refusal_data()
    {
        QTest::addColumn<Numbers>("before");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<int>("count"); // antal_siffror afterwards
        QTest::addColumn<QString>("refusal");

        const QString too_many =
            QStringLiteral("Du har angett fler än 11 siffror! Klicka på Rätta! eller Ny rad!");
        // clang-format off
        QTest::newRow("first") << Numbers{5} << 5 << 0 << true << 5 << 1 << repeat_text;
        QTest::newRow("seventh") << one_to(6) << 4 << 0 << true << 4 << 6 << repeat_text;
        QTest::newRow("eighth, 12") << Numbers{3, 17, 35, 8, 21, 12, 30} << 12 << 2 << false << 1 << 7 << repeat_text;
        QTest::newRow("eighth, 1") << one_to(7) << 1 << 2 << true << 1 << 7 << repeat_text;
        QTest::newRow("ninth, an earlier additional") << one_to(8) << 8 << 1 << true << 8 << 8 << repeat_text;
        QTest::newRow("twelfth") << one_to(11) << 12 << 1 << true << 12 << 12 << too_many;
        // clang-format on
    }

    void refusal()
    {
        QFETCH(Numbers, before);
        QFETCH(int, repeat);
        QFETCH(int, prompts);
        QFETCH(bool, shown);
        QFETCH(int, scroll);
        QFETCH(int, count);
        QFETCH(QString, refusal);

        Session s;
        QVERIFY(s.start());
        s.enter_draw(before);
        const CheckState was = s.state();
        const QString list = s.caption("ratt_rad_inmatning_text");
        int scroll_at_prompt = 0;
        s.platform.on_prompt = [&] {
            QVERIFY(s.label("Label1")->isVisible());
            scroll_at_prompt = s.scroll()->value();
        };

        if (s.button("Command1")->isVisible()) {
            s.enter(repeat);
        } else {
            s.choose(repeat);
            s.form.Command1_Click();
        }
        QCOMPARE(s.caption("Label1"), refusal);
        QCOMPARE(s.label("Label1")->isVisible(), shown);
        QCOMPARE(s.state().antal_siffror, count);
        QCOMPARE(s.state().ratt_rad, was.ratt_rad);
        QCOMPARE(s.state().inmatade_siffror, was.inmatade_siffror);
        QCOMPARE(s.caption("ratt_rad_inmatning_text"), list);
        QCOMPARE(s.platform.prompts.size(), prompts);
        QCOMPARE(scroll_at_prompt, prompts == 2 ? repeat : 0);
        QCOMPARE(s.scroll()->value(), scroll);
        QCOMPARE(s.caption("in_ratt_sif"), QString::number(scroll));

        // Moving the scroll bar clears the refusal.
        s.choose(scroll + 1);
        QVERIFY(!s.label("Label1")->isVisible());
    }

    void new_row_data()
    {
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<int>("scroll");

        QTest::newRow("after 0, scroll at 17") << Numbers{} << 17;
        QTest::newRow("after 3") << Numbers{3, 17, 35} << 35;
        QTest::newRow("after 11") << one_to(11) << 11;
        // The scroll bar stays at 1, so only "Ny rad" itself can hide the refusal.
        QTest::newRow("refusal of 1 shown") << Numbers{1, 1} << 1;
    }

    void new_row()
    {
        QFETCH(Numbers, numbers);
        QFETCH(int, scroll);

        Session s;
        QVERIFY(s.start());
        s.enter_draw(numbers);
        s.choose(scroll);
        s.click("Command3");
        QCOMPARE(s.state().antal_siffror, 0);
        QCOMPARE(s.state().ratt_rad, QString());
        QCOMPARE(s.state().inmatade_siffror, QString());
        QCOMPARE(s.caption("ratt_rad_inmatning_text"), QString());
        QCOMPARE(s.scroll()->value(), 1);
        QCOMPARE(s.caption("in_ratt_sif"), "1");
        QCOMPARE(s.visible_controls(), entry_phase);
        QCOMPARE(s.platform.prompts.size(), numbers.size() >= 7 ? 1 : 0);

        // The discarded numbers are free again; the next one is the first main number.
        const int first = numbers.value(0, 17);
        s.enter(first);
        QCOMPARE(s.state().inmatade_siffror, QString::number(first).rightJustified(3));
        QCOMPARE(s.caption("ratt_rad_inmatning_text"), s.state().inmatade_siffror);
    }

    // "Avsluta" ends the program from any phase (the random sessions and the
    // writes-nothing session click it); closing the window does the same.
    void closing_the_window_ends_the_program()
    {
        Session s;
        QVERIFY(s.start());
        s.enter_draw({3, 17, 35});
        QVERIFY(s.form.close());
        QCOMPARE(s.platform.end_requests, 1);
    }

    void keyboard()
    {
        Session s;
        QVERIFY(s.start());
        s.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.form));
        s.scroll()->setFocus();

        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left})
            QTest::keyClick(s.scroll(), key);
        QCOMPARE(s.caption("in_ratt_sif"), "3");

        QStringList order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
            if (i == 0)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }
        QCOMPARE(order.join(u' '), "Command1 Command3 Command4 HScroll1");
        QCOMPARE(s.state().inmatade_siffror, "  3"); // Space on "Välj siffran"
    }

    // Pressing Space on and on never lands on "Ny rad" or "Avsluta" when the
    // pressed button hides, not even on its way: a screen reader would
    // announce every stop.
    void keyboard_after_hidden_buttons_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QString>("after_check");
        QTest::newRow("a prize row") << two_rows << "Command5";
        QTest::newRow("no prize row") << QByteArray("1\n03040607091013\n") << "Kolmira";
    }

    void keyboard_after_hidden_buttons()
    {
        QFETCH(QByteArray, rows);
        QFETCH(QString, after_check);
        Session s(rows);
        QVERIFY(s.start());
        s.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.form));
        s.enter_draw({1, 5, 12, 17, 24, 30, 35, 2, 8, 11});
        s.choose(19);
        s.button("Command1")->setFocus();
        QStringList stops;
        QObject listener; // ends the connection before stops goes
        connect(qApp, &QApplication::focusChanged, &listener, [&stops](QWidget *, QWidget *now) {
            if (now)
                stops << now->objectName();
        });

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(stops.join(u' '), "Command2");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(s.label("visa_antalet_ratt")->isVisible()); // the check ran
        QCOMPARE(stops.join(u' '), "Command2 " + after_check);
    }
};

QTEST_MAIN(EntryTest)
#include "test_entry.moc"
