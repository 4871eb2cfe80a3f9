#pragma once
// Kolmira: the program's one window.
//
// The form owns its 21 controls and the check state that the event
// procedures share. Seven procedures drive the whole program; each runs to
// completion on the UI thread and talks to the others only through the check
// state. They are defined in the folder of their subsystem:
//   form/   the controls (kolmira.cpp) and Form_Load, which reads the rows
//   entry/  HScroll1_Change, Command1_Click (the draw), Command3_Click
//           ("Ny rad"), Command4_Click ("Avsluta")
//   check/  Command2_Click ("Rätta") and Command5_Click (the prize chart)
// Setting HScroll1 to a new value runs HScroll1_Change at once, nested in the
// caller (a direct connection). Whatever blocks on the user or ends the
// program goes through Platform, so that tests can stand in for it.
// What a screen reader must hear beyond captions and values is told through
// `notice` and the buttons' accessible descriptions (form/accessibility.h).

#include "form/check_state.h"

#include <QWidget>

class CaptionButton;
class Platform;
class QLabel;
class QScrollBar;
class ScreenReaderNotice;

class Kolmira : public QWidget
{
    Q_OBJECT
public:
    explicit Kolmira(Platform &platform, QWidget *parent = nullptr);

    // Reads the row file from the working directory. On a load error it
    // reports the error through the platform and returns false; the window
    // must then never be shown.
    bool Form_Load();

    void HScroll1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    const CheckState &check_state() const { return state_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Platform &platform_;
    CheckState state_;

    CaptionButton *Command5;
    CaptionButton *Command4;
    CaptionButton *Command3;
    CaptionButton *Command2;
    CaptionButton *Command1;
    QScrollBar *HScroll1;
    QLabel *Label12;
    QLabel *Label11;
    QLabel *Label10;
    QLabel *Label9;
    QLabel *Label8;
    QLabel *Label7;
    QLabel *Label6;
    QLabel *Label5;
    QLabel *Label4;
    QLabel *Label3;
    QLabel *Label2;
    QLabel *ratt_rad_inmatning_text;
    QLabel *Label1;
    QLabel *in_ratt_sif;
    QLabel *visa_antalet_ratt;

    ScreenReaderNotice *notice;
};
