#pragma once

#include <QPushButton>

// A command button whose caption breaks at blanks onto as many lines as the
// button's width needs, centred, and is clipped where it does not fit.
// QPushButton itself keeps a caption on one line.
class CaptionButton : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // Hides the button; returns whether it had the keyboard focus, for the
    // caller to put it where the user goes on. A plain hide() would hand the
    // focus along the tab chain first, and a screen reader would announce
    // every stop on the way.
    bool hide_and_release_focus();

protected:
    void paintEvent(QPaintEvent *event) override;
};
