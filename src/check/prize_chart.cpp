#include "form/kolmira.h"

#include "form/accessibility.h"
#include "text/basic_text.h"

#include <QLabel>

#include <array>

void Kolmira::Command5_Click()
{
    // Bottom to top: 4+1, 5, 6, 6+1, 7. A class with rows shows its own
    // text and every bar up to its own, so the column is as tall as the best
    // class won.
    const std::array<int, 5> tallies{state_.rader_4_1_ratt, state_.rader_5_ratt,
                                     state_.rader_6_ratt, state_.rader_6_1_ratt,
                                     state_.rader_7_ratt};
    const std::array<QLabel *, 5> bars{Label3, Label5, Label7, Label9, Label11};
    const std::array<QLabel *, 5> texts{Label4, Label6, Label8, Label10, Label12};
    const std::array<QString, 4> classes{QStringLiteral("4+1 rätt "), QStringLiteral("5 rätt "),
                                         QStringLiteral("6 rätt "), QStringLiteral("6+1 rätt ")};

    QStringList shown; // for a screen reader, bottom to top
    for (std::size_t step = 0; step < tallies.size(); ++step) {
        if (tallies[step] <= 0)
            continue;
        for (std::size_t bar = 0; bar <= step; ++bar)
            bars[bar]->setVisible(true);
        texts[step]->setVisible(true);
        texts[step]->setText(step < classes.size()
                                 ? classes[step] + Str(tallies[step]) + QStringLiteral(" st")
                                 : QStringLiteral("7 rätt !!!!"));
        shown.append(texts[step]->text());
    }
    notice->tell(shown.join(QStringLiteral(", ")));
}
