#pragma once
// A device's bytes as characters, a chunk at a time, as its first bytes say.
//
// One byte is one character, unless the input starts with a UTF-16
// byte-order mark (either byte order): then every two bytes are one, and an
// odd byte at the very end reads like a line end ("\n"). A UTF-8 mark at the
// start is skipped. A failed read ends the input and is remembered, so that
// it is never taken for the end of the file.

#include <QByteArray>

#include <string>
#include <string_view>
#include <utility>

class QIODevice;

// The device's bytes, a chunk at a time.
class ByteInput
{
public:
    explicit ByteInput(QIODevice &device) : device_(device) {}

    // Reads the next chunk into `bytes` after its first `kept` bytes; false
    // when nothing more came.
    bool read(QByteArray &bytes, qsizetype kept);
    bool failed() const { return failed_; }

private:
    QIODevice &device_;
    bool failed_ = false;
};

// How the input's first bytes say its characters are stored.
enum class TextEncoding { bytes, utf16_little_endian, utf16_big_endian };

struct TextStart {
    TextEncoding encoding;
    QByteArray bytes; // read while looking for a byte-order mark, the mark left out
};

// Reads the first few bytes of `input` and looks for a byte-order mark.
TextStart read_text_start(ByteInput &input);

// The input's characters as units of its encoding, a chunk at a time; an
// empty chunk is the end. Both begin with the bytes of a TextStart.
template <typename Unit> class TextChunks;

template <> class TextChunks<char>
{
public:
    TextChunks(ByteInput &input, QByteArray start) : input_(input), bytes_(std::move(start)) {}

    std::string_view next_chunk();

private:
    ByteInput &input_;
    QByteArray bytes_;
    bool used_ = false;
};

template <> class TextChunks<char16_t>
{
public:
    TextChunks(ByteInput &input, QByteArray start, bool big_endian)
        : input_(input), bytes_(std::move(start)), big_endian_(big_endian)
    {
    }

    std::u16string_view next_chunk();

private:
    ByteInput &input_;
    QByteArray bytes_;
    std::u16string units_;
    bool big_endian_;
};
