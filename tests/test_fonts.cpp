// Every caption is drawn in the family the form's font function picks for
// its size, never in the desktop's fallback, and fits its control; so is the
// text of the real prompt box. Run on Linux and, cross-built, under Wine.

#include "form/desktop_platform.h"
#include "form/form_font.h"
#include "session.h"

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTimer>

namespace
{

// One row of each prize class, so that every caption of the chart is drawn.
const QByteArray winning_rows = "6\n01020304081213\n01020304052021\n01020304050621\n"
                                "01020304050608\n01020304050607\n20212223242526\n";

// Why a widget's text is drawn wrongly, or nothing.
QString font_fault(const QWidget *widget, const QString &text, Qt::Alignment alignment)
{
    const QFont font = widget->font();
    const QString family = QFontInfo(font).family();
    const QString picked = QFontInfo(sans_serif(font.pointSizeF(), font.bold())).family();
    if (family != picked)
        return QStringLiteral("%1 drawn in %2, not in %3")
            .arg(widget->objectName(), family, picked);
    const QRect room = widget->contentsRect();
    const QRect used =
        widget->fontMetrics().boundingRect(room, int(alignment) | Qt::TextWordWrap, text);
    if (used.width() > room.width() || used.height() > room.height())
        return QStringLiteral("%1 \"%2\" needs %3x%4 in %5x%6")
            .arg(widget->objectName(), text)
            .arg(used.width())
            .arg(used.height())
            .arg(room.width())
            .arg(room.height());
    return {};
}

QStringList font_faults(const QWidget *form)
{
    QStringList faults;
    for (const QLabel *label : form->findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty())
            faults << font_fault(label, label->text(), label->alignment());
    }
    for (const QPushButton *button : form->findChildren<QPushButton *>()) {
        if (button->isVisible())
            faults << font_fault(button, button->text(), Qt::AlignCenter);
    }
    faults.removeAll(QString());
    return faults;
}

} // namespace

class TestFonts : public QObject
{
    Q_OBJECT
private slots:
    void captions()
    {
        Session s(winning_rows);
        QVERIFY(s.start());
        s.enter(5);
        s.click("Command1"); // refused: the red caption shows
        QCOMPARE(font_faults(&s.form), QStringList());
        s.click("Command3");
        s.enter_draw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        s.click("Command2");
        s.click("Command5");
        QVERIFY(s.label("Label12")->isVisible());
        QCOMPARE(font_faults(&s.form), QStringList());
    }

    void prompt_box()
    {
        QWidget owner;
        owner.show();
        // Whatever modal window comes up is checked and closed, so that a
        // missing or different box fails the test rather than waiting.
        QStringList faults{QStringLiteral("no box")};
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            closer.stop();
            faults.clear();
            if (!qobject_cast<QMessageBox *>(modal))
                faults << QStringLiteral("a %1, not a message box")
                              .arg(modal->metaObject()->className());
            for (const QLabel *label : modal->findChildren<QLabel *>()) {
                if (label->isVisible() && !label->text().isEmpty())
                    faults << font_fault(label, label->text(), label->alignment());
            }
            faults.removeAll(QString());
            modal->hide(); // ends a dialog's exec() whatever its buttons
        });
        closer.start(0);
        DesktopPlatform platform;
        platform.show_prompt(&owner,
                             QStringLiteral("Nu ska du ange första tilläggs siffran utav 4 st"));
        QCOMPARE(faults, QStringList());
    }
};

QTEST_MAIN(TestFonts)
#include "test_fonts.moc"
