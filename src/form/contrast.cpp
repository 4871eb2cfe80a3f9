#include "form/contrast.h"

#include <algorithm>
#include <cmath>

namespace
{

double relative_luminance(const QColor &colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double contrast_ratio(const QColor &a, const QColor &b)
{
    const double first = relative_luminance(a);
    const double second = relative_luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor readable_on(const QColor &background)
{
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrast_ratio(black, background) >= contrast_ratio(white, background) ? black : white;
}
