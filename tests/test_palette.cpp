// Every caption stays readable when the desktop switches to another palette
// while Kolmira runs: a whole check is drawn under a light, a dark and a
// high-contrast palette, and the contrast of each caption shown is measured
// from the pixels.

#include "session.h"

#include "contrast.h"

#include <QApplication>
#include <QHash>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace
{

// Against the draw 1..7 + 8..11: one row of each prize class and one that
// wins nothing, so that every caption of the result and the chart is drawn.
const QByteArray rows = "6\n01020304081213\n01020304052021\n01020304050621\n"
                        "01020304050608\n01020304050607\n20212223242526\n";

// The palette a Qt desktop sets with qt6ct's "darker" scheme.
QPalette dark()
{
    return {QColor(0xffffff), QColor(0x424245), QColor(0x979797),
            QColor(0x302f2e), QColor(0x4a4947), QColor(0xffffff),
            QColor(0xffffff), QColor(0x3d3d3d), QColor(0x222020)};
}

// Yellow on black, as people with low vision use.
QPalette high_contrast()
{
    return {Qt::yellow, Qt::black, Qt::white, Qt::white, Qt::yellow,
            Qt::yellow, Qt::white, Qt::black, Qt::black};
}

// Where a control draws its caption, in the form's coordinates.
QRect caption_area(const QWidget *control)
{
    QRect area = control->contentsRect();
    if (auto *button = qobject_cast<const QPushButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    return area.translated(control->pos());
}

// The caption's background is the commonest colour in its area, and its
// text the drawn colour that stands out most from that.
double drawn_contrast(const QImage &image, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    const QColor background(std::max_element(counts.cbegin(), counts.cend()).key());
    double best = 1;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it)
        best = std::max(best, contrast_ratio(background, QColor(*it)));
    return best;
}

// Every caption shown whose contrast is below what WCAG 2 accepts for text.
QStringList unreadable_captions(Session &s, const char *stage)
{
    const QImage image = s.form.grab().toImage();
    QStringList unreadable;
    for (const QWidget *control : s.form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const auto *label = qobject_cast<const QLabel *>(control);
        const auto *button = qobject_cast<const QPushButton *>(control);
        const QString caption = label ? label->text() : button ? button->text() : QString();
        if (!control->isVisible() || caption.isEmpty())
            continue;
        const double ratio = drawn_contrast(image, caption_area(control));
        const QString measured = QStringLiteral("%1 %2 \"%3\": %4 : 1")
                                     .arg(QLatin1String(stage), control->objectName(), caption)
                                     .arg(ratio, 0, 'f', 2);
        qInfo("%s", qPrintable(measured));
        if (ratio < 4.5)
            unreadable << measured;
    }
    return unreadable;
}

} // namespace

class TestPalette : public QObject
{
    Q_OBJECT
private slots:
    void captions_readable_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        // Windows' native style draws its buttons from the system theme, not
        // from the palette, and Qt 6.4 hands widgets no dark palette there:
        // only Windows' own colours reach it, and those it draws readably.
        if (QApplication::style()->name() == QLatin1String("windowsvista"))
            return;
        QTest::newRow("dark") << dark();
        QTest::newRow("high contrast") << high_contrast();
    }

    void captions_readable()
    {
        QFETCH(QPalette, palette);
        Session s(rows);
        QVERIFY(s.start());
        QVERIFY(QTest::qWaitForWindowExposed(&s.form));
        QApplication::setPalette(palette);
        QCoreApplication::processEvents(); // the new palette reaches the widgets by posted events
        const auto light_again =
            qScopeGuard([] { QApplication::setPalette(QApplication::style()->standardPalette()); });

        s.enter(5);
        s.click("Command1");
        QVERIFY(s.label("Label1")->isVisible());
        QCOMPARE(unreadable_captions(s, "refusal").join(u';'), QString());

        s.click("Command3");
        s.enter_draw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        QVERIFY(s.button("Command2")->isVisible());
        QCOMPARE(unreadable_captions(s, "draw").join(u';'), QString());

        s.click("Command2");
        s.click("Command5");
        QVERIFY(s.label("Label12")->isVisible());
        QCOMPARE(unreadable_captions(s, "chart").join(u';'), QString());
    }
};

QTEST_MAIN(TestPalette)
#include "test_palette.moc"
