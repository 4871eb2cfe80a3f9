#include "form/kolmira.h"

void Kolmira::Command5_Click() {}
