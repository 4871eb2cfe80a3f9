// A row file that cannot be used reaches the user once, through the platform,
// in words that name the file, its folder and what is wrong; the folder is
// left as it was.

#include "session.h"

#include <QRegularExpression>

class TestFormLoad : public QObject
{
    Q_OBJECT
private slots:
    void load_error_data()
    {
        // The file's bytes; "missing" and "folder" put nothing, or a folder, in its place.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("words"); // what the message must say

        QTest::newRow("missing") << QByteArray("missing") << QStringList{"finns inte"};
        QTest::newRow("a folder of that name") << QByteArray("folder") << QStringList{"kunde inte"};
        QTest::newRow("empty") << QByteArray() << QStringList{"tom"};
        QTest::newRow("12 promised, 3 present")
            << QByteArray("12\n01\n02\n03\n") << QStringList{"12 rader", "bara 3 rader"};
        QTest::newRow("2 promised, 1 present")
            << QByteArray("2\n01\n") << QStringList{"2 rader", "bara 1 rad"};
        QTest::newRow("count only") << QByteArray("1\n") << QStringList{"1 rad", "inga rader"};
        QTest::newRow("42 promised")
            << "42\n" + QByteArray("01\n").repeated(42) << QStringList{"42 rader", "41 rader"};
    }

    void load_error()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, words);

        Session s(bytes);
        if (bytes == "missing" || bytes == "folder")
            QVERIFY(QFile::remove(row_file_name));
        if (bytes == "folder")
            QVERIFY(QDir::current().mkdir(row_file_name));
        const QStringList before =
            QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        QVERIFY(!s.start());
        QVERIFY(!s.form.isVisible());
        QCOMPARE(s.platform.errors.size(), 1);
        QCOMPARE(s.platform.prompts.size(), 0);
        QCOMPARE(s.platform.end_requests, 0);
        QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

        QString text = s.platform.errors.constFirst();
        const QString where = QDir::toNativeSeparators(QDir::currentPath());
        QVERIFY2(text.contains(QLatin1String(row_file_name)) && text.contains(where),
                 qPrintable(text));
        text.remove(where); // the folder's name may hold digits of its own
        for (const QString &word : words) {
            const QRegularExpression whole(QStringLiteral("\\b%1\\b").arg(word));
            QVERIFY2(text.contains(whole), qPrintable(word + QLatin1String(": ") + text));
        }
    }
};

QTEST_MAIN(TestFormLoad)
#include "test_form_load.moc"
