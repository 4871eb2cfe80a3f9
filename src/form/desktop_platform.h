#pragma once

#include "form/platform.h"

class DesktopPlatform : public Platform
{
public:
    void show_prompt(QWidget *owner, const QString &text) override;
    void report_error(const QString &text) override;
    void end_program() override;
};
