#include "text/text_input.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace
{

constexpr qint64 chunk_size = qint64{64} * 1024;

} // namespace

bool ByteInput::read(QByteArray &bytes, qsizetype kept)
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

TextStart read_text_start(ByteInput &input)
{
    QByteArray start;
    while (start.size() < 3 && input.read(start, start.size())) {
    }
    // Editors may put a byte-order mark first. After a UTF-8 one the bytes
    // read as they do without it.
    if (start.startsWith("\xFF\xFE"))
        return {TextEncoding::utf16_little_endian, start.sliced(2)};
    if (start.startsWith("\xFE\xFF"))
        return {TextEncoding::utf16_big_endian, start.sliced(2)};
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    return {TextEncoding::bytes, std::move(start)};
}

std::string_view TextChunks<char>::next_chunk()
{
    // The bytes read while looking for a byte-order mark come first, unless
    // the mark was all of them.
    if (used_ || bytes_.isEmpty())
        input_.read(bytes_, 0);
    used_ = true;
    return {bytes_.constData(), size_t(bytes_.size())};
}

std::u16string_view TextChunks<char16_t>::next_chunk()
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
