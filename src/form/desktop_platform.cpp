#include "form/desktop_platform.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

void DesktopPlatform::show_prompt(QWidget *owner, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kolmira"), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void DesktopPlatform::report_error(const QString &text)
{
    std::fprintf(stderr, "kolmira: %s\n", text.toUtf8().constData());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Kolmira"), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void DesktopPlatform::end_program()
{
    QApplication::exit(0);
}
