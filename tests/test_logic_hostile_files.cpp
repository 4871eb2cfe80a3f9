// Row files that no one would write on purpose: each must either load or be
// refused with the load error that names the file, and never bring the
// program down or make it hold the whole file in memory.

#include "form/row_file.h"
#include "test_support.h"

#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace
{

using Kind = LoadError::Kind;

// The peak resident size of this process so far, in KiB, or -1 if the
// system does not tell.
qint64 peak_resident_kib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<LoadError::Kind>)

class HostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void load_or_refuse_data();
    void load_or_refuse();
    void gigabyte_line();
};

void HostileFiles::load_or_refuse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::optional<Kind>>("error");
    QTest::addColumn<QStringList>("rows");

    const QStringList none;
    const auto latin1 = [](const char *text, qsizetype size) {
        return QString::fromLatin1(text, size);
    };

    QTest::newRow("binary bytes") << QByteArray("2\n\x01\x02\xff\xfe\x80"
                                                "abc\n\x7f\x1b[31m\n")
                                  << std::optional<Kind>()
                                  << QStringList{latin1("\x01\x02\xff\xfe\x80"
                                                        "abc",
                                                        8),
                                                 latin1("\x7f\x1b[31m", 6)};
    QTest::newRow("NUL bytes inside rows") << QByteArray("2\n01\0"
                                                         "2030405\n\0\0\0\n",
                                                         17)
                                           << std::optional<Kind>()
                                           << QStringList{latin1("01\0"
                                                                 "2030405",
                                                                 10),
                                                          latin1("\0\0\0", 3)};
    QTest::newRow("NUL bytes only") << QByteArray(100, '\0') << std::optional<Kind>() << none;
    QTest::newRow("blanks only") << QByteArray("   \n \t  \r\n    ") << std::optional(Kind::empty)
                                 << none;
    QTest::newRow("no final line end")
        << QByteArray("2\n01020304050607\n08091011121314") << std::optional<Kind>()
        << QStringList{"01020304050607", "08091011121314"};
    QTest::newRow("quote that never closes")
        << QByteArray("2\n\"01020304050607\n08091011121314\n") << std::optional<Kind>()
        << QStringList{"01020304050607", "08091011121314"};
    QTest::newRow("quote open at the end of the file")
        << QByteArray("1\n\" 1 2 3") << std::optional<Kind>() << QStringList{" 1 2 3"};
    QTest::newRow("10 000 rows promised, 3 present")
        << QByteArray("10000\n01020304050607\n08091011121314\n15161718192021\n")
        << std::optional(Kind::too_many_rows) << none;
    QTest::newRow("41 rows promised, 3 present")
        << QByteArray("41\n01020304050607\n08091011121314\n15161718192021\n")
        << std::optional(Kind::too_few_rows) << none;
    QTest::newRow("count beyond any number") << QByteArray("1" + QByteArray(400, '0') + "\n01\n")
                                             << std::optional(Kind::too_many_rows) << none;
    QTest::newRow("row of 5000 characters")
        << QByteArray("1\n" + QByteArray(5000, '7') + "\n") << std::optional<Kind>()
        << QStringList{QString(max_item_length, u'7')};
}

void HostileFiles::load_or_refuse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::optional<Kind>, error);
    QFETCH(QStringList, rows);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(write_file(folder.path(), row_file_name, bytes));

    const RowFile file = load_row_file(folder.path());
    if (error) {
        QVERIFY2(file.error, "the file was loaded");
        QCOMPARE(file.error->kind, *error);
        const QString text = load_error_text(*file.error, folder.path());
        QVERIFY2(text.contains(row_file_name) && text.contains(QDir(folder.path()).dirName()),
                 qPrintable(text));
    } else {
        QVERIFY2(!file.error,
                 file.error ? qPrintable(load_error_text(*file.error, folder.path())) : "");
        QCOMPARE(file.rows, rows);
        QCOMPARE(row_count(file.sista_rad), rows.size());
    }
}

// A single line of 1 GiB: the reader keeps only the first max_item_length
// characters of it and carries on with the next row. The file is made here
// and removed with the folder.
void HostileFiles::gigabyte_line()
{
    constexpr qint64 line_size = qint64(1) << 30;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (QStorageInfo(folder.path()).bytesAvailable() < line_size + (qint64(256) << 20))
        QSKIP("less than 1.25 GiB free in the temporary folder");

    {
        QFile file(QDir(folder.path()).filePath(row_file_name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray chunk(1 << 20, '5');
        bool written = file.write("2\n") == 2;
        for (qint64 done = 0; written && done < line_size; done += chunk.size())
            written = file.write(chunk) == chunk.size();
        written = written && file.write("\n01020304050607\n") == 16;
        if (!written) {
            const QString reason = file.errorString();
            file.remove();
            QSKIP(qPrintable(QStringLiteral("could not write the 1 GiB file: ") + reason));
        }
    }

    const qint64 peak_before = peak_resident_kib();
    const RowFile file = load_row_file(folder.path());
    const qint64 peak_after = peak_resident_kib();

    QVERIFY(!file.error);
    QCOMPARE(file.rows, (QStringList{QString(max_item_length, u'5'), "01020304050607"}));
    if (peak_before < 0 || peak_after < 0)
        QSKIP("the peak resident size is not available here");
    QVERIFY2(
        peak_after - peak_before < 64 * 1024,
        qPrintable(
            QStringLiteral("peak resident size grew by %1 KiB").arg(peak_after - peak_before)));
}

QTEST_APPLESS_MAIN(HostileFiles)
#include "test_logic_hostile_files.moc"
