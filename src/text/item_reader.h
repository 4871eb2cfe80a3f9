#pragma once
// A text file's items, read front to back; what they mean is the caller's.
//
// An item ends at a comma or a line end (LF, CR LF or CR); leading blanks
// (spaces and tabs) are skipped and trailing blanks dropped; an item in
// double quotes is taken without them and may hold commas and blanks (a quote
// that never closes ends with its line; anything between the closing quote
// and the item's end is dropped). Lines that hold nothing but blanks hold no
// item. Only the first `max_length` characters of an item are kept; the rest
// is read past, a chunk at a time, so that a huge line is never held in
// memory. How bytes become characters: text/text_input.h.

#include <QString>

#include <memory>

class QIODevice;

class ItemReader
{
public:
    // Reads from an open device, which it leaves open; its first few bytes
    // are read at once, for a byte-order mark.
    ItemReader(QIODevice &device, qsizetype max_length);
    ~ItemReader();
    Q_DISABLE_COPY_MOVE(ItemReader)

    // The next item, or false at the end of the input (or after a failed read).
    bool next(QString &item);

    // Whether a read has failed. A read that fails part-way leaves the item
    // before it looking complete, so look after every item.
    bool failed() const;

private:
    class Source; // the input and its items, in the units of its encoding
    std::unique_ptr<Source> source_;
};
