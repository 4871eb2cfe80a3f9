// The guides and the manual pages quote the window's texts and the row
// file's error messages word for word. The texts are taken here from the real
// program, so that a text changed in the program but not in the guides fails.

#include "session.h"

#include <QFile>
#include <QRegularExpression>

namespace
{

const QString readme = QStringLiteral("README.md");
const QString readme_sv = QStringLiteral("README.sv.md");
const QString manual = QStringLiteral("data/kolmira.1");
const QString manual_sv = QStringLiteral("data/kolmira.sv.1");

// The guides' example: its row file, and a draw in which the first row wins.
const QByteArray example_rows = "3\n01051217243035\n02081119263133\n03070913182229\n";
const QList<int> example_draw{3, 5, 12, 17, 24, 30, 33, 7, 9, 19, 35};
// A main number repeated as the first additional number, as the manual pages describe.
const int example_repeat = 12;
// The folder the guides show in an error message.
const QString guide_folder = QStringLiteral("/home/anna");

// A guide's words as a reader sees them: without Markdown's quote, bold and
// code marks or roff's requests and quotes, every run of blanks and line
// ends one blank.
QString words_of(const QString &guide)
{
    QFile file(QStringLiteral(KOLMIRA_SOURCE_DIR "/") + guide);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("^(> ?|\\.[A-Z]+ )"),
                                   QRegularExpression::MultilineOption));
    text.remove(QRegularExpression(QStringLiteral("[*`\"]")));
    return text.simplified();
}

// Whether the guide says the text, as whole words: "Ny rad" is not in "Ny rader".
bool says(const QString &guide, const QString &text)
{
    const QRegularExpression quoted(
        QStringLiteral("(?<!\\w)%1(?!\\w)").arg(QRegularExpression::escape(text.simplified())),
        QRegularExpression::UseUnicodePropertiesOption);
    return words_of(guide).contains(quoted);
}

// The Debian releases Kolmira is packaged for, as tools/debian/suites lists
// them: a number and a codename a line.
QList<QStringList> debian_suites()
{
    QFile file(QStringLiteral(KOLMIRA_SOURCE_DIR "/tools/debian/suites"));
    QList<QStringList> suites;
    if (!file.open(QIODevice::ReadOnly))
        return suites;
    const QRegularExpression suite(QStringLiteral("^(\\d+)\\s+(\\S+)"));
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (const auto match = suite.match(line); match.hasMatch())
            suites.append({match.captured(1), match.captured(2)});
    }
    return suites;
}

} // namespace

class TestGuides : public QObject
{
    Q_OBJECT
private slots:
    // Runs the guides' example check, taking each text as the window shows it.
    void initTestCase()
    {
        Session s(example_rows);
        QVERIFY(s.start());
        for (const char *button : {"Command1", "Command2", "Command3", "Command4", "Command5"})
            shown_[button] = s.caption(button);
        shown_["scroll bar"] = s.scroll()->accessibleName();
        s.enter(example_draw[0]);
        s.enter(example_draw[0]);
        shown_["refusal"] = s.caption("Label1");
        s.enter_draw(example_draw.mid(1, 6));
        QCOMPARE(s.platform.prompts.size(), 1);
        shown_["prompt"] = s.platform.prompts.constFirst();
        // As the manual pages say: the prompt comes back, and the refusal goes as
        // the scroll bar returns to 1.
        s.enter(example_repeat);
        QCOMPARE(s.platform.prompts.size(), 2);
        QCOMPARE(s.scroll()->value(), 1);
        QVERIFY(!s.label("Label1")->isVisible());
        s.enter_draw(example_draw.mid(7));
        shown_["draw"] = s.caption("ratt_rad_inmatning_text");
        s.click("Command2");
        shown_["result"] = s.caption("visa_antalet_ratt");
        shown_["summary"] = s.caption("Label2");
        s.click("Command5");
        shown_["chart"] = s.caption("Label6"); // the class the example won, 5
    }

    void window_texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("guides");
        const QStringList all{readme, readme_sv, manual, manual_sv};
        const QStringList readmes{readme, readme_sv};
        QTest::newRow("Välj siffran") << shown_.value("Command1") << all;
        QTest::newRow("Rätta") << shown_.value("Command2") << all;
        QTest::newRow("Ny rad") << shown_.value("Command3") << all;
        QTest::newRow("Avsluta") << shown_.value("Command4") << all;
        QTest::newRow("the chart button") << shown_.value("Command5") << all;
        QTest::newRow("the scroll bar's name") << shown_.value("scroll bar") << QStringList{readme};
        QTest::newRow("the refusal") << shown_.value("refusal") << readmes;
        QTest::newRow("the prompt") << shown_.value("prompt") << readmes;
        QTest::newRow("the example's draw") << shown_.value("draw") << QStringList{readme_sv};
        QTest::newRow("the example's result") << shown_.value("result") << QStringList{readme_sv};
        QTest::newRow("the example's summary") << shown_.value("summary") << QStringList{readme_sv};
        QTest::newRow("the example's chart") << shown_.value("chart") << QStringList{readme_sv};
    }

    void window_texts()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, guides);
        QVERIFY(!text.simplified().isEmpty());
        for (const QString &guide : guides) {
            QVERIFY2(says(guide, text),
                     qPrintable(guide + QStringLiteral(" does not say: ") + text));
        }
    }

    void error_messages_data()
    {
        // The file's bytes; "missing", "folder" and "pipe" put nothing, a
        // folder or a named pipe in its place.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("guide"); // which quotes the message
        QTest::newRow("missing") << QByteArray("missing") << readme_sv;
        QTest::newRow("missing, in English") << QByteArray("missing") << readme;
        QTest::newRow("a folder") << QByteArray("folder") << readme_sv;
        QTest::newRow("empty") << QByteArray("") << readme_sv;
        QTest::newRow("a row short")
            << example_rows.first(example_rows.indexOf("03070913182229")) << readme_sv;
        QTest::newRow("42 rows") << QByteArray("42\n") << readme_sv;
        QTest::newRow("a named pipe") << QByteArray("pipe") << manual_sv;
    }

    void error_messages()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, guide);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        if (bytes == "folder")
            QVERIFY(QDir(folder.path()).mkdir(row_file_name));
        else if (bytes != "missing" && bytes != "pipe")
            QVERIFY(write_file(folder.path(), row_file_name, bytes));

        // Windows has no named pipes in folders; the refusal's words are the same.
        RowFile file;
        if (bytes == "pipe")
            file.error = LoadError{LoadError::Kind::not_a_file};
        else
            file = load_row_file(folder.path());
        QVERIFY(file.error);
        QString text = load_error_text(*file.error, folder.path());
        text.replace(QDir::toNativeSeparators(QDir(folder.path()).absolutePath()), guide_folder);
        QVERIFY2(says(guide, text), qPrintable(guide + QStringLiteral(" does not say: ") + text));
    }

    // The apt steps are for every Debian release packaged for, named by its
    // number and by the codename its .sources file carries.
    void debian_releases_data()
    {
        QTest::addColumn<QString>("guide");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("codename");
        const QList<QStringList> suites = debian_suites();
        if (suites.isEmpty())
            QTest::newRow("tools/debian/suites") << readme << QString() << QString();
        for (const QStringList &suite : suites) {
            for (const QString &guide : {readme, readme_sv})
                QTest::addRow("%s in %s", qPrintable(suite[1]), qPrintable(guide))
                    << guide << suite[0] << suite[1];
        }
    }

    void debian_releases()
    {
        QFETCH(QString, guide);
        QFETCH(QString, number);
        QFETCH(QString, codename);
        QVERIFY2(!codename.isEmpty(), "tools/debian/suites lists no release");
        for (const QString &name : {codename, QStringLiteral("Debian ") + number})
            QVERIFY2(says(guide, name),
                     qPrintable(guide + QStringLiteral(" does not say: ") + name));
    }

    // The setup program's Start-menu entries, as the guides name them.
    void start_menu()
    {
        QFile script(QStringLiteral(KOLMIRA_SOURCE_DIR "/data/windows/kolmira.nsi"));
        QVERIFY(script.open(QIODevice::ReadOnly));
        const QString nsis = QString::fromUtf8(script.readAll());
        const QRegularExpression shortcut(
            QStringLiteral("CreateShortCut \"\\$SMPROGRAMS\\\\([^\"]+)\\.lnk\""));
        int entries = 0;
        for (auto it = shortcut.globalMatch(nsis); it.hasNext(); ++entries) {
            const QString entry = it.next().captured(1);
            for (const QString &guide : {readme, readme_sv})
                QVERIFY2(says(guide, entry),
                         qPrintable(guide + QStringLiteral(" does not say: ") + entry));
        }
        QCOMPARE(entries, 3);
    }

private:
    QMap<QString, QString> shown_;
};

QTEST_MAIN(TestGuides)
#include "test_guides.moc"
