#include "form/row_file.h"

#include "text/basic_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace
{

constexpr qint64 chunk_size = 64 * 1024;

// The device's bytes, a chunk at a time. A failed read ends the input and is
// remembered, so that it is never taken for the end of the file.
class ByteInput
{
public:
    explicit ByteInput(QIODevice &device) : device_(device) {}

    // Reads the next chunk into `bytes` after its first `kept` bytes; false
    // when nothing more came.
    bool read(QByteArray &bytes, qsizetype kept)
    {
        qint64 got = -1;
        if (!failed_) {
            bytes.resize(kept + chunk_size);
            got = device_.read(bytes.data() + kept, chunk_size);
            failed_ = got < 0;
        }
        bytes.resize(kept + std::max<qint64>(got, 0));
        return got > 0;
    }
    bool failed() const { return failed_; }

private:
    QIODevice &device_;
    bool failed_ = false;
};

// The input as units of its encoding, a chunk at a time; an empty chunk is
// the end. One byte is one character, except in a file that starts with a
// UTF-16 byte-order mark.
template <typename Unit> class Units;

template <> class Units<char>
{
public:
    Units(ByteInput &input, QByteArray start) : input_(input), bytes_(std::move(start)) {}

    std::string_view next_chunk()
    {
        // The bytes read while looking for a byte-order mark come first,
        // unless the mark was all of them.
        if (used_ || bytes_.isEmpty())
            input_.read(bytes_, 0);
        used_ = true;
        return {bytes_.constData(), size_t(bytes_.size())};
    }

private:
    ByteInput &input_;
    QByteArray bytes_;
    bool used_ = false;
};

template <> class Units<char16_t>
{
public:
    Units(ByteInput &input, QByteArray start, bool big_endian)
        : input_(input), bytes_(std::move(start)), big_endian_(big_endian)
    {
    }

    std::u16string_view next_chunk()
    {
        for (;;) {
            const qsizetype count = bytes_.size() / 2;
            if (count > 0) {
                units_.resize(count);
                if (big_endian_)
                    qFromBigEndian<char16_t>(bytes_.constData(), count, units_.data());
                else
                    qFromLittleEndian<char16_t>(bytes_.constData(), count, units_.data());
                // A unit split between two chunks waits for its second byte.
                const bool odd = bytes_.size() % 2 != 0;
                if (odd)
                    bytes_[0] = bytes_.back();
                bytes_.resize(odd ? 1 : 0);
                return units_;
            }
            if (!input_.read(bytes_, bytes_.size())) {
                // A byte left over at the very end reads like a line end.
                const bool odd = bytes_.size() == 1 && !input_.failed();
                bytes_.clear();
                return odd ? u"\n" : u"";
            }
        }
    }

private:
    ByteInput &input_;
    QByteArray bytes_;
    std::u16string units_;
    bool big_endian_;
};

// Where in [begin, end) the first `unit` stands; `end` if nowhere. Both are
// block searches, so that reading past a long item runs at memory speed.
const char *find_unit(const char *begin, const char *end, char unit)
{
    const void *found = std::memchr(begin, unit, size_t(end - begin));
    return found ? static_cast<const char *>(found) : end;
}

const char16_t *find_unit(const char16_t *begin, const char16_t *end, char unit)
{
    const qsizetype at = QStringView(begin, end).indexOf(QLatin1Char(unit));
    return at < 0 ? end : begin + at;
}

void append_units(QString &item, const char *units, qsizetype count)
{
    item.append(QLatin1String(units, count));
}

void append_units(QString &item, const char16_t *units, qsizetype count)
{
    item.append(QStringView(units, count));
}

// Splits the input into items, reading it in chunks so that a huge line
// never has to be held in memory.
template <typename Unit> class ItemReader
{
public:
    explicit ItemReader(Units<Unit> &units) : units_(units) {}

    // The next item, or false at the end of the input (or on a read error).
    bool next(QString &item);

private:
    static bool is_blank(int c) { return c == ' ' || c == '\t'; }
    static bool is_line_end(int c) { return c == '\n' || c == '\r'; }

    int peek();
    void skip_line_end();
    // Appends to `item`, if given, up to max_item_length characters of
    // everything before the first unit in `stops`, and leaves that unit unread.
    void take_until(QString *item, std::initializer_list<char> stops);

    Units<Unit> &units_;
    std::basic_string_view<Unit> chunk_;
    size_t position_ = 0;
};

template <typename Unit> int ItemReader<Unit>::peek()
{
    if (position_ == chunk_.size()) {
        chunk_ = units_.next_chunk();
        position_ = 0;
        if (chunk_.empty())
            return -1;
    }
    return std::make_unsigned_t<Unit>(chunk_[position_]);
}

template <typename Unit> void ItemReader<Unit>::skip_line_end()
{
    if (peek() == '\r') {
        ++position_;
        if (peek() == '\n')
            ++position_;
    } else if (peek() == '\n') {
        ++position_;
    }
}

template <typename Unit>
void ItemReader<Unit>::take_until(QString *item, std::initializer_list<char> stops)
{
    while (peek() >= 0) {
        const Unit *begin = chunk_.data() + position_;
        const Unit *end = chunk_.data() + chunk_.size();
        const Unit *stop = end;
        for (const char unit : stops) // each search ends where the one before found its unit
            stop = find_unit(begin, stop, unit);
        if (item)
            append_units(*item, begin,
                         std::min<qsizetype>(stop - begin, max_item_length - item->size()));
        position_ += stop - begin;
        if (stop != end)
            return;
    }
}

template <typename Unit> bool ItemReader<Unit>::next(QString &item)
{
    item.clear();
    for (;;) {
        int c = peek();
        while (is_blank(c)) {
            ++position_;
            c = peek();
        }
        if (c < 0)
            return false;
        if (!is_line_end(c))
            break;
        skip_line_end(); // a line with nothing on it holds no item
    }

    if (peek() == '"') {
        ++position_;
        take_until(&item, {'"', '\n', '\r'});
        if (peek() == '"') {
            ++position_;
            take_until(nullptr, {'\n', ',', '\r'}); // between the closing quote and the item's end
        }
    } else {
        take_until(&item, {'\n', ',', '\r'});
        while (!item.isEmpty() && is_blank(item.back().unicode()))
            item.chop(1);
    }

    if (peek() == ',')
        ++position_;
    else
        skip_line_end();
    return true;
}

template <typename Unit> RowFile read_items(Units<Unit> &units, const ByteInput &input)
{
    RowFile result;
    ItemReader<Unit> reader(units);
    // A read that fails part-way leaves the item before it looking complete,
    // so the failure is looked for after every item.
    QString item;
    if (!reader.next(item) || input.failed()) {
        result.error =
            LoadError{input.failed() ? LoadError::Kind::unreadable : LoadError::Kind::empty};
        return result;
    }

    const double promised = Val(item);
    result.sista_rad = promised - 1;
    if (result.sista_rad >= max_rows) {
        result.error = LoadError{LoadError::Kind::too_many_rows, promised};
        return result;
    }

    const int wanted = row_count(result.sista_rad);
    while (result.rows.size() < wanted) {
        const bool found = reader.next(item);
        if (input.failed() || !found) {
            result.error = input.failed() ? LoadError{LoadError::Kind::unreadable}
                                          : LoadError{LoadError::Kind::too_few_rows, promised,
                                                      int(result.rows.size())};
            return result;
        }
        result.rows.append(item);
    }
    return result;
}

QString count_text(double count)
{
    if (std::abs(count) < 1e15 && count == std::floor(count))
        return QString::number(qint64(count));
    return QString::number(count, 'g', 15);
}

// "1 rad", "3 rader", "inga rader": the message reads as plain Swedish.
QString rows_text(double count)
{
    if (count == 0)
        return QStringLiteral("inga rader");
    return count_text(count) + (count == 1 ? QStringLiteral(" rad") : QStringLiteral(" rader"));
}

} // namespace

RowFile read_rows(QIODevice &input)
{
    ByteInput bytes(input);
    QByteArray start;
    while (start.size() < 3 && bytes.read(start, start.size())) {
    }
    // Editors may put a byte-order mark first. After a UTF-8 one the bytes
    // read as they do without it; after a UTF-16 one every two bytes are one
    // character.
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) {
        Units<char16_t> units(bytes, start.sliced(2), start[0] == '\xFE');
        return read_items(units, bytes);
    }
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    Units<char> units(bytes, std::move(start));
    return read_items(units, bytes);
}

RowFile load_row_file(const QString &folder)
{
    const QString path = QDir(folder).filePath(row_file_name);
    const QFileInfo info(path);
    if (!info.exists()) {
        RowFile result;
        result.error = LoadError{LoadError::Kind::missing};
        return result;
    }

    if (!info.isDir() && !info.isFile()) {
        RowFile result;
        result.error = LoadError{LoadError::Kind::not_a_file};
        return result;
    }

    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        RowFile result;
        result.error = LoadError{LoadError::Kind::unreadable};
        result.error->reason = info.isDir() ? QStringLiteral("det är en mapp") : file.errorString();
        return result;
    }
    RowFile result = read_rows(file);
    if (result.error && result.error->kind == LoadError::Kind::unreadable)
        result.error->reason = file.errorString();
    return result; // the file closes here, as soon as it has been read
}

QString load_error_text(const LoadError &error, const QString &folder)
{
    const QString where = QDir::toNativeSeparators(QDir(folder).absolutePath());
    switch (error.kind) {
    case LoadError::Kind::missing:
        return QStringLiteral("Radfilen %1 finns inte i mappen %2. "
                              "Lägg filen där och starta Kolmira igen.")
            .arg(QLatin1String(row_file_name), where);
    case LoadError::Kind::unreadable:
        return QStringLiteral("Radfilen %1 i mappen %2 kunde inte läsas (%3).")
            .arg(QLatin1String(row_file_name), where, error.reason);
    case LoadError::Kind::empty:
        return QStringLiteral("Radfilen %1 i mappen %2 är tom. Filens första rad ska ange "
                              "hur många lottorader som följer.")
            .arg(QLatin1String(row_file_name), where);
    case LoadError::Kind::too_few_rows: {
        const QString found =
            error.found == 0 ? rows_text(0) : QStringLiteral("bara ") + rows_text(error.found);
        return QStringLiteral("Radfilen %1 i mappen %2 lovar %3, men %4 finns i filen.")
            .arg(QLatin1String(row_file_name), where, rows_text(error.promised), found);
    }
    case LoadError::Kind::too_many_rows:
        return QStringLiteral("Radfilen %1 i mappen %2 lovar %3, men Kolmira klarar högst %4.")
            .arg(QLatin1String(row_file_name), where, rows_text(error.promised),
                 rows_text(max_rows));
    case LoadError::Kind::not_a_file:
        return QStringLiteral("Radfilen %1 i mappen %2 är ingen vanlig fil utan en enhet, en "
                              "namngiven pipe eller liknande, som Kolmira inte läser. Spara "
                              "raderna i en vanlig textfil med det namnet och starta Kolmira igen.")
            .arg(QLatin1String(row_file_name), where);
    }
    return {};
}
