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
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace properties
{

// Hands out the bytes a few at a time, as a pipe or a slow disk might, so
// that items split across reads are exercised without megabyte inputs. Given
// `readable`, every read fails once that many bytes have been handed out, as
// on a failing disk or a network share that drops.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(const QByteArray &bytes, qint64 step, qint64 readable = -1)
        : bytes_(bytes), step_(step),
          end_(readable < 0 ? bytes.size() : std::min<qint64>(readable, bytes.size())),
          fails_(readable >= 0)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        if (fails_ && position_ == end_)
            return -1;
        const qint64 n = std::min({size, step_, end_ - position_});
        std::copy_n(bytes_.constData() + position_, n, data);
        position_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 step_;
    qint64 end_;
    bool fails_;
    qint64 position_ = 0;
};

// `text` as editors save it as "Unicode": a byte-order mark, then two bytes
// a character.
inline QByteArray as_utf16(const QString &text, bool big_endian)
{
    QStringEncoder encoder(big_endian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE,
                           QStringEncoder::Flag::WriteBom);
    return encoder(text);
}

inline QString same_result(const RowFile &a, const RowFile &b, const char *depends_on)
{
    if (a.error.has_value() != b.error.has_value() || a.rows != b.rows ||
        !(a.sista_rad == b.sista_rad || (std::isnan(a.sista_rad) && std::isnan(b.sista_rad))))
        return QStringLiteral("the result depends on %1").arg(QLatin1String(depends_on));
    if (a.error && (a.error->kind != b.error->kind || a.error->found != b.error->found))
        return QStringLiteral("the load error depends on %1").arg(QLatin1String(depends_on));
    return {};
}

// The same text saved as UTF-16 in either byte order must read as `file`,
// with an odd byte at the end when the input has an odd length: that reads
// like a line end, which changes nothing at the end of the input.
inline QString same_as_utf16(const RowFile &file, const QByteArray &bytes, qint64 step)
{
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith("\xFE\xFF"))
        return {}; // a byte-order mark of their own changes how the bytes read
    for (const bool big_endian : {false, true}) {
        QByteArray utf16 = as_utf16(QString::fromLatin1(bytes), big_endian);
        if (bytes.size() % 2 != 0)
            utf16 += bytes.back();
        TrickleDevice trickle(utf16, step);
        if (const QString fault = same_result(file, read_rows(trickle), "the encoding");
            !fault.isEmpty())
            return fault;
    }
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
    const qint64 step = bytes.isEmpty() ? 1 : 1 + (uchar(bytes.back()) & 7);
    TrickleDevice trickle(bytes, step);
    if (const QString fault = same_result(file, read_rows(trickle), "how the bytes arrive");
        !fault.isEmpty())
        return fault;

    if (const QString fault = same_as_utf16(file, bytes, step); !fault.isEmpty())
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
