#include "form/kolmira.h"

void Kolmira::HScroll1_Change() {}

void Kolmira::Command1_Click() {}
