#pragma once
#include "settings/SettingsFile.h"
#include <QCheckBox>
#include <QDialog>
#include <QPixmap>
#include <functional>
class QLabel;
class QLineEdit;
class QPushButton;

// The options dialog: the yes/no flags, the quit, away and back messages, the text font
// and the dashboard picture. Opened modally by ShowModal(); tests may instead build one,
// run Form_Load and press its buttons through the handlers.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    // A check box with the three values 0 (clear), 1 (set) and 2 (grey). Any change of the
    // value, by the user or by the program, raises Click.
    class CheckBox : public QCheckBox
    {
    public:
        CheckBox(const QString &caption, QWidget *parent);
        int Value() const;
        void SetValue(int value);
        std::function<void()> Click;
    protected:
        // A user click clears a set or grey box and sets a clear one.
        void nextCheckState() override;
    };

    explicit frmOptions(QWidget *parent = nullptr);
    ~frmOptions() override;

    // Shows the dialog modally and returns when it has closed.
    static void ShowModal();
    // The dialog while it shows; nullptr otherwise.
    static frmOptions *Current();

    CheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr, *Check5 = nullptr,
             *Check6 = nullptr, *Check7 = nullptr, *Check8 = nullptr;
    QLineEdit *txtQuitM = nullptr, *txtAwayMsg = nullptr, *txtBackMsg = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command6 = nullptr, *Command7 = nullptr;
    // Private copies of discon.msg, away.msg and back.msg.
    Holder RichTextBox1, txtAwayRtb, RichTextBox2;
    // The messages as last loaded or saved here; nothing else reads them.
    QString BackMessage, AwayMessage, QuitMessage;

    // Puts a picture file into Image1 (the picture chooser's OK does this while the dialog
    // is open); false when the file is no picture, and Image1 then keeps what it showed.
    bool LoadPicture(const QString &path);
    // The picture Image1 shows (null when none).
    QPixmap Picture() const;

    void Form_Load();
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel
    void Command3_Click();  // Defaults
    void Command4_Click();  // Choose... (picture)
    void Command6_Click();  // Choose Font...
    void Command7_Click();  // None (picture)

private:
    void setPicture(const QPixmap &pic);
    QPixmap m_picture;
};
