#pragma once
// Matching one row against the draw, and the prize classes.

#include <QStringView>

struct Hits {
    int main = 0;       // the row's numbers among the seven main numbers
    int additional = 0; // the row's numbers among the four additional numbers
};

// A row holds seven numbers in two-character fields (characters 1-2, 3-4, ..
// 13-14; anything after the fourteenth is ignored). The draw, ratt_rad, holds
// the seven main numbers in characters 1-14 and the four additional numbers
// in 15-22. Fields compare by value, so "05", " 5" and "5 " are all 5; a
// field that is blank, missing or 0 matches nothing. A number that stands
// more than once in a row counts once: a row cannot hold a number twice, so
// a repeated one is a slip of the pen, which must not win "7 rätt".
Hits count_hits(QStringView row, QStringView ratt_rad);

enum class PrizeClass { none, four_plus_one, five, six, six_plus_one, seven };

// 4+1: four main hits and at least one additional; 5, 6 (no additional),
// 6+1 and 7. Everything else, 4+0 included, wins nothing.
PrizeClass prize_class(Hits hits);
