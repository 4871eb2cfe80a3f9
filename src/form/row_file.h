#pragma once
// Reading the household's rows from the row file. The reader returns the rows
// or a load error and never shows anything itself.
//
// Format: item 1 is the number of rows; items 2 .. are the rows. An item ends
// at a comma or a line end (LF, CR LF or CR); leading blanks are skipped and
// trailing blanks dropped; an item in double quotes is taken without them and
// may hold commas and blanks (a quote that never closes ends with its line).
// Lines that hold nothing but blanks are skipped, and so is a UTF-8
// byte-order mark at the start. One byte is one character, unless the file
// starts with a UTF-16 byte-order mark (either byte order): then every two
// bytes are one, and an odd byte at the end reads like a line end. Only the
// first max_item_length characters of an item are kept; the rest is read past.

#include "form/check_state.h"

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

inline constexpr auto row_file_name = "kolmira_fam.txt";
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
