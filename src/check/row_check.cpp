#include "form/kolmira.h"

#include "check/hits.h"
#include "form/caption_button.h"
#include "text/basic_text.h"

#include <QLabel>
#include <QScrollBar>

void Kolmira::Command2_Click()
{
    for (QWidget *control : std::initializer_list<QWidget *>{HScroll1, in_ratt_sif, Label1,
                                                             Command1, Command2, Command3})
        control->setVisible(false);
    visa_antalet_ratt->setVisible(true);

    const int rows = row_count(state_.sista_rad);
    for (int i = 0; i < rows; ++i) {
        const Hits hits = count_hits(state_.fam_rader.at(i), state_.ratt_rad);
        state_.antal_ratt.at(i) = hits.main;
        state_.antal_tillagg.at(i) = hits.additional;
    }

    state_.rader_4_1_ratt = 0;
    state_.rader_5_ratt = 0;
    state_.rader_6_ratt = 0;
    state_.rader_6_1_ratt = 0;
    state_.rader_7_ratt = 0;
    int antal_vinstrader = 0;
    for (int i = 0; i < rows; ++i) {
        const Hits hits{state_.antal_ratt.at(i), state_.antal_tillagg.at(i)};
        QString rad_resultat = Str(hits.main);
        int *tally = nullptr;
        switch (prize_class(hits)) {
        case PrizeClass::none:
            break;
        case PrizeClass::four_plus_one:
            tally = &state_.rader_4_1_ratt;
            break;
        case PrizeClass::five:
            tally = &state_.rader_5_ratt;
            break;
        case PrizeClass::six:
            tally = &state_.rader_6_ratt;
            break;
        case PrizeClass::six_plus_one:
            tally = &state_.rader_6_1_ratt;
            break;
        case PrizeClass::seven:
            tally = &state_.rader_7_ratt;
            break;
        }
        if (tally) {
            rad_resultat = QStringLiteral("??");
            ++*tally;
            ++antal_vinstrader;
        }
        visa_antalet_ratt->setText(visa_antalet_ratt->text() + QLatin1Char(' ') + rad_resultat);
    }

    if (antal_vinstrader > 0) {
        Label2->setText(QStringLiteral("Du har ") + Str(antal_vinstrader) +
                        QStringLiteral(" rader med bättre än 4+0 rätt!"));
        Command5->setVisible(true);
    }
}
