#pragma once
// Contrast between two colours as WCAG 2 measures it: from 1 (the same
// luminance) to 21 (black on white); 4.5 is the least it accepts for text.

#include <QColor>

#include <algorithm>
#include <cmath>

inline double relative_luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

inline double contrast_ratio(const QColor &a, const QColor &b)
{
    const double first = relative_luminance(a);
    const double second = relative_luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}
