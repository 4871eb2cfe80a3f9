#pragma once
// Helpers shared by the tests.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `name` in `folder`; fails the running test on error.
bool write_file(const QString &folder, const QString &name, const QByteArray &bytes);

// Skips a check that cannot run here, saying why. Under CI=true, where
// everything a check needs is there, a skip means something broke: it fails.
#define KOLMIRA_SKIP(reason)                                                                       \
    do {                                                                                           \
        if (qEnvironmentVariable("CI") == QLatin1String("true"))                                   \
            QFAIL(qPrintable(QStringLiteral("skipped under CI=true: ") + (reason)));               \
        QSKIP(qPrintable(QString(reason)));                                                        \
    } while (false)
