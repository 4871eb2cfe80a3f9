#include "form/kolmira.h"

#include <QCloseEvent>

void Kolmira::Command3_Click() {}

void Kolmira::Command4_Click() {}

void Kolmira::closeEvent(QCloseEvent *event)
{
    event->accept();
}
