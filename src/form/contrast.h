#pragma once
// Contrast between colours as WCAG 2 measures it, so that a caption stays
// readable on whatever palette the desktop uses.

#include <QColor>

// From 1 (the same luminance) to 21 (black on white); 4.5 is the least
// WCAG accepts for text.
double contrast_ratio(const QColor &a, const QColor &b);

// Black or white, whichever reads better on `background`.
QColor readable_on(const QColor &background);
