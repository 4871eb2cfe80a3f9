#include "form/kolmira.h"

#include "check/hits.h"
#include "form/accessibility.h"
#include "form/caption_button.h"
#include "text/basic_text.h"

#include <QLabel>
#include <QScrollBar>

void Kolmira::Command2_Click()
{
    const bool had_focus = Command2->hide_and_release_focus();
    for (QWidget *control :
         std::initializer_list<QWidget *>{HScroll1, in_ratt_sif, Label1, Command1, Command3})
        control->setVisible(false);
    visa_antalet_ratt->setVisible(true);

    const int rows = row_count(state_.sista_rad);
    for (int i = 0; i < rows; ++i) {
        const Hits hits = count_hits(state_.fam_rader.at(i), state_.ratt_rad);
        state_.antal_ratt.at(i) = hits.main;
        state_.antal_tillagg.at(i) = hits.additional;
    }

    // The tally of each prize class, in the order of PrizeClass.
    int *const tallies[] = {nullptr,
                            &state_.rader_4_1_ratt,
                            &state_.rader_5_ratt,
                            &state_.rader_6_ratt,
                            &state_.rader_6_1_ratt,
                            &state_.rader_7_ratt};
    for (int *tally : tallies) {
        if (tally)
            *tally = 0;
    }
    int antal_vinstrader = 0;
    for (int i = 0; i < rows; ++i) {
        const Hits hits{state_.antal_ratt.at(i), state_.antal_tillagg.at(i)};
        QString rad_resultat = Str(hits.main);
        if (int *tally = tallies[static_cast<int>(prize_class(hits))]) {
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
    // The result is spoken with the chart button or the window as it takes
    // the focus.
    const QString result = Label2->text().isEmpty()
                               ? visa_antalet_ratt->text()
                               : Label2->text() + QLatin1Char(' ') + visa_antalet_ratt->text();
    Command5->setAccessibleDescription(result);
    setAccessibleDescription(result);

    // The keyboard goes on to the chart, or stays with the window; left to
    // itself it would land on "Avsluta", which ends the program.
    if (had_focus) {
        if (Command5->isVisible())
            Command5->setFocus();
        else
            setFocus();
    } else {
        notice->tell(result);
    }
}
