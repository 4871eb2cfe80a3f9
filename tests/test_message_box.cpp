// The program's own boxes, as DesktopPlatform shows them: each is closed as
// soon as it is up, so that none waits for a click. Their text is shown as it
// stands, never read as markup, since it may name a folder such as "<i>x</i>";
// only the error box carries an icon.

#include "form/desktop_platform.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void plain_text_data()
    {
        QTest::addColumn<bool>("error");
        QTest::addColumn<QMessageBox::Icon>("icon"); // the prompt asks for nothing alarming
        QTest::newRow("the error box") << true << QMessageBox::Critical;
        QTest::newRow("the prompt") << false << QMessageBox::NoIcon;
    }

    void plain_text()
    {
        QFETCH(bool, error);
        QFETCH(QMessageBox::Icon, icon);
        const QString text = QStringLiteral("Radfilen finns inte i mappen /home/<i>x</i>&amp;.");
        QString shown_text;
        Qt::TextFormat format = Qt::RichText;
        QString title;
        QMessageBox::Icon shown_icon = QMessageBox::Question;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            shown_text = label->text();
            format = label->textFormat();
            title = box->windowTitle();
            shown_icon = box->icon();
            box->close();
        });
        closer.start(10);

        DesktopPlatform platform;
        if (error)
            platform.report_error(text);
        else
            platform.show_prompt(nullptr, text);
        QCOMPARE(shown_text, text);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(title, QStringLiteral("Kolmira"));
        QCOMPARE(shown_icon, icon);
    }
};

QTEST_MAIN(TestMessageBox)
#include "test_message_box.moc"
