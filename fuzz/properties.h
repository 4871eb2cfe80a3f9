#pragma once
// What must hold for any input at all, whether it came from the fuzzer or
// from the committed corpus. Each check returns an empty text when the
// property holds and a description of the fault otherwise.

#include "check/hits.h"
#include "form/check_state.h"
#include "form/row_file.h"
#include "text/basic_text.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace properties
{

// Hands out the bytes a few at a time, as a pipe or a slow disk might, so
// that items split across reads are exercised without megabyte inputs.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray &bytes, qint64 step) : bytes_(bytes), step_(step)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        const qint64 n = std::min({size, step_, qint64(bytes_.size()) - position_});
        std::copy_n(bytes_.constData() + position_, n, data);
        position_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 step_;
    qint64 position_ = 0;
};

inline QString same_result(const RowFile &a, const RowFile &b)
{
    if (a.error.has_value() != b.error.has_value() || a.rows != b.rows ||
        !(a.sista_rad == b.sista_rad || (std::isnan(a.sista_rad) && std::isnan(b.sista_rad))))
        return QStringLiteral("the result depends on how the bytes arrive");
    if (a.error && (a.error->kind != b.error->kind || a.error->found != b.error->found))
        return QStringLiteral("the load error depends on how the bytes arrive");
    return {};
}

// A draw of eleven different numbers, to check that any row read can be
// matched against it without going past seven hits.
inline constexpr auto some_draw = u" 1 2 3 4 5 6 7 8 91011";

inline QString check_row_file(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const RowFile file = read_rows(buffer);

    // The same bytes delivered 1 to 8 at a time must give the same result.
    TrickleDevice trickle(bytes, bytes.isEmpty() ? 1 : 1 + (uchar(bytes.back()) & 7));
    if (const QString fault = same_result(file, read_rows(trickle)); !fault.isEmpty())
        return fault;

    if (file.error) {
        if (load_error_text(*file.error, QStringLiteral("/mapp")).isEmpty())
            return QStringLiteral("a load error without a message");
        if (file.error->kind == LoadError::Kind::too_few_rows &&
            file.error->found >= row_count(file.error->promised - 1))
            return QStringLiteral("too few rows reported, but all %1 were there")
                .arg(file.error->found);
        return {};
    }
    if (!(file.sista_rad < max_rows))
        return QStringLiteral("sista_rad %1 is not below %2").arg(file.sista_rad).arg(max_rows);
    if (file.rows.size() > max_rows)
        return QStringLiteral("%1 rows read, more than the table holds").arg(file.rows.size());
    if (file.rows.size() != row_count(file.sista_rad))
        return QStringLiteral("%1 rows read for sista_rad %2")
            .arg(file.rows.size())
            .arg(file.sista_rad);
    for (const QString &row : file.rows) {
        if (row.size() > max_item_length)
            return QStringLiteral("a row of %1 characters was kept").arg(row.size());
        for (qsizetype p = 1; p <= 13; p += 2) {
            if (!std::isfinite(Val(sub_text(row, p, 2))))
                return QStringLiteral("a field of row \"%1\" is not a finite number").arg(row);
        }
        const Hits hits = count_hits(row, some_draw);
        if (hits.main < 0 || hits.additional < 0 || hits.main + hits.additional > 7)
            return QStringLiteral("row \"%1\" has %2 + %3 hits")
                .arg(row)
                .arg(hits.main)
                .arg(hits.additional);
    }
    return {};
}

// A two-character text holds at most "99" and at least "-9".
inline QString check_pair(QStringView pair)
{
    const double value = Val(pair);
    if (!std::isfinite(value) || value < -9 || value > 99)
        return QStringLiteral("Val(\"%1\") is %2").arg(pair).arg(value);
    return {};
}

// Every two neighbouring characters of the input, read as 8-bit text and as
// UTF-16, and the whole input at once.
inline QString check_val(const QByteArray &bytes)
{
    const QString latin1 = QString::fromLatin1(bytes);
    for (qsizetype i = 0; i + 1 < latin1.size(); ++i) {
        if (const QString fault = check_pair(QStringView(latin1).sliced(i, 2)); !fault.isEmpty())
            return fault;
    }
    QString utf16(bytes.size() / 2, Qt::Uninitialized); // copied: the bytes may be unaligned
    std::memcpy(utf16.data(), bytes.constData(), utf16.size() * sizeof(QChar));
    for (qsizetype i = 0; i + 1 < utf16.size(); ++i) {
        if (const QString fault = check_pair(QStringView(utf16).sliced(i, 2)); !fault.isEmpty())
            return fault;
    }
    if (!std::isfinite(Val(latin1)) || !std::isfinite(Val(utf16)))
        return QStringLiteral("Val of the whole input is not finite");
    return {};
}

// A fuzz target stops at the first input that breaks a property.
inline void abort_on_fault(const char *what, const QString &fault)
{
    if (fault.isEmpty())
        return;
    std::fprintf(stderr, "%s: %s\n", what, fault.toUtf8().constData());
    std::abort();
}

} // namespace properties
