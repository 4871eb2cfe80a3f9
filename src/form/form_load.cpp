#include "form/kolmira.h"

#include "form/platform.h"
#include "form/row_file.h"
#include "text/basic_text.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>

bool Kolmira::Form_Load()
{
    state_.antal_siffror = 0;
    in_ratt_sif->setText(CStr(HScroll1->value()));

    const QString folder = QDir::currentPath();
    const RowFile file = load_row_file(folder);
    if (file.error) {
        platform_.report_error(load_error_text(*file.error, folder));
        return false;
    }
    for (qsizetype i = 0; i < file.rows.size(); ++i)
        state_.fam_rader.at(i) = file.rows[i];
    state_.sista_rad = file.sista_rad;
    return true;
}
