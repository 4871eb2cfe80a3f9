// The program's own boxes, as DesktopPlatform shows them: each is closed as
// soon as it is up, so that none waits for a click. Their text is shown as it
// stands, never read as markup, since it may name a folder such as "<i>x</i>".

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
        QTest::newRow("the error box") << true;
        QTest::newRow("the prompt") << false;
    }

    void plain_text()
    {
        QFETCH(bool, error);
        const QString text = QStringLiteral("Radfilen finns inte i mappen /home/<i>x</i>&amp;.");
        QString shown_text;
        Qt::TextFormat format = Qt::RichText;
        QString title;
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
    }
};

QTEST_MAIN(TestMessageBox)
#include "test_message_box.moc"
