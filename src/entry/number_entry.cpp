#include "form/kolmira.h"

#include "form/accessibility.h"
#include "form/caption_button.h"
#include "form/platform.h"
#include "text/basic_text.h"

#include <QLabel>
#include <QScrollBar>

void Kolmira::HScroll1_Change()
{
    Label1->setVisible(false);
    in_ratt_sif->setText(CStr(HScroll1->value()));
}

void Kolmira::Command1_Click()
{
    bool finns_redan = false;
    state_.antal_siffror += 1;

    if (state_.antal_siffror > 11) {
        // Cannot happen while Command1 hides at the eleventh number; kept as a guard.
        Label1->setVisible(true);
        Label1->setText(
            QStringLiteral("Du har angett fler än 11 siffror! Klicka på Rätta! eller Ny rad!"));
        HScroll1->setVisible(false);
        in_ratt_sif->setVisible(false);
        notice->tell(Label1->text());
    } else {
        // The chosen number is taken from its label, and every entered number
        // is compared by value, field by field.
        const double chosen = Val(in_ratt_sif->text());
        const int end = 3 * state_.antal_siffror;
        for (int i = 1; i <= end; i += 3) {
            if (Val(sub_text(state_.inmatade_siffror, i, 3)) == chosen)
                finns_redan = true;
        }

        if (finns_redan) {
            Label1->setVisible(true);
            Label1->setText(QStringLiteral("Du har redan den siffran!"));
            state_.antal_siffror -= 1;
            notice->tell(Label1->text());
        } else {
            const int count = state_.antal_siffror;
            const qint64 n = qint64(chosen);
            const QString list = ratt_rad_inmatning_text->text();
            if (count == 8)
                ratt_rad_inmatning_text->setText(list + QStringLiteral("   Tillägg: ") + Str(n));
            if (count >= 9 && count <= 11)
                ratt_rad_inmatning_text->setText(list + QLatin1Char(' ') + Str(n));
            state_.ratt_rad += n < 10 ? Str(n) : Str(n).right(2);
            state_.inmatade_siffror += n < 10 ? QLatin1Char(' ') + Str(n) : Str(n);
            if (count < 8)
                ratt_rad_inmatning_text->setText(state_.inmatade_siffror);
            if (count == 11) {
                // A keyboard user goes on to "Rätta", not to whatever button
                // follows the hidden one ("Ny rad" would throw the draw away).
                const bool had_focus = Command1->hide_and_release_focus();
                HScroll1->setVisible(false);
                in_ratt_sif->setVisible(false);
                Command2->setVisible(true);
                Command3->setVisible(true);
                // Rätta says the whole draw as it takes the focus.
                Command2->setAccessibleDescription(ratt_rad_inmatning_text->text());
                if (had_focus)
                    Command2->setFocus();
            }
            if (!Command2->hasFocus()) // else Rätta has just said it
                notice->tell(ratt_rad_inmatning_text->text());
        }
    }

    // Seven main numbers are in (again, after a refused first additional
    // number): ask for the additional ones and start the scroll bar over.
    if (state_.antal_siffror == 7) {
        platform_.show_prompt(this,
                              QStringLiteral("Nu ska du ange första tilläggs siffran utav 4 st"));
        HScroll1->setValue(1);
    }
}
