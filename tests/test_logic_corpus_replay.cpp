// Replays every committed fuzzing input through the same property checks
// the fuzz targets make, so a fault the fuzzer once found stays found.

#include "../fuzz/properties.h"

#include <QDir>
#include <QFile>
#include <QTest>

class CorpusReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data();
    void replay();
};

void CorpusReplay::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    for (const char *target : {"row_file", "val"}) {
        const QDir corpus(QStringLiteral(KOLMIRA_SOURCE_DIR "/fuzz/corpus/") +
                          QLatin1String(target));
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), qPrintable(corpus.path() + QStringLiteral(" is empty")));
        for (const QString &name : names)
            QTest::addRow("%s/%s", target, qPrintable(name))
                << QString::fromLatin1(target) << corpus.filePath(name);
    }
}

void CorpusReplay::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const QByteArray bytes = file.readAll();
    const QString fault = target == QStringLiteral("row_file") ? properties::check_row_file(bytes)
                                                               : properties::check_val(bytes);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

QTEST_APPLESS_MAIN(CorpusReplay)
#include "test_logic_corpus_replay.moc"
