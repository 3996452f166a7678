// The server window's socket events: the connection coming up, the peer closing it, and
// every block of received data, which is framed into lines and run through one fixed
// table of literal tests.
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/TextCut.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include "windows/frmInData.h"
#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

void frmOrvelIRC::TCP1_Connect()
{
    frmOrvelMain &m = Main();
    if (!m.txtFontName.Text.isEmpty()) {
        Incoming->SetSelFontName(m.txtFontName.Text);
        bool ok = false;
        const double pts = m.txtFontSize.Text.trimmed().toDouble(&ok);
        if (ok && pts > 0) Incoming->SetSelFontSize(pts);
    }
    if (!m.txtFontSize.Text.isEmpty()) {
        bool ok = false;
        const double pts = m.txtFontSize.Text.trimmed().toDouble(&ok);
        QFont f = m.txtFontName.Text.isEmpty() ? Outgoing->font() : MapFont(m.txtFontName.Text);
        if (ok && pts > 0) f.setPointSizeF(pts);
        Outgoing->setFont(f);
    }
    m.cmdConnect->setEnabled(false);
    m.cmdDisconnect->setEnabled(true);
    m.cmdSetup->setEnabled(false);
    m.mnuSetup->setEnabled(false);
    Addtext2(QStringLiteral("\x01 Connection established."));
    Incoming->SetMousePointer(1);
    Addtext2(QStringLiteral("\x01 Sending login information..."));
    m.mnuConnect->setText(QStringLiteral("Disconnect"));
    SendData(QStringLiteral("NICK ") + IrcData::CurrentNick);
    IrcData::CurrentNick = txtNick.Text;
    IrcData::ServerName = txtServer.Text;
    IrcData::RealName = txtRN.Text;
    IrcData::EmailAddress = txtEmail.Text;
    if (m.Timer2->Enabled()) {
        m.Timer2->setEnabled(false);
        for (QLabel *d : {m.One, m.Two, m.Three, m.Four, m.Five, m.Six, m.Seven, m.eight, m.nine, m.Zero, m.Image5})
            d->setVisible(false);
    }
    SendData(QStringLiteral("USER ") + IrcData::EmailAddress + QLatin1Char(' ') + Tcp1->LocalIP() + QLatin1Char(' ') +
             IrcData::ServerName + QStringLiteral(" :") + IrcData::RealName);
}

void frmOrvelIRC::TCP1_Close()
{
    frmOrvelMain &m = Main();
    Addtext(QStringLiteral("\x01 Disconnected"));
    m.cmdConnect->setEnabled(true);
    m.mnuSetup->setEnabled(true);
    m.cmdDisconnect->setEnabled(false);
    m.cmdSetup->setEnabled(true);
    m.Timer2->setEnabled(false);
    setCaption(QString());
    Teletrivia->setEnabled(false);
    SetPicture1BackColor(1);
    Tcp1->Close();
    m.mnuConnect->setText(QStringLiteral("Connect"));
    ChannelState = 0;
}

namespace {
// Takes lines off the front of a block. CR LF is looked for over the whole rest of the
// block first, so a lone CR or LF before the first CR LF stays inside the line; lone CRs
// split only when no CR LF is left, and lone LFs only when no CR is left. The positions
// found are kept until consumed, so a flood block is split in linear time.
class LineSplitter
{
public:
    explicit LineSplitter(const QString &text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    QString next()
    {
        qsizetype at = find(m_crlf, u"\r\n");
        qsizetype skip = 2;
        if (at < 0) {
            skip = 1;
            at = find(m_cr, u"\r");
            if (at < 0) at = find(m_lf, u"\n");
        }
        if (at < 0) {
            const QString line = m_text.mid(m_pos);
            m_pos = m_text.size();
            return line;
        }
        const QString line = m_text.mid(m_pos, at - m_pos);
        m_pos = at + skip;
        return line;
    }
private:
    qsizetype find(qsizetype &cached, QStringView what)
    {
        if (cached == -1) return -1;  // none left in the block
        if (cached < m_pos) cached = m_text.indexOf(what, m_pos);
        return cached;
    }
    const QString &m_text;
    qsizetype m_pos = 0;
    qsizetype m_crlf = -2, m_cr = -2, m_lf = -2;
};
} // namespace

void frmOrvelIRC::TCP1_DataArrival()
{
    QString work = PartialLine + Tcp1->GetData();
    frmOrvelMain &m = Main();
    if (m.mnuIndataWindow->isChecked()) form<frmInData>().Append(work + QStringLiteral("\r\n"));
    const bool complete = work.endsWith(QLatin1Char('\n')) || work.endsWith(QLatin1Char('\r'));
    if (!complete) {
        // Nothing is handled until a block ends in a line end; a remainder that never
        // does is not allowed to grow without bound.
        if (work.size() > MaxPartialLine) {
            PartialLine.clear();
            Addtext(QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped"));
        } else {
            PartialLine = work;
        }
        return;
    }
    PartialLine.clear();
    QPointer<frmOrvelIRC> self(this);
    Arrival a;
    LineSplitter lines(work);
    while (!lines.atEnd()) {
        QString line = lines.next();
        DispatchLine(line, a);
        // A handler may have closed this window (its unload closes the socket): the rest
        // of the block has nowhere to go.
        if (!self || IsUnloaded()) return;
    }
}

namespace {
// The text between the line's first and second blank (to the end when there is no second).
QString secondWord(const QString &line)
{
    const qsizetype b1 = line.indexOf(QLatin1Char(' '));
    if (b1 < 0) return QString();
    const qsizetype b2 = line.indexOf(QLatin1Char(' '), b1 + 1);
    return b2 < 0 ? line.mid(b1 + 1) : line.mid(b1 + 1, b2 - b1 - 1);
}

// The words of a line, split at single blanks.
QString word(const QString &line, int n)
{
    const QStringList w = line.split(QLatin1Char(' '));
    return n < w.size() ? w[n] : QString();
}

// The own-prefix test: ":" and the nick, then "!" or a blank. A longer nick that merely
// begins with ours is someone else.
bool hasOwnPrefix(const QString &line, const QString &nick)
{
    if (nick.isEmpty()) return false;
    if (!line.startsWith(QLatin1Char(':') + nick)) return false;
    const qsizetype next = nick.size() + 1;
    if (next >= line.size()) return false;
    const QChar c = line[next];
    return c == QLatin1Char('!') || c == QLatin1Char(' ');
}

// The nickname-in-use reply, by its literal text or by its numeric form "433 * nick".
bool nickInUse(const QString &line, const QString &nick)
{
    if (line.contains(QStringLiteral("* ") + nick + QStringLiteral(" :Nickname is already in use."))) return true;
    return word(line, 1) == QLatin1String("433") && word(line, 2) == QLatin1String("*") && word(line, 3) == nick;
}
} // namespace

void frmOrvelIRC::DispatchLine(QString &line, Arrival &a)
{
    // Built afresh for every test: the nick-in-use row may change the nick half-way.
    const auto pm = [] { return QStringLiteral("PRIVMSG ") + IrcData::CurrentNick + QStringLiteral(" :"); };

    // Rows tried in every channel state.
    if (line.startsWith(QLatin1String("PING :"))) {
        PingReply(line);
        return;
    }
    if (line.contains(QStringLiteral("PRIVMSG ") + ChanCentral.Text + QStringLiteral(" :!time"))) ClockReply(line, a);
    if (hasOwnPrefix(line, IrcData::CurrentNick)) {
        const qsizetype b = line.indexOf(QLatin1Char(' '));
        if (b >= 0) line = line.mid(b + 1);
        if (cut::FirstWord(line) == QLatin1String("MODE")) OwnModeNotice(line);
    }
    if (nickInUse(line, IrcData::CurrentNick)) AlternativeNickReply();
    if (line.startsWith(QLatin1String("ERROR :Closing Link:"))) {
        ClosingLinkReply(line);
        return;
    }
    if (line.contains(pm() + QStringLiteral("\x01version\x01")) || line.contains(pm() + QStringLiteral("\x01VERSION\x01"))) {
        VersionReply(line, a);
        return;
    }
    if (line.contains(pm() + QStringLiteral("\x01PAGE\x01"))) PageNotice(line, a);
    if (line.contains(pm() + QStringLiteral("\x01TIME\x01"))) {
        TimeReply(line, a);
        return;
    }
    if (line.contains(pm() + QChar(0x2021) + QStringLiteral("WAKEUP") + QChar(0x2021))) {
        WakeupSound();
        return;
    }
    if (line.startsWith(QLatin1String("ERROR"))) ErrorNotice(line);
    if (cut::AfterFirstBlank(line, 7) == QLatin1String("PRIVMSG")) {
        // Once in a channel, DCC offers go on to the channel rules, which refuse them.
        const bool dccOffer = line.contains(pm() + QStringLiteral("\x01" "DCC SEND ")) ||
                              line.contains(pm() + QStringLiteral("\x01" "DCC CHAT "));
        if (!(ChannelState == 2 && dccOffer)) {
            DisplayMessage(line, a);
            return;
        }
    }

    const QString fromServer = QLatin1Char(':') + IrcData::ServerName;
    switch (ChannelState) {
    case 0:
        if (line.contains(fromServer + QStringLiteral(" 513"))) {
            PingCodeReply(line);
            return;
        }
        if (cut::AfterFirstBlank(line, 3) == QLatin1String("001")) {
            const int blank = cut::InStr(line, QStringLiteral(" "));
            cut::Set(IrcData::ServerName, cut::Mid(line, 2, blank - 2));
        }
        if (line.startsWith(QLatin1Char(':') + IrcData::ServerName)) ServerText(line);
        return;
    case 1:
        if (line.startsWith(fromServer)) {
            const QString w = secondWord(line);
            if (w == QLatin1String("332") || w == QLatin1String("353") || w == QLatin1String("366")) JoinReply(line, a);
            return;
        }
        if (cut::FirstWord(line) == QLatin1String("JOIN")) JoinEcho(line, a);
        return;
    case 2:
        StateTwoChain(line, a);
        return;
    default:
        return;
    }
}

void frmOrvelIRC::ServerText(const QString &line)
{
    QString text = line;
    const int colon = cut::InStr(line, QStringLiteral(":"), 2);
    if (colon > 0) cut::Set(text, cut::Mid(line, colon + 1));
    Addtext3(text);
}

void frmOrvelIRC::HideChannelWindow() { form<frmChan>().HideForm(); }
