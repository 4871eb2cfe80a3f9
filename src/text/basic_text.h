#pragma once
// The number and text conversions that every part of the program shares.
// They never depend on the user's locale: the decimal point is always '.'.

#include <QString>
#include <QStringView>

// The decimal text of n with one leading blank when n is 0 or positive (a
// minus sign takes that place otherwise): 5 gives " 5", -3 gives "-3".
QString Str(qint64 n);

// The decimal text of n without the leading blank: 5 gives "5".
QString CStr(qint64 n);

// The number at the start of a text. Blanks are skipped wherever they stand;
// an optional sign, digits and an optional decimal point with digits are read
// up to the first other character. No digits there (the empty text, too)
// gives 0. Exponents and radix prefixes are not number forms here: "1E3"
// gives 1 and "&H10" gives 0. A value too large for a double gives the
// largest finite double of its sign, so the result is always finite.
double Val(QStringView text);

// `length` characters of `text` from `position`, counted from 1. Where the
// text is shorter only the characters that exist are taken, possibly none.
QStringView sub_text(QStringView text, qsizetype position, qsizetype length);
