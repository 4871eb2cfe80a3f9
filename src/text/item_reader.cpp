#include "text/item_reader.h"

#include "text/text_input.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>

namespace
{

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

// The items of an input whose characters are `Unit`s.
template <typename Unit> class Items
{
public:
    Items(TextChunks<Unit> chunks, qsizetype max_length)
        : chunks_(std::move(chunks)), max_length_(max_length)
    {
    }

    bool next(QString &item);

private:
    static bool is_blank(int c) { return c == ' ' || c == '\t'; }
    static bool is_line_end(int c) { return c == '\n' || c == '\r'; }

    int peek();
    void skip_line_end();
    // Appends to `item`, if given, up to max_length_ characters of everything
    // before the first unit in `stops`, and leaves that unit unread.
    void take_until(QString *item, std::initializer_list<char> stops);

    TextChunks<Unit> chunks_;
    qsizetype max_length_;
    std::basic_string_view<Unit> chunk_;
    size_t position_ = 0;
};

template <typename Unit> int Items<Unit>::peek()
{
    if (position_ == chunk_.size()) {
        chunk_ = chunks_.next_chunk();
        position_ = 0;
        if (chunk_.empty())
            return -1;
    }
    return std::make_unsigned_t<Unit>(chunk_[position_]);
}

template <typename Unit> void Items<Unit>::skip_line_end()
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
void Items<Unit>::take_until(QString *item, std::initializer_list<char> stops)
{
    while (peek() >= 0) {
        const Unit *begin = chunk_.data() + position_;
        const Unit *end = chunk_.data() + chunk_.size();
        const Unit *stop = end;
        for (const char unit : stops) // each search ends where the one before found its unit
            stop = find_unit(begin, stop, unit);
        if (item)
            append_units(*item, begin,
                         std::min<qsizetype>(stop - begin, max_length_ - item->size()));
        position_ += stop - begin;
        if (stop != end)
            return;
    }
}

template <typename Unit> bool Items<Unit>::next(QString &item)
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

} // namespace

// One of the two is set, by the byte-order mark the input starts with.
class ItemReader::Source
{
public:
    explicit Source(QIODevice &device) : input(device) {}

    ByteInput input;
    std::optional<Items<char>> bytes;
    std::optional<Items<char16_t>> utf16;
};

ItemReader::ItemReader(QIODevice &device, qsizetype max_length)
    : source_(std::make_unique<Source>(device))
{
    ByteInput &input = source_->input;
    TextStart start = read_text_start(input);
    if (start.encoding == TextEncoding::bytes) {
        source_->bytes.emplace(TextChunks<char>(input, std::move(start.bytes)), max_length);
    } else {
        const bool big_endian = start.encoding == TextEncoding::utf16_big_endian;
        source_->utf16.emplace(TextChunks<char16_t>(input, std::move(start.bytes), big_endian),
                               max_length);
    }
}

ItemReader::~ItemReader() = default;

bool ItemReader::next(QString &item)
{
    return source_->bytes ? source_->bytes->next(item) : source_->utf16->next(item);
}

bool ItemReader::failed() const
{
    return source_->input.failed();
}
