// The form as it first appears after loading: its 21 controls, the window,
// the focus order, and a caption that wraps on a button.

#include "session.h"

#include "form/accessibility.h"

#include <optional>

class TestForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        session_.emplace();
        QVERIFY(session_->start());
        QVERIFY(QTest::qWaitForWindowExposed(form()));
    }

    void cleanupTestCase() { session_.reset(); }
    void control_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QColor>("colour"); // invalid: the system's own
        QTest::addColumn<QString>("look");  // points, then "bold", "framed", "centred"

        const QColor system;
        // clang-format off
        QTest::newRow("Command5") << "Klicka här för att fortsätta rätta" << QRect(120, 4800, 2655, 1815) << system << "13.5";
        QTest::newRow("Command4") << "Avsluta" << QRect(4080, 120, 1695, 615) << system << "13.5";
        QTest::newRow("Command3") << "Ny rad" << QRect(2160, 120, 1695, 615) << system << "13.5";
        QTest::newRow("Command2") << "Rätta" << QRect(240, 120, 1695, 615) << system << "13.5";
        QTest::newRow("Command1") << "Välj siffran" << QRect(2160, 720, 1695, 615) << system << "13.5";
        QTest::newRow("HScroll1") << "" << QRect(240, 840, 1575, 375) << system << "";
        QTest::newRow("Label12") << "" << QRect(8040, 2880, 2535, 735) << system << "13.5 framed centred";
        QTest::newRow("Label11") << "" << QRect(3000, 2880, 5055, 735) << QColor(128, 0, 128) << "13.5 framed";
        QTest::newRow("Label10") << "" << QRect(8040, 3600, 2535, 735) << system << "13.5 framed centred";
        QTest::newRow("Label9") << "" << QRect(3000, 3600, 5055, 735) << QColor(192, 0, 192) << "13.5 framed";
        QTest::newRow("Label8") << "" << QRect(8040, 4320, 2535, 735) << system << "13.5 framed centred";
        QTest::newRow("Label7") << "" << QRect(3000, 4320, 5055, 735) << QColor(255, 0, 255) << "13.5 framed";
        QTest::newRow("Label6") << "" << QRect(8040, 5040, 2535, 855) << system << "13.5 framed centred";
        QTest::newRow("Label5") << "" << QRect(3000, 5040, 5055, 855) << QColor(255, 128, 255) << "13.5 framed";
        QTest::newRow("Label4") << "" << QRect(8040, 5880, 2535, 855) << system << "18 framed centred";
        QTest::newRow("Label3") << "" << QRect(3000, 5880, 5055, 735) << QColor(255, 192, 255) << "13.5 framed centred";
        QTest::newRow("Label2") << "" << QRect(120, 3360, 2655, 1215) << system << "12";
        QTest::newRow("ratt_rad_inmatning_text") << "" << QRect(2280, 2160, 5775, 495) << QColor(255, 255, 255) << "13.5 framed";
        QTest::newRow("Label1") << "" << QRect(240, 1320, 5535, 735) << QColor(255, 0, 0) << "13.5 framed centred";
        QTest::newRow("in_ratt_sif") << "1" << QRect(4200, 840, 1395, 435) << system << "13.5 framed centred";
        QTest::newRow("visa_antalet_ratt") << "" << QRect(120, 6720, 10455, 615) << QColor(0, 255, 0) << "9.75 bold framed centred";
        // clang-format on
    }

    void control()
    {
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(QColor, colour);
        QFETCH(QString, look);

        auto *widget = form()->findChild<QWidget *>(QLatin1String(QTest::currentDataTag()));
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget(), form());
        QCOMPARE(widget->geometry(),
                 QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        if (!look.isEmpty()) {
            QCOMPARE(widget->font().family(), QStringLiteral("MS Sans Serif"));
            QCOMPARE(widget->font().pointSizeF(), look.split(u' ').first().toDouble());
            QCOMPARE(widget->font().bold(), look.contains(QLatin1String("bold")));
        }
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(button->text(), caption);
            QVERIFY(!button->isDefault() && !button->autoDefault()); // Enter clicks nothing unasked
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(label->text(), caption);
            QCOMPARE(label->textFormat(), Qt::PlainText); // "<b>" and blanks show as they stand
            QVERIFY(label->wordWrap());
            QCOMPARE(label->frameShape() != QFrame::NoFrame,
                     look.contains(QLatin1String("framed")));
            QCOMPARE(bool(label->alignment() & Qt::AlignHCenter),
                     look.contains(QLatin1String("centred")));
            QCOMPARE(label->autoFillBackground(), colour.isValid());
            if (colour.isValid()) {
                // What is drawn, not only what is asked for: the empty label's middle.
                const QImage image = label->grab().toImage();
                QCOMPARE(QColor(image.pixel(image.width() / 2, image.height() / 2)), colour);
            }
        } else {
            QCOMPARE(qobject_cast<QScrollBar *>(widget)->orientation(), Qt::Horizontal);
        }
    }

    void window()
    {
        QCOMPARE(form()->objectName(), QStringLiteral("Kolmira"));
        QCOMPARE(form()->windowTitle(), QStringLiteral("Kolmira version 1.3 made by Tumbrek"));
        QCOMPARE(form()->minimumSize(), QSize(716, 497));
        QCOMPARE(form()->maximumSize(), QSize(716, 497));
        // The 21 controls, and the notice for screen readers, which never shows.
        QCOMPARE(form()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 22);
        QVERIFY(form()->findChild<ScreenReaderNotice *>()->isHidden());
        QCOMPARE(session_->visible_controls(),
                 "Command1 Command3 Command4 HScroll1 Label2 in_ratt_sif ratt_rad_inmatning_text");

        const QScrollBar *bar = session_->scroll();
        QCOMPARE(QList<int>({bar->minimum(), bar->maximum(), bar->singleStep(), bar->pageStep(),
                             bar->value()}),
                 QList<int>({1, 35, 1, 1, 1}));
    }

    // The window icon as the window manager gets it, read back pixel by
    // pixel: a colour read in the wrong byte order, or an icon missing, shows.
    // At 96 pixels (a 2x screen) it is drawn anew where Qt's SVG support is
    // installed, else the 48 pixels are given; the points scale with it.
    void icon_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QPoint>("at"); // in a 48-pixel icon
        QTest::addColumn<QColor>("colour");
        for (const int size : {48, 96}) {
            const auto row = [size](const char *what, QPoint at, QColor colour) {
                QTest::addRow("%d, %s", size, what) << size << at << colour;
            };
            row("corner", {0, 0}, QColor(0, 0, 0, 0));
            row("background", {24, 4}, Qt::white);
            row("top step", {12, 12}, QColor(128, 0, 128));
            row("middle step", {24, 24}, QColor(255, 0, 255));
            row("bottom step", {30, 37}, QColor(255, 192, 255));
            row("ball", {34, 14}, QColor(0, 255, 0));
        }
    }

    void icon()
    {
        QFETCH(int, size);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        const QImage image = form()->windowIcon().pixmap(size, size).toImage();
        QVERIFY(image.width() == 48 || image.width() == size);
        QCOMPARE(image.pixelColor(at * image.width() / 48), colour);
    }

    void focus_order()
    {
        // All six shown, as if "Rätta" and the chart button were both offered.
        const char *const hidden[] = {"Command2", "Command5"};
        for (const char *name : hidden)
            session_->button(name)->show();
        const auto hide_again = qScopeGuard([&] {
            for (const char *name : hidden)
                session_->button(name)->hide();
        });

        QWidget *start = session_->scroll();
        QVERIFY(start->focusPolicy() & Qt::TabFocus);
        QStringList order{start->objectName()};
        for (QWidget *w = start->nextInFocusChain(); w != start && order.size() < 50;
             w = w->nextInFocusChain()) {
            if (w != form() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus))
                order << w->objectName();
        }
        QCOMPARE(order.join(u' '), "HScroll1 Command1 Command2 Command3 Command4 Command5");
    }

    void Command5_caption_wraps()
    {
        QPushButton *button = session_->button("Command5");
        button->show();
        const auto hide_again = qScopeGuard([button] { button->hide(); });

        // Ink is whatever the caption adds to the bare button.
        const QImage with_caption = button->grab().toImage();
        const QString caption = button->text();
        button->setText(QString());
        const QImage bare = button->grab().toImage();
        button->setText(caption);
        QCOMPARE(with_caption.size(), bare.size());

        int lines = 0;
        bool in_line = false;
        for (int y = 0; y < bare.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < bare.width() && !ink; ++x)
                ink = with_caption.pixel(x, y) != bare.pixel(x, y);
            lines += ink && !in_line;
            in_line = ink;
        }
        QVERIFY2(lines >= 2, qPrintable(QStringLiteral("caption drawn on %1 line(s)").arg(lines)));
    }

private:
    std::optional<Session> session_;
    Kolmira *form() { return &session_->form; }
};

QTEST_MAIN(TestForm)
#include "test_form.moc"
