// The program only ever reads: a whole session in a folder of its own leaves
// every name, size, byte and modification time there as it was.

#include "session.h"

#include <QCryptographicHash>
#include <QDirIterator>

namespace
{

// One line per entry below `folder`, the folder itself included.
QStringList snapshot(const QString &folder)
{
    QStringList lines{
        QStringLiteral(". %1").arg(QFileInfo(folder).lastModified().toMSecsSinceEpoch())};
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile file(info.filePath());
        const QByteArray hash =
            info.isFile() && file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                : QByteArray();
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(QDir(folder).relativeFilePath(info.filePath()))
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch())
                     .arg(QString::fromLatin1(hash));
    }
    lines.sort();
    return lines;
}

} // namespace

class WritesNothing : public QObject
{
    Q_OBJECT
private slots:
    void whole_session_leaves_folder_unchanged()
    {
        Session s("3\n01020304050607\n01020304081213\n20212223242526\n");
        QVERIFY(QDir::current().mkdir(QStringLiteral("andra")));
        QVERIFY(write_file(QStringLiteral("andra"), QStringLiteral("anteckning.txt"), "rader\n"));
        const QStringList before = snapshot(s.folder.path());

        QVERIFY(s.start());
        s.enter_draw({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        s.click("Command2");
        s.click("Command5");
        QVERIFY(s.label("Label12")->isVisible());
        s.click("Command4");
        QCOMPARE(s.platform.end_requests, 1);
        QCOMPARE(s.platform.prompts.size(), 1);
        QVERIFY(s.platform.errors.isEmpty());

        QCOMPARE(snapshot(s.folder.path()), before);
    }
};

QTEST_MAIN(WritesNothing)
#include "test_writes_nothing.moc"
