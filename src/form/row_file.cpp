#include "form/row_file.h"

#include "text/basic_text.h"
#include "text/item_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace
{

QString count_text(double count)
{
    if (std::abs(count) < 1e15 && count == std::floor(count))
        return QString::number(qint64(count));
    return QString::number(count, 'g', 15);
}

// "1 rad", "3 rader", "inga rader": the message reads as plain Swedish.
QString rows_text(double count)
{
    if (count == 0)
        return QStringLiteral("inga rader");
    return count_text(count) + (count == 1 ? QStringLiteral(" rad") : QStringLiteral(" rader"));
}

} // namespace

RowFile read_rows(QIODevice &input)
{
    RowFile result;
    ItemReader reader(input, max_item_length);
    // A read that fails part-way leaves the item before it looking complete,
    // so the failure is looked for after every item.
    QString item;
    if (!reader.next(item) || reader.failed()) {
        result.error =
            LoadError{reader.failed() ? LoadError::Kind::unreadable : LoadError::Kind::empty};
        return result;
    }

    const double promised = Val(item);
    result.sista_rad = promised - 1;
    if (result.sista_rad >= max_rows) {
        result.error = LoadError{LoadError::Kind::too_many_rows, promised};
        return result;
    }

    const int wanted = row_count(result.sista_rad);
    while (result.rows.size() < wanted) {
        const bool found = reader.next(item);
        if (reader.failed() || !found) {
            result.error = reader.failed() ? LoadError{LoadError::Kind::unreadable}
                                           : LoadError{LoadError::Kind::too_few_rows, promised,
                                                       int(result.rows.size())};
            return result;
        }
        result.rows.append(item);
    }
    return result;
}

RowFile load_row_file(const QString &folder)
{
    const QString path = QDir(folder).filePath(row_file_name);
    const QFileInfo info(path);
    if (!info.exists()) {
        RowFile result;
        result.error = LoadError{LoadError::Kind::missing};
        return result;
    }

    if (!info.isDir() && !info.isFile()) {
        RowFile result;
        result.error = LoadError{LoadError::Kind::not_a_file};
        return result;
    }

    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        RowFile result;
        result.error = LoadError{LoadError::Kind::unreadable};
        result.error->reason = info.isDir() ? QStringLiteral("det är en mapp") : file.errorString();
        return result;
    }
    RowFile result = read_rows(file);
    if (result.error && result.error->kind == LoadError::Kind::unreadable)
        result.error->reason = file.errorString();
    return result; // the file closes here, as soon as it has been read
}

QString load_error_text(const LoadError &error, const QString &folder)
{
    const QString where = QDir::toNativeSeparators(QDir(folder).absolutePath());
    switch (error.kind) {
    case LoadError::Kind::missing:
        return QStringLiteral("Radfilen %1 finns inte i mappen %2. "
                              "Lägg filen där och starta Kolmira igen.")
            .arg(QLatin1String(row_file_name), where);
    case LoadError::Kind::unreadable:
        return QStringLiteral("Radfilen %1 i mappen %2 kunde inte läsas (%3).")
            .arg(QLatin1String(row_file_name), where, error.reason);
    case LoadError::Kind::empty:
        return QStringLiteral("Radfilen %1 i mappen %2 är tom. Filens första rad ska ange "
                              "hur många lottorader som följer.")
            .arg(QLatin1String(row_file_name), where);
    case LoadError::Kind::too_few_rows: {
        const QString found =
            error.found == 0 ? rows_text(0) : QStringLiteral("bara ") + rows_text(error.found);
        return QStringLiteral("Radfilen %1 i mappen %2 lovar %3, men %4 finns i filen.")
            .arg(QLatin1String(row_file_name), where, rows_text(error.promised), found);
    }
    case LoadError::Kind::too_many_rows:
        return QStringLiteral("Radfilen %1 i mappen %2 lovar %3, men Kolmira klarar högst %4.")
            .arg(QLatin1String(row_file_name), where, rows_text(error.promised),
                 rows_text(max_rows));
    case LoadError::Kind::not_a_file:
        return QStringLiteral("Radfilen %1 i mappen %2 är ingen vanlig fil utan en enhet, en "
                              "namngiven pipe eller liknande, som Kolmira inte läser. Spara "
                              "raderna i en vanlig textfil med det namnet och starta Kolmira igen.")
            .arg(QLatin1String(row_file_name), where);
    }
    return {};
}
