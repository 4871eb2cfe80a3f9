// A row file that cannot be used reaches the user once, through the platform,
// in a message that names the file, its folder and what is wrong; the folder
// is left as it was.

#include "session.h"

class TestFormLoad : public QObject
{
    Q_OBJECT
private slots:
    void load_error_data()
    {
        // The file's bytes; "missing" and "folder" put nothing, or a folder, in its place.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // whole, %1 for the folder

        const QString in = QStringLiteral("Radfilen kolmira_fam.txt i mappen %1 ");
        QTest::newRow("missing") << QByteArray("missing")
                                 << QStringLiteral(
                                        "Radfilen kolmira_fam.txt finns inte i mappen %1. "
                                        "Lägg filen där och starta Kolmira igen.");
        QTest::newRow("a folder of that name")
            << QByteArray("folder") << in + QStringLiteral("kunde inte läsas (det är en mapp).");
        QTest::newRow("empty") << QByteArray()
                               << in + QStringLiteral("är tom. Filens första rad ska ange hur "
                                                      "många lottorader som följer.");
        QTest::newRow("12 promised, 3 present")
            << QByteArray("12\n01\n02\n03\n")
            << in + QStringLiteral("lovar 12 rader, men bara 3 rader finns i filen.");
        QTest::newRow("2 promised, 1 present")
            << QByteArray("2\n01\n")
            << in + QStringLiteral("lovar 2 rader, men bara 1 rad finns i filen.");
        QTest::newRow("2.5 promised, 1 present")
            << QByteArray("2.5\n01\n")
            << in + QStringLiteral("lovar 2.5 rader, men bara 1 rad finns i filen.");
        QTest::newRow("count only")
            << QByteArray("1\n")
            << in + QStringLiteral("lovar 1 rad, men inga rader finns i filen.");
        QTest::newRow("42 promised")
            << "42\n" + QByteArray("01\n").repeated(42)
            << in + QStringLiteral("lovar 42 rader, men Kolmira klarar högst 41 rader.");
    }

    void load_error()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);

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
        QCOMPARE(s.platform.errors.constFirst(),
                 message.arg(QDir::toNativeSeparators(QDir::currentPath())));
    }
};

QTEST_MAIN(TestFormLoad)
#include "test_form_load.moc"
