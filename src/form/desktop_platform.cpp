#include "form/desktop_platform.h"

#include "form/form_font.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace
{

// The boxes speak in the form's font, at their usual size: the desktop's
// default family may be one that font matching cannot find (Windows' "MS
// Shell Dlg 2" under Wine), and its fallback is a serif.
void show_box(QMessageBox::Icon icon, const QString &text, QWidget *owner)
{
    QMessageBox box(icon, QStringLiteral("Kolmira"), text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    const qreal points = box.font().pointSizeF(); // -1 for a font sized in pixels
    box.setFont(sans_serif(points > 0 ? points : 9));
    box.exec();
}

} // namespace

void DesktopPlatform::show_prompt(QWidget *owner, const QString &text)
{
    show_box(QMessageBox::NoIcon, text, owner);
}

void DesktopPlatform::report_error(const QString &text)
{
    std::fprintf(stderr, "kolmira: %s\n", text.toUtf8().constData());
    show_box(QMessageBox::Critical, text, nullptr);
}

void DesktopPlatform::end_program()
{
    QApplication::exit(0);
}
