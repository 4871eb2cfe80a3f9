#include "form/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace
{

QAccessibleInterface *interface_for(const QString &class_name, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (class_name == QLatin1String("Kolmira"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (class_name == QLatin1String("ScreenReaderNotice"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    return nullptr;
}

} // namespace

void install_accessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(interface_for);
        return true;
    }();
    (void)installed;
}

ScreenReaderNotice::ScreenReaderNotice(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("notice"));
    setVisible(false);
}

void ScreenReaderNotice::tell(const QString &text)
{
    if (!QAccessible::isActive())
        return;
    setAccessibleName(text);
    // Appearing is what makes a notification heard; the widget itself stays
    // hidden, so nothing changes on screen.
    QAccessibleEvent appears(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&appears);
}
