#include "form/kolmira.h"

#include "form/accessibility.h"
#include "form/caption_button.h"
#include "form/form_font.h"

#include <QIcon>
#include <QLabel>
#include <QScrollBar>

namespace
{

// Positions and sizes are laid out in twips; 15 twips make one logical pixel
// at 96 dpi, and Qt scales logical pixels on high-dpi screens.
QRect twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

enum class Frame { none, framed };
enum class Placement { left, centred };

CaptionButton *add_button(QWidget *form, const char *name, const QString &caption, QRect geometry,
                          bool shown)
{
    auto *button = new CaptionButton(caption, form);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setVisible(shown);
    return button;
}

QLabel *add_label(QWidget *form, const char *name, QRect geometry, Frame frame, Placement placement,
                  bool shown)
{
    auto *label = new QLabel(form);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText); // a caption is never markup
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop |
                        (placement == Placement::centred ? Qt::AlignHCenter : Qt::AlignLeft));
    if (frame == Frame::framed)
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setVisible(shown);
    return label;
}

// A bar of the chart has no caption. Its outline keeps the desktop's text
// colour, so that it stands out from the window around it on any palette.
void set_background(QLabel *label, QColor colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

// A caption on a fixed background takes its text colour with it: the
// desktop's own text colour may be as light as the background. Kolmira's
// captioned fields are white, red and green, on each of which black
// contrasts more than white does. (Chosen here rather than computed at
// start-up, which would page in the maths library.)
void set_background_with_black_text(QLabel *label, QColor background)
{
    set_background(label, background);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

} // namespace

Kolmira::Kolmira(Platform &platform, QWidget *parent) : QWidget(parent), platform_(platform)
{
    install_accessibility();
    setObjectName(QStringLiteral("Kolmira"));
    setWindowTitle(QStringLiteral("Kolmira version 1.3 made by Tumbrek"));
    QIcon icon(QStringLiteral(":/icons/kolmira.svg"));
    icon.addFile(QStringLiteral(":/icons/kolmira-48.png"), QSize(48, 48));
    setWindowIcon(icon);
    setFixedSize(716, 497);
    setFont(sans_serif(13.5));

    constexpr bool shown = true;
    constexpr bool hidden = false;
    constexpr auto framed = Frame::framed;
    constexpr auto left = Placement::left;
    constexpr auto centred = Placement::centred;

    Command5 = add_button(this, "Command5", QStringLiteral("Klicka här för att fortsätta rätta"),
                          twips(120, 4800, 2655, 1815), hidden);
    Command4 =
        add_button(this, "Command4", QStringLiteral("Avsluta"), twips(4080, 120, 1695, 615), shown);
    Command3 =
        add_button(this, "Command3", QStringLiteral("Ny rad"), twips(2160, 120, 1695, 615), shown);
    Command2 =
        add_button(this, "Command2", QStringLiteral("Rätta"), twips(240, 120, 1695, 615), hidden);
    Command1 = add_button(this, "Command1", QStringLiteral("Välj siffran"),
                          twips(2160, 720, 1695, 615), shown);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(twips(240, 840, 1575, 375));
    HScroll1->setRange(1, 35);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(1);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's controls are inverted by default, and Qt 6 applies that
    // to the arrow keys too (Right would lower the number). As a number
    // chooser, Right, Up and the wheel turned up raise it.
    HScroll1->setInvertedControls(false);
    HScroll1->setAccessibleName(QStringLiteral("Siffra att välja"));

    // The prize chart: five bars standing on one another, darkest at the top,
    // each with the text of its prize class to the right.
    Label12 = add_label(this, "Label12", twips(8040, 2880, 2535, 735), framed, centred, hidden);
    Label11 = add_label(this, "Label11", twips(3000, 2880, 5055, 735), framed, left, hidden);
    Label10 = add_label(this, "Label10", twips(8040, 3600, 2535, 735), framed, centred, hidden);
    Label9 = add_label(this, "Label9", twips(3000, 3600, 5055, 735), framed, left, hidden);
    Label8 = add_label(this, "Label8", twips(8040, 4320, 2535, 735), framed, centred, hidden);
    Label7 = add_label(this, "Label7", twips(3000, 4320, 5055, 735), framed, left, hidden);
    Label6 = add_label(this, "Label6", twips(8040, 5040, 2535, 855), framed, centred, hidden);
    Label5 = add_label(this, "Label5", twips(3000, 5040, 5055, 855), framed, left, hidden);
    Label4 = add_label(this, "Label4", twips(8040, 5880, 2535, 855), framed, centred, hidden);
    Label3 = add_label(this, "Label3", twips(3000, 5880, 5055, 735), framed, centred, hidden);
    set_background(Label11, {128, 0, 128});
    set_background(Label9, {192, 0, 192});
    set_background(Label7, {255, 0, 255});
    set_background(Label5, {255, 128, 255});
    set_background(Label3, {255, 192, 255});
    Label4->setFont(sans_serif(18));

    Label2 = add_label(this, "Label2", twips(120, 3360, 2655, 1215), Frame::none, left, shown);
    Label2->setFont(sans_serif(12));
    ratt_rad_inmatning_text = add_label(this, "ratt_rad_inmatning_text",
                                        twips(2280, 2160, 5775, 495), framed, left, shown);
    set_background_with_black_text(ratt_rad_inmatning_text, {255, 255, 255});
    Label1 = add_label(this, "Label1", twips(240, 1320, 5535, 735), framed, centred, hidden);
    set_background_with_black_text(Label1, {255, 0, 0});
    in_ratt_sif =
        add_label(this, "in_ratt_sif", twips(4200, 840, 1395, 435), framed, centred, shown);
    visa_antalet_ratt =
        add_label(this, "visa_antalet_ratt", twips(120, 6720, 10455, 615), framed, centred, hidden);
    set_background_with_black_text(visa_antalet_ratt, {0, 255, 0});
    visa_antalet_ratt->setFont(sans_serif(9.75, true));

    notice = new ScreenReaderNotice(this);

    setTabOrder(HScroll1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);

    connect(HScroll1, &QScrollBar::valueChanged, this, &Kolmira::HScroll1_Change,
            Qt::DirectConnection);
    connect(Command1, &QPushButton::clicked, this, &Kolmira::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Kolmira::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Kolmira::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Kolmira::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Kolmira::Command5_Click);
}
