#include "form/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

bool CaptionButton::hide_and_release_focus()
{
    const bool had_focus = hasFocus();
    clearFocus();
    hide();
    return had_focus;
}

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setClipRect(area);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}
