#include "form/desktop_platform.h"
#include "form/kolmira.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kolmira"));
    QApplication::setApplicationVersion(QStringLiteral(KOLMIRA_VERSION));
    // Lets Wayland desktops match the window to its desktop entry and icon.
    QApplication::setDesktopFileName(QStringLiteral(KOLMIRA_APP_ID));

    DesktopPlatform platform;
    Kolmira form(platform);
    if (!form.Form_Load())
        return 1;
    form.show();
    return QApplication::exec();
}
