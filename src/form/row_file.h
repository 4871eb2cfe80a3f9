#pragma once
// The household's rows from the row file, or why they cannot be had.
//
// Item 1 is the number of rows, items 2 .. are the rows, as
// text/item_reader.h splits a file into items. The reader returns the rows
// or a load error and never shows anything itself; load_error_text() words
// the error for the user.

#include "form/check_state.h"

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

inline constexpr auto row_file_name = "kolmira_fam.txt";
// Characters kept of an item; the rest is read past.
inline constexpr qsizetype max_item_length = 1024;

struct LoadError {
    enum class Kind {
        missing,       // no such file in the folder
        unreadable,    // there, but could not be opened or read
        empty,         // no item at all, so no row count
        too_few_rows,  // the count promises more rows than the file holds
        too_many_rows, // the count is above what the row table can hold
        not_a_file,    // a FIFO, a device or a socket, which might never end or never answer
    };
    Kind kind;
    double promised = 0; // the row count of item 1 (too_few_rows, too_many_rows)
    int found = 0;       // row items present (too_few_rows)
    QString reason = {}; // the system's words (unreadable)
};

struct RowFile {
    QStringList rows;               // fam_rader(0), fam_rader(1), ...
    double sista_rad = -1;          // Val(item 1) - 1
    std::optional<LoadError> error; // set when the file cannot be used
};

// Reads items from an open device; closes nothing.
RowFile read_rows(QIODevice &input);

// Opens the row file in `folder`, reads it and closes it at once. Anything
// but a regular file (or a link to one) is refused without being opened.
RowFile load_row_file(const QString &folder);

// A message for the user, in Swedish, naming the file, the folder and what
// is wrong.
QString load_error_text(const LoadError &error, const QString &folder);
