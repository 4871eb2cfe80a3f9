// Form_Load against row files good and bad: a bad one is reported once, by
// name and folder, and the folder is left as it was.

#include "form/kolmira.h"

#include "recording_platform.h"
#include "test_support.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

class TestFormLoad : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void load_error_data();
    void load_error();
    void good_file();

private:
    QString previous_;
    std::optional<QTemporaryDir> dir_;
};

void TestFormLoad::init()
{
    dir_.emplace();
    QVERIFY(dir_->isValid());
    previous_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
}

void TestFormLoad::cleanup()
{
    QDir::setCurrent(previous_);
    dir_.reset();
}

namespace
{

QStringList listing()
{
    return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot);
}

QByteArray rows(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "01051217243035\n";
    return bytes;
}

} // namespace

void TestFormLoad::load_error_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("counts"); // numbers the message must name

    QTest::newRow("missing") << false << QByteArray() << QStringList();
    QTest::newRow("empty") << true << QByteArray() << QStringList();
    QTest::newRow("12 promised, 3 rows") << true << "12\n" + rows(3) << QStringList{"12", "3"};
    QTest::newRow("42 promised") << true << "42\n" + rows(42) << QStringList{"42", "41"};
}

void TestFormLoad::load_error()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, counts);
    if (exists)
        QVERIFY(write_file(QDir::currentPath(), QStringLiteral("kolmira_fam.txt"), bytes));
    const QStringList before = listing();

    RecordingPlatform platform;
    Kolmira form(platform);
    QVERIFY(!form.Form_Load());

    QCOMPARE(platform.errors.size(), 1);
    QVERIFY(platform.prompts.isEmpty());
    QCOMPARE(platform.end_requests, 0);
    QString text = platform.errors.constFirst();
    const QString where = QDir::toNativeSeparators(QDir::currentPath());
    QVERIFY2(text.contains(QLatin1String("kolmira_fam.txt")), qPrintable(text));
    QVERIFY2(text.contains(where), qPrintable(text));
    text.remove(where);
    for (const QString &count : counts) {
        const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(count));
        QVERIFY2(text.contains(word), qPrintable(count + QLatin1String(": ") + text));
    }
    QCOMPARE(listing(), before);
}

void TestFormLoad::good_file()
{
    QVERIFY(write_file(QDir::currentPath(), QStringLiteral("kolmira_fam.txt"),
                       "2.5\r\n01051217243035\r\n\" 2081119263133\"\r\n03\r\n"));
    const QStringList before = listing();

    RecordingPlatform platform;
    Kolmira form(platform);
    QVERIFY(form.Form_Load());
    QVERIFY(platform.errors.isEmpty());

    const CheckState &state = form.check_state();
    QCOMPARE(state.sista_rad, 1.5);
    QCOMPARE(state.fam_rader[0], QStringLiteral("01051217243035"));
    QCOMPARE(state.fam_rader[1], QStringLiteral(" 2081119263133"));
    QVERIFY(state.fam_rader[2].isEmpty());
    QCOMPARE(state.antal_siffror, 0);
    QCOMPARE(listing(), before);
}

QTEST_MAIN(TestFormLoad)
#include "test_form_load.moc"
