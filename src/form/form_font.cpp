#include "form/form_font.h"

#include <QStringList>

// Where "MS Sans Serif" is missing, font matching picks a similar
// sans-serif family, preferring ones with the same narrow metrics.
QFont sans_serif(qreal points, bool bold)
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("Helvetica")});
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
