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

protected:
    void paintEvent(QPaintEvent *event) override;
};
