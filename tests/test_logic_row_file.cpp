// Reading the row file: the item rules, the row count, the load errors, and
// files no one would write on purpose, which must load or be refused but
// never bring the program down or make it hold the whole file in memory.
// Every input the fuzzers keep in the corpus is replayed through the
// properties they check.

#include "../fuzz/properties.h"
#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace
{

QByteArray numbered_rows(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "010203040506" + QByteArray::number(i).rightJustified(2, '0') + '\n';
    return bytes;
}

QStringList numbered_row_list(int count)
{
    return QString::fromLatin1(numbered_rows(count)).split(u'\n', Qt::SkipEmptyParts);
}

// The peak resident size of this process so far, in KiB, or -1 if the
// system does not tell.
qint64 peak_resident_kib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    const auto peak = QRegularExpression(QStringLiteral("VmHWM:\\s*(\\d+)"))
                          .match(QString::fromLatin1(
                              status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray()));
    return peak.hasMatch() ? peak.captured(1).toLongLong() : -1;
}

} // namespace

class TestRowFile : public QObject
{
    Q_OBJECT
private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<double>("sista_rad");
        QTest::addColumn<QString>("error"); // the load error's kind, if any

        const QStringList none;
        const double huge = std::numeric_limits<double>::max(); // Val of 400 digits
        const QStringList ab{"01051217243035", "02081119263133"};
        const QByteArray long_item = "0105" + QByteArray(300 * 1024, '7');
        const QString kept = QString::fromLatin1(long_item.left(max_item_length));
        const auto latin1 = [](const char *text, qsizetype size) {
            return QString::fromLatin1(text, size);
        };

        // clang-format off
        QTest::newRow("3 rows") << "3\n" + numbered_rows(3) << numbered_row_list(3) << 2.0 << "";
        QTest::newRow("items after the last row ignored") << "3\n" + numbered_rows(5) << numbered_row_list(3) << 2.0 << "";
        QTest::newRow("41 rows") << "41\n" + numbered_rows(41) << numbered_row_list(41) << 40.0 << "";
        QTest::newRow("41.5 reads 41") << "41.5\n" + numbered_rows(41) << numbered_row_list(41) << 40.5 << "";
        QTest::newRow("42 refused although 45 rows are there") << "42\n" + numbered_rows(45) << none << 41.0 << "too many";
        QTest::newRow("10 000 promised, 3 present") << "10000\n" + numbered_rows(3) << none << 9999.0 << "too many";
        QTest::newRow("count of 400 digits") << "1" + QByteArray(400, '0') + "\n01\n" << none << huge << "too many";
        QTest::newRow("2.5 reads 2") << "2.5\n" + numbered_rows(3) << numbered_row_list(2) << 1.5 << "";
        QTest::newRow("0 reads none") << "0\n" + numbered_rows(2) << none << -1.0 << "";
        QTest::newRow("non-numeric reads none") << "rader\n" + numbered_rows(2) << none << -1.0 << "";

        QTest::newRow("quoted rows keep commas and blanks") << QByteArray("2\n\"01,05 12\"\n\" 1051217243035\"\n") << QStringList{"01,05 12", " 1051217243035"} << 1.0 << "";
        QTest::newRow("unquoted row loses its leading blank") << QByteArray("1\n 1051217243035\n") << QStringList{"1051217243035"} << 0.0 << "";
        QTest::newRow("trailing blanks of an unquoted row dropped") << QByteArray("1\n01051217243035   \n") << QStringList{"01051217243035"} << 0.0 << "";
        QTest::newRow("quote that never closes ends with its line") << QByteArray("2\n\"0105\n02081119263133\n") << QStringList{"0105", "02081119263133"} << 1.0 << "";
        QTest::newRow("text after closing quote dropped") << QByteArray("2\n\"0105\"xy\n02081119263133\n") << QStringList{"0105", "02081119263133"} << 1.0 << "";
        QTest::newRow("commas separate items") << QByteArray("2,01051217243035,02081119263133") << ab << 1.0 << "";
        QTest::newRow("UTF-8 byte-order mark skipped") << QByteArray("\xEF\xBB\xBF" "2\n01051217243035\n02081119263133\n") << ab << 1.0 << "";
        QTest::newRow("CR LF") << QByteArray("2\r\n01051217243035\r\n02081119263133\r\n") << ab << 1.0 << "";
        QTest::newRow("UTF-16 little-endian, CR LF") << properties::as_utf16(QStringLiteral("2\r\n01051217243035\r\n02081119263133\r\n"), false) << ab << 1.0 << "";
        // U+2C22 and U+0A0D hold the bytes of a comma and a quote, and of CR and LF.
        QTest::newRow("UTF-16 big-endian, CR LF, beyond Latin-1, odd last byte") << properties::as_utf16(QStringLiteral("2\r\n\"01\u2C22 05\"\r\n\u0A0D02081119263133"), true) + '5' << QStringList{QStringLiteral("01\u2C22 05"), QStringLiteral("\u0A0D02081119263133")} << 1.0 << "";
        QTest::newRow("lone CR") << QByteArray("2\r01051217243035\r02081119263133\r") << ab << 1.0 << "";
        QTest::newRow("no final line end") << QByteArray("2\n01051217243035\n02081119263133") << ab << 1.0 << "";
        QTest::newRow("blank lines skipped") << QByteArray("\n2\r\n\r\n   \n01051217243035\n\n\t\n02081119263133\n") << ab << 1.0 << "";
        QTest::newRow("long items cut, the next one reads") << "3\n" + long_item + "\n\"" + long_item + "\"\n02081119263133\n" << QStringList{kept, kept, "02081119263133"} << 2.0 << "";
        QTest::newRow("binary and NUL bytes") << QByteArray("2\n\x01\xff\x80\x00" "a\x1b[31m\n\0\0\0\n", 17) << QStringList{latin1("\x01\xff\x80\x00" "a\x1b[31m", 10), latin1("\0\0\0", 3)} << 1.0 << "";
        QTest::newRow("NUL bytes only") << QByteArray(100, '\0') << none << -1.0 << "";

        QTest::newRow("empty") << QByteArray() << none << -1.0 << "empty";
        QTest::newRow("blanks and line ends only") << QByteArray("  \n\t\r\n \r") << none << -1.0 << "empty";
        QTest::newRow("12 promised, 3 present") << "12\n" + numbered_rows(3) << numbered_row_list(3) << 11.0 << "too few";
        QTest::newRow("2.5 promised, 1 present") << "2.5\n" + numbered_rows(1) << numbered_row_list(1) << 1.5 << "too few";
        // clang-format on
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(double, sista_rad);
        QFETCH(QString, error);

        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const RowFile file = read_rows(buffer);
        const char *const kinds[] = {"missing", "unreadable", "empty",
                                     "too few", "too many",   "not a file"};
        QCOMPARE(file.error ? QString::fromLatin1(kinds[int(file.error->kind)]) : QString(), error);
        QCOMPARE(file.sista_rad, sista_rad);
        QCOMPARE(file.rows, rows);
        if (error.startsWith(QLatin1String("too"))) {
            QCOMPARE(file.error->promised, sista_rad + 1);
            QCOMPARE(file.error->found, rows.size());
        }
    }

    // A read that fails part-way is a read error, never a short or empty
    // file: that would send the user to mend a file that is fine.
    void read_error_data()
    {
        QTest::addColumn<qint64>("readable"); // bytes handed out before every read fails
        // Of "12\n" and twelve rows of 15 bytes.
        QTest::newRow("in the row count") << qint64(1);
        QTest::newRow("in a row") << qint64(3 + 15 + 7);
        QTest::newRow("in the last row") << qint64(3 + 11 * 15 + 7);
    }

    void read_error()
    {
        QFETCH(qint64, readable);
        properties::TrickleDevice device("12\n" + numbered_rows(12), 64, readable);
        const RowFile file = read_rows(device);
        QVERIFY(file.error);
        QCOMPARE(int(file.error->kind), int(LoadError::Kind::unreadable));
    }

    void gigabyte_line_data()
    {
        QTest::addColumn<QByteArray>("head"); // before the line
        QTest::addColumn<QByteArray>("unit"); // one character of the line
        QTest::addColumn<QByteArray>("tail"); // after it
        QTest::newRow("one byte a character")
            << QByteArray("2\n") << QByteArray("5") << QByteArray("\n01020304050607\n");
        QTest::newRow("UTF-16")
            << properties::as_utf16(QStringLiteral("2\n"), false) << QByteArray("5\0", 2)
            << properties::as_utf16(QStringLiteral("\n01020304050607\n"), false).sliced(2);
    }

    // A single line of 1 GiB, one byte or two a character: the reader keeps
    // only the first max_item_length characters of it and carries on with the
    // next row. The file is made here and removed with the folder.
    void gigabyte_line()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, unit);
        QFETCH(QByteArray, tail);
        constexpr qint64 line_size = qint64(1) << 30;
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        if (QStorageInfo(folder.path()).bytesAvailable() < line_size + (qint64(256) << 20))
            KOLMIRA_SKIP(QStringLiteral("less than 1.25 GiB free in the temporary folder"));
        {
            QFile file(QDir(folder.path()).filePath(row_file_name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray chunk = unit.repeated((1 << 20) / unit.size());
            bool written = file.write(head) == head.size();
            for (qint64 done = 0; written && done < line_size; done += chunk.size())
                written = file.write(chunk) == chunk.size();
            if (!written || file.write(tail) != tail.size()) {
                const QString reason = file.errorString();
                file.remove();
                KOLMIRA_SKIP(QStringLiteral("could not write the 1 GiB file: ") + reason);
            }
        }

        const qint64 peak_before = peak_resident_kib();
        const RowFile file = load_row_file(folder.path());
        const qint64 peak_after = peak_resident_kib();
        QVERIFY(!file.error);
        QCOMPARE(file.rows, (QStringList{QString(max_item_length, u'5'), "01020304050607"}));
        if (peak_before < 0 || peak_after < 0)
            KOLMIRA_SKIP(QStringLiteral("the peak resident size is not available here"));
        QVERIFY2(
            peak_after - peak_before < 64 * 1024,
            qPrintable(
                QStringLiteral("peak resident size grew by %1 KiB").arg(peak_after - peak_before)));
    }

    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *target : {"row_file", "val"}) {
            const QDir corpus(QStringLiteral(KOLMIRA_SOURCE_DIR "/fuzz/corpus/") +
                              QLatin1String(target));
            const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
            QVERIFY2(!names.isEmpty(), qPrintable(corpus.path() + QStringLiteral(" is empty")));
            for (const QString &name : names)
                QTest::addRow("%s/%s", target, qPrintable(name)) << corpus.filePath(name);
        }
    }

    void corpus()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        const QByteArray bytes = file.readAll();
        const QString fault = path.contains(QLatin1String("/row_file/"))
                                  ? properties::check_row_file(bytes)
                                  : properties::check_val(bytes);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

QTEST_APPLESS_MAIN(TestRowFile)
#include "test_logic_row_file.moc"
