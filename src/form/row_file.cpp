#include "form/row_file.h"

#include "text/basic_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <cmath>

namespace
{

// Splits the input into items, reading it in chunks so that a huge line
// never has to be held in memory.
class ItemReader
{
public:
    explicit ItemReader(QIODevice &input) : input_(input) {}

    // The next item, or false at the end of the input (or on a read error).
    bool next(QString &item);
    bool failed() const { return failed_; }
    // Editors that save as UTF-8 may put a byte-order mark first.
    void skip_byte_order_mark();

private:
    static constexpr qint64 chunk_size = 64 * 1024;
    static bool is_blank(char c) { return c == ' ' || c == '\t'; }
    static bool is_line_end(char c) { return c == '\n' || c == '\r'; }

    int peek();
    void skip_line_end();
    // Appends to `item`, up to max_item_length characters, everything before
    // the first byte that `stop` accepts, and leaves that byte unread.
    template <typename Stop> void take_until(QString &item, Stop stop);

    QIODevice &input_;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool failed_ = false;
};

int ItemReader::peek()
{
    if (position_ < buffer_.size())
        return static_cast<unsigned char>(buffer_[position_]);
    if (failed_)
        return -1;
    buffer_.resize(chunk_size);
    const qint64 got = input_.read(buffer_.data(), chunk_size);
    failed_ = got < 0;
    buffer_.resize(std::max<qint64>(got, 0));
    position_ = 0;
    return buffer_.isEmpty() ? -1 : static_cast<unsigned char>(buffer_[0]);
}

void ItemReader::skip_byte_order_mark()
{
    for (const int mark : {0xEF, 0xBB, 0xBF}) {
        if (peek() != mark)
            return;
        ++position_;
    }
}

void ItemReader::skip_line_end()
{
    if (peek() == '\r') {
        ++position_;
        if (peek() == '\n')
            ++position_;
    } else if (peek() == '\n') {
        ++position_;
    }
}

template <typename Stop> void ItemReader::take_until(QString &item, Stop stop)
{
    while (peek() >= 0) {
        const char *begin = buffer_.constData() + position_;
        const char *end = buffer_.constData() + buffer_.size();
        const char *p = begin;
        while (p != end && !stop(*p))
            ++p;
        const qsizetype room = max_item_length - item.size();
        item.append(QLatin1String(begin, std::min<qsizetype>(p - begin, room)));
        position_ += p - begin;
        if (p != end)
            return;
    }
}

bool ItemReader::next(QString &item)
{
    item.clear();
    for (;;) {
        int c = peek();
        while (c >= 0 && is_blank(char(c))) {
            ++position_;
            c = peek();
        }
        if (c < 0)
            return false;
        if (!is_line_end(char(c)))
            break;
        skip_line_end(); // a line with nothing on it holds no item
    }

    const auto ends_item = [](char c) { return c == ',' || is_line_end(c); };
    if (peek() == '"') {
        ++position_;
        take_until(item, [](char c) { return c == '"' || is_line_end(c); });
        if (peek() == '"') {
            ++position_;
            QString ignored; // anything between the closing quote and the item's end
            take_until(ignored, ends_item);
        }
    } else {
        take_until(item, ends_item);
        while (!item.isEmpty() && is_blank(item.back().toLatin1()))
            item.chop(1);
    }

    if (peek() == ',')
        ++position_;
    else
        skip_line_end();
    return true;
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
    RowFile result;
    ItemReader reader(input);
    reader.skip_byte_order_mark();
    QString item;
    if (!reader.next(item)) {
        result.error =
            LoadError{reader.failed() ? LoadError::Kind::unreadable : LoadError::Kind::empty};
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
        if (!reader.next(item)) {
            result.error = reader.failed() ? LoadError{LoadError::Kind::unreadable}
                                           : LoadError{LoadError::Kind::too_few_rows, promised,
                                                       int(result.rows.size())};
            return result;
        }
        result.rows.append(item);
    }
    return result;
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
    }
    return {};
}
