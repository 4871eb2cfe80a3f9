// The program only ever reads: a whole session in a folder of its own leaves
// every name, size, byte and modification time there as it was.

#include "form/kolmira.h"
#include "form/row_file.h"
#include "recording_platform.h"
#include "test_support.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// One line per entry below `folder`, the folder itself included.
QStringList snapshot(const QString &folder)
{
    QStringList lines;
    const QFileInfo root(folder);
    lines << QStringLiteral(". %1").arg(root.lastModified().toMSecsSinceEpoch());
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QByteArray hash;
        if (info.isFile()) {
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        }
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
    void whole_session_leaves_folder_unchanged();
};

void WritesNothing::whole_session_leaves_folder_unchanged()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(write_file(folder.path(), row_file_name,
                       "3\n01020304050607\n01020304081213\n20212223242526\n"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("andra")));
    QVERIFY(write_file(folder.path() + QStringLiteral("/andra"), QStringLiteral("anteckning.txt"),
                       "rader sparade\n"));
    const QStringList before = snapshot(folder.path());

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    {
        RecordingPlatform platform;
        Kolmira form(platform);
        QVERIFY(form.Form_Load());
        form.show();
        auto *scroll = form.findChild<QScrollBar *>("HScroll1");
        const auto click = [&](const char *name) {
            auto *button = form.findChild<QPushButton *>(name);
            QVERIFY2(button->isVisible(), name);
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        };
        for (int n = 1; n <= 11; ++n) {
            scroll->setValue(n);
            click("Command1");
        }
        click("Command2");
        click("Command5");
        QVERIFY(form.findChild<QLabel *>("Label12")->isVisible());
        click("Command4");
        QCOMPARE(platform.end_requests, 1);
        QCOMPARE(platform.prompts.size(), 1);
        QVERIFY(platform.errors.isEmpty());
    }
    QVERIFY(QDir::setCurrent(previous));

    QCOMPARE(snapshot(folder.path()), before);
}

QTEST_MAIN(WritesNothing)
#include "test_writes_nothing.moc"
