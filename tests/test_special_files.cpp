// A row file that is no regular file (a named pipe, a link to a device) could
// block or never end: the program refuses it without reading. Named pipes
// and device files are POSIX's, so this test is not built for Windows.

#include "session.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <sys/stat.h>

class TestSpecialFiles : public QObject
{
    Q_OBJECT
private slots:
    void not_a_file_data()
    {
        QTest::addColumn<QString>("target"); // what the row file is a link to; empty: a FIFO
        QTest::newRow("a named pipe with no writer") << QString();
        QTest::newRow("a link to /dev/zero") << QStringLiteral("/dev/zero");
    }

    // A row file that could block or never end must not hang the program, so
    // the test runs the program itself. Its error box then waits on the
    // offscreen platform for a click that never comes: the test watches
    // standard error and ends the program, there or at the time limit.
    void not_a_file()
    {
        QFETCH(QString, target);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = QDir(folder.path()).filePath(row_file_name);
        QVERIFY(target.isEmpty() ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                 : QFile::link(target, path));

        QProcess program;
        program.setWorkingDirectory(folder.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setReadChannel(QProcess::StandardError);
        program.start(QStringLiteral(KOLMIRA_BINARY), {});
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

        const QByteArray expected = "kolmira: " +
                                    load_error_text(LoadError{LoadError::Kind::not_a_file},
                                                    QDir(folder.path()).canonicalPath())
                                        .toUtf8() +
                                    '\n';
        QByteArray said;
        const QDeadlineTimer limit(30000);
        while (!said.contains(expected) && program.waitForReadyRead(limit.remainingTime()))
            said += program.readAll();
        program.kill();
        program.waitForFinished();
        QVERIFY2(said.contains(expected),
                 qPrintable(QStringLiteral("no refusal within 30 s; standard error: ") +
                            QString::fromUtf8(said)));
        QVERIFY2(expected.contains(row_file_name) &&
                     expected.contains(QDir(folder.path()).canonicalPath().toUtf8()) &&
                     expected.contains("ingen vanlig fil"),
                 expected.constData());
    }
};

QTEST_MAIN(TestSpecialFiles)
#include "test_special_files.moc"
