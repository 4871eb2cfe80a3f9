// Reading the row file: the item rules, the row count and the load errors.

#include "form/row_file.h"

#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

constexpr int no_error = -1;

int kind_of(const RowFile &file)
{
    return file.error ? int(file.error->kind) : no_error;
}

QByteArray numbered_rows(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "010203040506" + QByteArray::number(i).rightJustified(2, '0') + '\n';
    return bytes;
}

QStringList numbered_row_list(int count)
{
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringLiteral("010203040506") + QString::number(i).rightJustified(2, u'0');
    return rows;
}

RowFile read_bytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return read_rows(buffer);
}

} // namespace

class TestRowFile : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void long_item_is_cut_and_the_next_one_reads();
    void load_data();
    void load();
};

void TestRowFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<double>("sista_rad");
    QTest::addColumn<int>("error");
    QTest::addColumn<double>("promised");
    QTest::addColumn<int>("found");

    const int none = no_error;
    const int empty = int(LoadError::Kind::empty);
    const int too_few = int(LoadError::Kind::too_few_rows);
    const int too_many = int(LoadError::Kind::too_many_rows);
    const QStringList no_rows;
    const QStringList ab{"01051217243035", "02081119263133"};

    // clang-format off
    QTest::newRow("3 rows") << "3\n" + numbered_rows(3) << numbered_row_list(3) << 2.0 << none << 0.0 << 0;
    QTest::newRow("items after the last row ignored") << "3\n" + numbered_rows(5) << numbered_row_list(3) << 2.0 << none << 0.0 << 0;
    QTest::newRow("41 rows") << "41\n" + numbered_rows(41) << numbered_row_list(41) << 40.0 << none << 0.0 << 0;
    QTest::newRow("42 refused although 45 rows are there") << "42\n" + numbered_rows(45) << no_rows << 41.0 << too_many << 42.0 << 0;
    QTest::newRow("1000 refused with no rows") << QByteArray("1000\n") << no_rows << 999.0 << too_many << 1000.0 << 0;
    QTest::newRow("41.5 reads 41") << "41.5\n" + numbered_rows(41) << numbered_row_list(41) << 40.5 << none << 0.0 << 0;
    QTest::newRow("2.5 reads 2") << "2.5\n" + numbered_rows(3) << numbered_row_list(2) << 1.5 << none << 0.0 << 0;
    QTest::newRow("0 reads none") << "0\n" + numbered_rows(2) << no_rows << -1.0 << none << 0.0 << 0;
    QTest::newRow("-3 reads none") << "-3\n" + numbered_rows(2) << no_rows << -4.0 << none << 0.0 << 0;
    QTest::newRow("non-numeric reads none") << "rader\n" + numbered_rows(2) << no_rows << -1.0 << none << 0.0 << 0;
    QTest::newRow("count in quotes") << "\"2\"\n" + numbered_rows(2) << numbered_row_list(2) << 1.0 << none << 0.0 << 0;
    QTest::newRow("count with blanks") << " 2 \n" + numbered_rows(2) << numbered_row_list(2) << 1.0 << none << 0.0 << 0;

    QTest::newRow("quoted rows keep commas and blanks") << QByteArray("2\n\"01,05 12\"\n\" 1051217243035\"\n") << QStringList{"01,05 12", " 1051217243035"} << 1.0 << none << 0.0 << 0;
    QTest::newRow("unquoted row loses its leading blank") << QByteArray("1\n 1051217243035\n") << QStringList{"1051217243035"} << 0.0 << none << 0.0 << 0;
    QTest::newRow("trailing blanks of an unquoted row dropped") << QByteArray("1\n01051217243035   \n") << QStringList{"01051217243035"} << 0.0 << none << 0.0 << 0;
    QTest::newRow("quote that never closes ends with its line") << QByteArray("2\n\"0105\n02081119263133\n") << QStringList{"0105", "02081119263133"} << 1.0 << none << 0.0 << 0;
    QTest::newRow("text after closing quote dropped") << QByteArray("2\n\"0105\"xy\n02081119263133\n") << QStringList{"0105", "02081119263133"} << 1.0 << none << 0.0 << 0;
    QTest::newRow("commas separate items") << QByteArray("2,01051217243035,02081119263133") << ab << 1.0 << none << 0.0 << 0;
    QTest::newRow("CR LF") << QByteArray("2\r\n01051217243035\r\n02081119263133\r\n") << ab << 1.0 << none << 0.0 << 0;
    QTest::newRow("lone CR") << QByteArray("2\r01051217243035\r02081119263133\r") << ab << 1.0 << none << 0.0 << 0;
    QTest::newRow("no final line end") << QByteArray("2\n01051217243035\n02081119263133") << ab << 1.0 << none << 0.0 << 0;
    QTest::newRow("blank lines skipped") << QByteArray("\n2\r\n\r\n   \n01051217243035\n\n\t\n02081119263133\n") << ab << 1.0 << none << 0.0 << 0;
    QTest::newRow("NUL and binary bytes") << QByteArray("2\n01\x00\xff\n02081119263133\n", 22) << QStringList{QString::fromLatin1("01\x00\xff", 4), "02081119263133"} << 1.0 << none << 0.0 << 0;

    QTest::newRow("empty") << QByteArray() << no_rows << -1.0 << empty << 0.0 << 0;
    QTest::newRow("blanks and line ends only") << QByteArray("  \n\t\r\n \r") << no_rows << -1.0 << empty << 0.0 << 0;
    QTest::newRow("12 promised, 3 found") << "12\n" + numbered_rows(3) << numbered_row_list(3) << 11.0 << too_few << 12.0 << 3;
    QTest::newRow("2.5 promised, 1 found") << "2.5\n" + numbered_rows(1) << numbered_row_list(1) << 1.5 << too_few << 2.5 << 1;
    QTest::newRow("count only") << QByteArray("5") << no_rows << 4.0 << too_few << 5.0 << 0;
    // clang-format on
}

void TestRowFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(double, sista_rad);
    QFETCH(int, error);
    QFETCH(double, promised);
    QFETCH(int, found);

    const RowFile file = read_bytes(bytes);
    QCOMPARE(kind_of(file), error);
    QCOMPARE(file.sista_rad, sista_rad);
    if (error == no_error || error == int(LoadError::Kind::too_few_rows))
        QCOMPARE(file.rows, rows);
    if (error == int(LoadError::Kind::too_few_rows) ||
        error == int(LoadError::Kind::too_many_rows)) {
        QCOMPARE(file.error->promised, promised);
        QCOMPARE(file.error->found, found);
    }
}

void TestRowFile::long_item_is_cut_and_the_next_one_reads()
{
    const QByteArray long_line = "0105" + QByteArray(300 * 1024, '7');
    const RowFile file =
        read_bytes("3\n" + long_line + "\n\"" + long_line + "\"\n02081119263133\n");
    QVERIFY(!file.error);
    QCOMPARE(file.rows.size(), 3);
    QCOMPARE(file.rows[0], QString::fromLatin1(long_line.left(max_item_length)));
    QCOMPARE(file.rows[1], QString::fromLatin1(long_line.left(max_item_length)));
    QCOMPARE(file.rows[2], QStringLiteral("02081119263133"));
}

void TestRowFile::load_data()
{
    QTest::addColumn<QString>("entry"); // what stands in the folder under the file's name
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("counts"); // counts of rows the message must name

    const QString file = QStringLiteral("file");
    // clang-format off
    QTest::newRow("good file") << file << QByteArray("2\n01051217243035\n02081119263133\n") << no_error << 2 << QStringList();
    QTest::newRow("missing") << QStringLiteral("nothing") << QByteArray() << int(LoadError::Kind::missing) << 0 << QStringList();
    QTest::newRow("empty") << file << QByteArray() << int(LoadError::Kind::empty) << 0 << QStringList();
    QTest::newRow("blanks only") << file << QByteArray("   \n \n") << int(LoadError::Kind::empty) << 0 << QStringList();
    QTest::newRow("short") << file << "12\n" + numbered_rows(3) << int(LoadError::Kind::too_few_rows) << 3 << QStringList{"12 rader", "bara 3 rader"};
    QTest::newRow("one row short") << file << "2\n" + numbered_rows(1) << int(LoadError::Kind::too_few_rows) << 1 << QStringList{"2 rader", "bara 1 rad"};
    QTest::newRow("count only") << file << QByteArray("1\n") << int(LoadError::Kind::too_few_rows) << 0 << QStringList{"1 rad", "inga rader"};
    QTest::newRow("too many") << file << "42\n" + numbered_rows(42) << int(LoadError::Kind::too_many_rows) << 0 << QStringList{"42 rader", "41 rader"};
    QTest::newRow("a folder of that name") << QStringLiteral("folder") << QByteArray() << int(LoadError::Kind::unreadable) << 0 << QStringList();
    // clang-format on
}

void TestRowFile::load()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QFETCH(int, rows);
    QFETCH(QStringList, counts);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (entry == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QLatin1String(row_file_name)));
    else if (entry == QLatin1String("file"))
        QVERIFY(write_file(dir.path(), QLatin1String(row_file_name), bytes));

    const RowFile file = load_row_file(dir.path());
    QCOMPARE(kind_of(file), error);
    QCOMPARE(file.rows.size(), rows);
    if (!file.error)
        return;

    QString text = load_error_text(*file.error, dir.path());
    const QString where = QDir::toNativeSeparators(dir.path());
    QVERIFY2(text.contains(QLatin1String(row_file_name)), qPrintable(text));
    QVERIFY2(text.contains(where), qPrintable(text));
    text.remove(where); // the folder's name may hold digits of its own
    for (const QString &count : counts) {
        const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(count));
        QVERIFY2(text.contains(word), qPrintable(count + QLatin1String(": ") + text));
    }
}

QTEST_APPLESS_MAIN(TestRowFile)
#include "test_logic_row_file.moc"
