#pragma once
#include "platform/Forms.h"
#include "platform/CommandLine.h"
#include "platform/RichPane.h"
#include "settings/SettingsFile.h"
#include <QString>
class QLabel;
class TcpSocket;
namespace core { enum class TriviaPhase; }

// The server window: the status pane, the server command line and the quiz indicator. The
// connection it shows is the session's: its caption is the connected flag.
class frmOrvelIRC : public FormBase
{
    Q_OBJECT
public:
    frmOrvelIRC();
    ~frmOrvelIRC() override;
    // The window's inner size when it opens.
    static constexpr QSize DesignedSize{500, 300};

    RichPane *Incoming = nullptr;
    CommandLine *Outgoing = nullptr;
    QLabel *Picture1 = nullptr;  // the quiz's phase, in colour

    // The local address and host name, from the socket. The connection settings are the
    // session's.
    Holder txtIpAddress, txtLocalH;

    // The current channel, as the other windows read it.
    const QString &ChanCentral() const;
    // The connection's socket, which the session keeps.
    TcpSocket &Tcp1() const;

    // Output procedures: one line each into the pane in a fixed colour.
    void AddtextX(const QString &text);
    void Addtext(const QString &text);
    void Addtext2(const QString &text);
    void Addtext3(const QString &text);
    void Addtext4(const QString &text);
    void Addtext5(const QString &text);
    // Sends one IRC line: the text up to its first CR, LF or NUL, then CR LF.
    void SendData(const QString &line);

    // Connected flag: the caption, "" when not connected.
    bool IsConnectedFlag() const;

    ListEntry WindowListEntry() const override { return {QStringLiteral("Server Connection"), 6}; }
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_GotFocus();
    void Incoming_Change();
    void Incoming_Click();
    void Incoming_MouseDown(int button);
    void Picture1_Click();     // the quiz's phase := ask
    void Picture1_DblClick();  // the quiz's phase := reveal

    // The server command line's keys.
    void Outgoing_KeyPress(int &KeyAscii);

signals:
    // A right click in the pane: the pop-up menu is the frame's.
    void PaneMenuRequested();

private:
    // The caption follows the session's connected flag and nothing else.
    using FormBase::setCaption;
    // The indicator shows the quiz's phase in its colour.
    void showPhase(core::TriviaPhase phase);
    void output(const QString &text, int colour, bool lineEndFirst, bool setCommandFont);
};
