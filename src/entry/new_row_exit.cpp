#include "form/kolmira.h"

#include "form/caption_button.h"
#include "form/platform.h"
#include "text/basic_text.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScrollBar>

void Kolmira::Command3_Click()
{
    state_.antal_siffror = 0;
    HScroll1->setValue(1);
    in_ratt_sif->setText(CStr(1));
    state_.inmatade_siffror.clear();
    state_.ratt_rad.clear();
    ratt_rad_inmatning_text->setText(QString());
    Label1->setVisible(false);
    HScroll1->setVisible(true);
    in_ratt_sif->setVisible(true);
    Command2->setVisible(false);
    Command1->setVisible(true);
}

void Kolmira::Command4_Click()
{
    platform_.end_program();
}

void Kolmira::closeEvent(QCloseEvent *event)
{
    event->accept();
    platform_.end_program();
}
