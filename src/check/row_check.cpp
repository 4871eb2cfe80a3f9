#include "form/kolmira.h"

void Kolmira::Command2_Click() {}
