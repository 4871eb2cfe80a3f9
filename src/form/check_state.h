#pragma once
// What the event procedures hand to one another: the household's rows, the
// draw being entered and the results of the last check.

#include <QString>

#include <array>

inline constexpr int max_rows = 41;

struct CheckState {
    std::array<QString, max_rows> fam_rader;   // the rows as read from the row file
    double sista_rad = 0;                      // row count in the file minus 1; may be fractional
    int antal_siffror = 0;                     // numbers of the draw accepted so far
    QString inmatade_siffror;                  // accepted numbers, 3 characters each ("  7", " 23")
    QString ratt_rad;                          // the draw, 2 characters per number (" 7", "23")
    std::array<int, max_rows> antal_ratt{};    // per row: hits among the seven main numbers
    std::array<int, max_rows> antal_tillagg{}; // per row: hits among the four additional numbers
    int rader_4_1_ratt = 0;
    int rader_5_ratt = 0;
    int rader_6_ratt = 0;
    int rader_6_1_ratt = 0;
    int rader_7_ratt = 0;
};

// How many rows a loop "for i = 0 while i <= sista_rad" visits. The row file
// reader refuses a count above the table, so this never exceeds max_rows.
inline int row_count(double sista_rad)
{
    if (!(sista_rad >= 0))
        return 0;
    return sista_rad >= max_rows - 1 ? max_rows : int(sista_rad) + 1;
}
