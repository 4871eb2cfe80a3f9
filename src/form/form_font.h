#pragma once
// The form's font, "MS Sans Serif", at a size in points; where that is
// missing, a sans-serif family of the same narrow metrics stands in.

#include <QFont>

QFont sans_serif(qreal points, bool bold = false);
