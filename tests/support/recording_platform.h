#pragma once
// Stands in for the desktop so that tests never block on a modal box: it
// records what the program would have shown and whether it asked to end.

#include "form/platform.h"

#include <QString>
#include <QStringList>

#include <functional>

class RecordingPlatform : public Platform
{
public:
    void show_prompt(QWidget *, const QString &text) override
    {
        prompts.append(text);
        if (on_prompt)
            on_prompt();
    }
    void report_error(const QString &text) override { errors.append(text); }
    void end_program() override { ++end_requests; }

    QStringList prompts;
    QStringList errors;
    int end_requests = 0;
    std::function<void()> on_prompt; // runs while the "box" is open
};
