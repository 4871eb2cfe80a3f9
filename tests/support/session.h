#pragma once
// One form on a row file of its own. The file is written to a fresh
// temporary folder, which stays the working folder while the session lives;
// the message box and the end of the program are recorded, never shown.

#include "form/kolmira.h"
#include "form/row_file.h"
#include "recording_platform.h"
#include "test_support.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

inline const QByteArray two_rows = "2\n01051217243035\n02081119263133\n";

class Session
{
public:
    explicit Session(const QByteArray &row_file = two_rows)
    {
        QVERIFY(folder.isValid());
        QVERIFY(write_file(folder.path(), row_file_name, row_file));
        QVERIFY(QDir::setCurrent(folder.path()));
    }
    ~Session() { QDir::setCurrent(previous_folder_); }

    // Form_Load, and the form shown when it loaded.
    bool start()
    {
        const bool loaded = form.Form_Load();
        form.setVisible(loaded);
        return loaded;
    }

    const CheckState &state() const { return form.check_state(); }
    QScrollBar *scroll() const { return form.findChild<QScrollBar *>("HScroll1"); }
    QLabel *label(const char *name) const { return form.findChild<QLabel *>(name); }
    QPushButton *button(const char *name) const { return form.findChild<QPushButton *>(name); }
    QString caption(const char *name) const
    {
        return label(name) ? label(name)->text() : button(name)->text();
    }
    // The names of the shown controls, sorted and separated by blanks.
    QString visible_controls() const
    {
        QStringList names;
        for (const QWidget *control : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->isVisible())
                names << control->objectName();
        }
        names.sort();
        return names.join(u' ');
    }

    void choose(int n) { scroll()->setValue(n); }
    // Clicks as the user would; a hidden button fails the test instead.
    void click(const char *name)
    {
        QPushButton *target = button(name);
        QVERIFY2(target && target->isVisible(), name);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }
    void enter(int n)
    {
        choose(n);
        click("Command1");
    }
    void enter_draw(const QList<int> &numbers)
    {
        for (const int n : numbers) {
            if (!QTest::currentTestFailed())
                enter(n);
        }
    }

    QTemporaryDir folder;
    RecordingPlatform platform;
    Kolmira form{platform};

private:
    QString previous_folder_ = QDir::currentPath();
};
