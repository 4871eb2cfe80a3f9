#pragma once
// Helpers shared by the tests.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `name` in `folder`; fails the running test on error.
bool write_file(const QString &folder, const QString &name, const QByteArray &bytes);
