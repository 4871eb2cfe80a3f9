#pragma once
// The form's one seam to the platform: everything that would block on the
// user or end the process. The program uses DesktopPlatform; tests record.

#include <QtGlobal>

class QString;
class QWidget;

class Platform
{
public:
    virtual ~Platform() = default;
    // Only ever used through a reference: a copy would slice the stand-in.
    Q_DISABLE_COPY_MOVE(Platform)

    // A modal box over `owner` with `text`, a single OK button, no icon and
    // the title "Kolmira"; returns once the user has closed it.
    virtual void show_prompt(QWidget *owner, const QString &text) = 0;

    // A failure that stops the program before its window appears: a modal
    // error box titled "Kolmira", and the same text on standard error.
    virtual void report_error(const QString &text) = 0;

    // Ends the program at once, with exit status 0.
    virtual void end_program() = 0;

protected:
    Platform() = default;
};
