#pragma once
#include "settings/SettingsFile.h"
#include <QDialog>
#include <QStringList>
#include <utility>
#include <vector>
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The connection setup dialog: the six connection settings, the local host name and
// address, and a table of networks from which a server can be picked. OK writes the
// settings and refreshes the server window's holders and the program-wide variables; it
// never touches the connection.
//
// ShowModal() builds a fresh dialog, loads it and runs it modally. Tests may instead
// build one, run Form_Load and call the handlers, or drive the open one through Current().
class frmSetup : public QDialog
{
    Q_OBJECT
public:
    explicit frmSetup(QWidget *parent = nullptr);
    static void ShowModal();
    // The dialog while ShowModal() runs it; nullptr otherwise.
    static frmSetup *Current();

    QLineEdit *txtPort = nullptr, *txtRN = nullptr, *txtNick = nullptr, *txtEmail = nullptr,
              *txtAlternativeNickname = nullptr, *txtLocalHost = nullptr, *txtLocalIp = nullptr,
              *txtServer = nullptr;
    QGroupBox *Frame1 = nullptr;
    QListWidget *Networks = nullptr, *Servers = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr, *Command1 = nullptr, *Command2 = nullptr;
    // The dialog's own copies of port, realname, nick, email, server and altnick.
    Holder RichTextBox1, RichTextBox2, RichTextBox3, RichTextBox4, RichTextBox5, RichTextBox6;

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void Command1_Click();  // Defaults
    void Command2_Click();  // Help
    void Networks_Click();
    void Servers_Click();
    void Servers_DblClick();

    void Form_MouseMove();
    void Frame1_MouseMove();
    void Networks_MouseMove();
    void Servers_MouseMove();
    void txtEmail_MouseMove();
    void txtLocalHost_MouseMove();
    void txtLocalIp_MouseMove();
    void txtServer_MouseMove();
    void txtAlternativeNickname_MouseMove();
    void txtNick_MouseMove();
    void txtPort_MouseMove();
    void txtRN_MouseMove();

    // The networks whose servers are built in, with their hosts (two of them are not
    // offered in the network list).
    static const std::vector<std::pair<QString, QStringList>> &BuiltInHosts();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // Colours the control under the mouse dark blue and the named others black.
    void hover(QWidget *under, const QList<QWidget *> &others);
    QList<QWidget *> allTen() const;
    QList<QWidget *> allBut(QWidget *w, bool withLocal) const;
    void addServer(const QString &host);
    void closeDialog();
};
