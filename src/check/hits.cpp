#include "check/hits.h"

#include "text/basic_text.h"

#include <algorithm>
#include <array>

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a row and the draw, told apart by the tests
Hits count_hits(QStringView row, QStringView ratt_rad)
{
    std::array<double, 11> drawn{};
    for (int k = 0; k < 11; ++k)
        drawn[k] = Val(sub_text(ratt_rad, 2 * k + 1, 2));
    const auto main_end = drawn.begin() + 7;

    Hits hits;
    std::array<double, 7> seen{};
    auto seen_end = seen.begin();
    for (int p = 1; p <= 13; p += 2) {
        const double number = Val(sub_text(row, p, 2));
        if (number == 0 || std::find(seen.begin(), seen_end, number) != seen_end)
            continue;
        *seen_end++ = number;
        hits.main += int(std::count(drawn.begin(), main_end, number));
        hits.additional += int(std::count(main_end, drawn.end(), number));
    }
    return hits;
}

PrizeClass prize_class(Hits hits)
{
    switch (hits.main) {
    case 4:
        return hits.additional > 0 ? PrizeClass::four_plus_one : PrizeClass::none;
    case 5:
        return PrizeClass::five;
    case 6:
        return hits.additional > 0 ? PrizeClass::six_plus_one : PrizeClass::six;
    case 7:
        return PrizeClass::seven;
    default:
        return PrizeClass::none;
    }
}
