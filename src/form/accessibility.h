#pragma once
// What a screen reader is told beyond the controls' captions and values.
//
// A screen reader speaks a notification as it appears, and a control's
// accessible description whenever the control takes the focus. The form
// tells what changes in place (the numbers entered so far, a refusal, the
// prize chart) through a ScreenReaderNotice, and puts what a button moving
// into the focus should bring along (the draw, the result) in its
// description, so that both are spoken at once rather than one cutting off
// the other.

#include <QWidget>

// Exposes the program's window as a frame named by its caption (a plain
// top-level widget would show up as a filler), and ScreenReaderNotice as a
// notification.
void install_accessibility();

// Never shown on screen: a screen reader hears each text it is told as a
// notification that appears, also when the text is the same as before.
class ScreenReaderNotice : public QWidget
{
    Q_OBJECT
public:
    explicit ScreenReaderNotice(QWidget *parent);

    void tell(const QString &text);
};
