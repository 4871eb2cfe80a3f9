// The form as it first appears: its 21 controls, the window, the focus order,
// and a caption that wraps on a button.

#include "form/kolmira.h"

#include "recording_platform.h"
#include "test_support.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void control_data();
    void control();
    void window();
    void scroll_bar();
    void focus_order();
    void Command5_caption_wraps();
    void load_shows_the_first_number();

private:
    RecordingPlatform platform_;
    std::unique_ptr<Kolmira> form_;
};

void TestForm::initTestCase()
{
    form_ = std::make_unique<Kolmira>(platform_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void TestForm::cleanupTestCase()
{
    form_.reset();
}

namespace
{
const QColor system_colour; // invalid: the system's default colour
}

void TestForm::control_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<qreal>("points"); // 0: no font of its own to check
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("framed");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("shown");

    const QString button = QStringLiteral("button");
    const QString label = QStringLiteral("label");
    const QString empty;
    const qreal form = 13.5;
    // clang-format off
    QTest::newRow("Command5") << button << "Klicka här för att fortsätta rätta" << QRect(120, 4800, 2655, 1815) << system_colour << form << false << false << false << false;
    QTest::newRow("Command4") << button << "Avsluta" << QRect(4080, 120, 1695, 615) << system_colour << form << false << false << false << true;
    QTest::newRow("Command3") << button << "Ny rad" << QRect(2160, 120, 1695, 615) << system_colour << form << false << false << false << true;
    QTest::newRow("Command2") << button << "Rätta" << QRect(240, 120, 1695, 615) << system_colour << form << false << false << false << false;
    QTest::newRow("Command1") << button << "Välj siffran" << QRect(2160, 720, 1695, 615) << system_colour << form << false << false << false << true;
    QTest::newRow("HScroll1") << QStringLiteral("scroll bar") << empty << QRect(240, 840, 1575, 375) << system_colour << 0.0 << false << false << false << true;
    QTest::newRow("Label12") << label << empty << QRect(8040, 2880, 2535, 735) << system_colour << form << false << true << true << false;
    QTest::newRow("Label11") << label << empty << QRect(3000, 2880, 5055, 735) << QColor(128, 0, 128) << form << false << true << false << false;
    QTest::newRow("Label10") << label << empty << QRect(8040, 3600, 2535, 735) << system_colour << form << false << true << true << false;
    QTest::newRow("Label9") << label << empty << QRect(3000, 3600, 5055, 735) << QColor(192, 0, 192) << form << false << true << false << false;
    QTest::newRow("Label8") << label << empty << QRect(8040, 4320, 2535, 735) << system_colour << form << false << true << true << false;
    QTest::newRow("Label7") << label << empty << QRect(3000, 4320, 5055, 735) << QColor(255, 0, 255) << form << false << true << false << false;
    QTest::newRow("Label6") << label << empty << QRect(8040, 5040, 2535, 855) << system_colour << form << false << true << true << false;
    QTest::newRow("Label5") << label << empty << QRect(3000, 5040, 5055, 855) << QColor(255, 128, 255) << form << false << true << false << false;
    QTest::newRow("Label4") << label << empty << QRect(8040, 5880, 2535, 855) << system_colour << 18.0 << false << true << true << false;
    QTest::newRow("Label3") << label << empty << QRect(3000, 5880, 5055, 735) << QColor(255, 192, 255) << form << false << true << true << false;
    QTest::newRow("Label2") << label << empty << QRect(120, 3360, 2655, 1215) << system_colour << 12.0 << false << false << false << true;
    QTest::newRow("ratt_rad_inmatning_text") << label << empty << QRect(2280, 2160, 5775, 495) << QColor(255, 255, 255) << form << false << true << false << true;
    QTest::newRow("Label1") << label << empty << QRect(240, 1320, 5535, 735) << QColor(255, 0, 0) << form << false << true << true << false;
    QTest::newRow("in_ratt_sif") << label << empty << QRect(4200, 840, 1395, 435) << system_colour << form << false << true << true << true;
    QTest::newRow("visa_antalet_ratt") << label << empty << QRect(120, 6720, 10455, 615) << QColor(0, 255, 0) << 9.75 << true << true << true << false;
    // clang-format on
}

void TestForm::control()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(QColor, colour);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, framed);
    QFETCH(bool, centred);
    QFETCH(bool, shown);

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto *widget = form_->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), form_.get());
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(widget->isVisible(), shown);
    if (points > 0) {
        QCOMPARE(widget->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(widget->font().bold(), bold);
    }

    if (kind == QLatin1String("button")) {
        auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault() && !button->autoDefault()); // Enter clicks nothing unasked
    } else if (kind == QLatin1String("scroll bar")) {
        auto *bar = qobject_cast<QScrollBar *>(widget);
        QVERIFY(bar);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
    } else {
        auto *label = qobject_cast<QLabel *>(widget);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->textFormat(), Qt::PlainText); // "<b>x</b>" shows as it stands
        QVERIFY(label->wordWrap());
        QCOMPARE(label->frameShape() != QFrame::NoFrame, framed);
        QCOMPARE(bool(label->alignment() & Qt::AlignHCenter), centred);
        QCOMPARE(label->autoFillBackground(), colour.isValid());
        if (colour.isValid()) {
            QCOMPARE(label->palette().color(QPalette::Window), colour);
            // What is drawn, not only what is asked for: the empty label's middle.
            const QImage image = label->grab().toImage();
            QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() / 2)), colour);
        }
    }
}

void TestForm::window()
{
    QCOMPARE(form_->objectName(), QStringLiteral("Kolmira"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Kolmira version 1.3 made by Tumbrek"));
    QCOMPARE(form_->size(), QSize(716, 497));
    QCOMPARE(form_->minimumSize(), QSize(716, 497));
    QCOMPARE(form_->maximumSize(), QSize(716, 497));
    QVERIFY(!form_->windowIcon().pixmap(32, 32).isNull()); // the picture itself is there
    QCOMPARE(form_->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form_->font().pointSizeF(), 13.5);
    QVERIFY(!form_->font().bold());

    const auto controls = form_->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(controls.size(), 21);
}

void TestForm::scroll_bar()
{
    auto *bar = form_->findChild<QScrollBar *>(QStringLiteral("HScroll1"));
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 35);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), 1);
    QCOMPARE(bar->value(), 1);
}

void TestForm::focus_order()
{
    // All six shown, as after a check with a prize row and "Rätta" visible.
    for (const char *name : {"Command2", "Command5"})
        form_->findChild<QWidget *>(QLatin1String(name))->show();
    const auto hide_again = qScopeGuard([this] {
        for (const char *name : {"Command2", "Command5"})
            form_->findChild<QWidget *>(QLatin1String(name))->hide();
    });

    auto *start = form_->findChild<QWidget *>(QStringLiteral("HScroll1"));
    QVERIFY(start->focusPolicy() & Qt::TabFocus);
    QStringList order{start->objectName()};
    for (QWidget *w = start->nextInFocusChain(); w != start && order.size() < 50;
         w = w->nextInFocusChain()) {
        if (w != form_.get() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
    }
    QCOMPARE(order,
             QStringList({"HScroll1", "Command1", "Command2", "Command3", "Command4", "Command5"}));
}

void TestForm::Command5_caption_wraps()
{
    auto *button = form_->findChild<QPushButton *>(QStringLiteral("Command5"));
    QVERIFY(button);
    button->show();
    const auto restore = qScopeGuard([button] { button->hide(); });

    // Ink is whatever the caption adds to the bare button.
    const QImage with_caption = button->grab().toImage();
    const QString caption = button->text();
    button->setText(QString());
    const QImage bare = button->grab().toImage();
    button->setText(caption);
    QCOMPARE(with_caption.size(), bare.size());

    int bands = 0;
    bool in_band = false;
    for (int y = 0; y < bare.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < bare.width() && !ink; ++x)
            ink = with_caption.pixel(x, y) != bare.pixel(x, y);
        if (ink && !in_band)
            ++bands;
        in_band = ink;
    }
    QVERIFY2(bands >= 2, qPrintable(QStringLiteral("caption drawn on %1 line(s)").arg(bands)));
}

void TestForm::load_shows_the_first_number()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(write_file(dir.path(), QStringLiteral("kolmira_fam.txt"),
                       "2\n01051217243035\n02081119263133\n"));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto back = qScopeGuard([&previous] { QDir::setCurrent(previous); });

    RecordingPlatform platform;
    Kolmira form(platform);
    QVERIFY(form.Form_Load());
    QVERIFY(platform.errors.isEmpty());
    auto *shown = form.findChild<QLabel *>(QStringLiteral("in_ratt_sif"));
    QVERIFY(shown);
    QCOMPARE(shown->text(), QStringLiteral("1"));
}

QTEST_MAIN(TestForm)
#include "test_form.moc"
