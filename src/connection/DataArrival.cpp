// The server window's socket events: the connection coming up, the peer closing it, and
// every block of received data, which is framed into lines and run through one fixed
// table of tests on each line's parts and text.
#include "connection/frmOrvelIRC.h"
#include "core/FormattingMarks.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "frame/frmOrvelMain.h"
#include "platform/DisplayBatch.h"
#include "platform/TcpSocket.h"
#include "platform/TextCut.h"
#include "settings/Defaults.h"
#include "windows/frmChan.h"
#include "windows/frmInData.h"
#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

namespace {
// The user name that USER sends, made from the e-mail setting: its letters and digits
// before the "@", at most nine. Servers differ in what else they take in a user name
// ("@", ".", "-", "_" are refused by some) and in how long it may be.
QString userNameFrom(const QString &email)
{
    const qsizetype at = email.indexOf(QLatin1Char('@'));
    QString name;
    for (const QChar c : QStringView(email).left(at < 0 ? email.size() : at)) {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')) name += c;
        if (name.size() == 9) break;
    }
    return name.isEmpty() ? QStringLiteral("orvel") : name;
}
} // namespace

void frmOrvelIRC::TCP1_Connect()
{
    frmOrvelMain &m = Main();
    core::Session &ss = session();
    // An attempt given up before it connected (Quit, a quit item) is not taken up: the
    // connection is closed at once and nothing goes out on it. A running count-down ends
    // that attempt itself; otherwise the controls are put back now.
    if (!IsConnectedFlag()) {
        if (m.CountDownRunning()) ss.CloseSocket();
        else ConnectionGone(nullptr);
        return;
    }
    // Nothing of an earlier connection carries over into this one.
    ss.StartClean();
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
    ss.SendData(QStringLiteral("NICK ") + ss.Nick());
    // An empty holder never overwrites a value: /SERVER's defaults for a missing e-mail
    // or real name stay, and the USER line gets no empty field.
    if (!txtNick.Text.isEmpty()) ss.SetNick(txtNick.Text);
    if (!txtServer.Text.isEmpty()) ss.SetServerName(txtServer.Text);
    if (!txtRN.Text.isEmpty()) ss.SetRealName(txtRN.Text);
    if (!txtEmail.Text.isEmpty()) ss.SetEmailAddress(txtEmail.Text);
    if (ss.RealName().isEmpty()) ss.SetRealName(settings::DefaultRealName);
    if (ss.EmailAddress().isEmpty()) ss.SetEmailAddress(settings::DefaultEmail);
    ss.SendData(QStringLiteral("USER ") + userNameFrom(ss.EmailAddress()) + QLatin1Char(' ') + ss.Socket().LocalIP() +
                QLatin1Char(' ') + ss.ServerName() + QStringLiteral(" :") + ss.RealName());
}

void frmOrvelIRC::TCP1_Close() { ConnectionGone(&frmOrvelIRC::Addtext); }

void frmOrvelIRC::TCP1_ConnectFailed()
{
    // The Connect button's count-down reports its own attempt when it runs out.
    if (Main().CountDownRunning()) return;
    AttemptFailed();
}

void frmOrvelIRC::AttemptFailed()
{
    Main().PlaySnd(QStringLiteral("error.wav"));
    Addtext2(QStringLiteral("\x01 Error 71 (failed to connect (server))"));
    ConnectionGone(&frmOrvelIRC::Addtext2);
}

void frmOrvelIRC::ConnectionGone(void (frmOrvelIRC::*note)(const QString &))
{
    if (note) (this->*note)(QStringLiteral("\x01 Disconnected"));
    core::Session &ss = session();
    ss.CloseSocket();
    ss.SetConnectedCaption(QString());
    Incoming->SetMousePointer(1);
    if (Teletrivia->Enabled()) {
        // The game stops at its reveal phase.
        Teletrivia->setEnabled(false);
        SetPicture1BackColor(1);
    }
    frmOrvelMain &m = Main();
    m.Timer2->setEnabled(false);
    m.cmdConnect->setEnabled(true);
    m.mnuSetup->setEnabled(true);
    m.cmdDisconnect->setEnabled(false);
    m.cmdSetup->setEnabled(true);
    m.mnuConnect->setText(QStringLiteral("Connect"));
}

void frmOrvelIRC::TCP1_DataArrival()
{
    core::Session &ss = session();
    core::Screen &screen = ss.Display();
    // Everything this block shows is shown once, when it has been handled.
    const core::BlockScope block(screen);
    const QString received = ss.Socket().GetData();
    frmOrvelMain &m = Main();
    // The server has answered: a server that takes the connection and never says a word is
    // given up by the count-down like one that never takes it.
    m.StopCountDown();
    QString shown;
    const bool view = ss.ShowReceived();
    const core::ReceivedLines::Block taken = ss.Framing().Take(received, view ? &shown : nullptr);
    if (view) screen.ShowReceived(shown);
    if (taken.overlong)
        screen.ServerLine(core::ServerStyle::Status,
                          QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped"));
    QPointer<frmOrvelIRC> self(this);
    Arrival a;
    core::LineSplitter lines(taken.lines);
    while (!lines.atEnd()) {
        QString line = lines.next();
        DispatchLine(line, a);
        // A handler may have closed this window (its unload closes the socket): the rest
        // of the block has nowhere to go.
        if (!self || IsUnloaded()) return;
    }
}

const frmOrvelIRC::LineNeedles &frmOrvelIRC::Needles()
{
    LineNeedles &n = m_needles;
    const QString &nick = session().Nick();
    // Built once at first use even when the nick is still empty.
    if (!n.ownPrefix.isEmpty() && n.nick == nick) return n;
    n.nick = nick;
    n.ownPrefix = QLatin1Char(':') + nick;
    n.nickInUse = QStringLiteral("* ") + nick + QStringLiteral(" :Nickname is already in use.");
    return n;
}

namespace {
// The replies by which a server refuses a JOIN.
bool isJoinRefusal(QStringView reply)
{
    static const QStringView codes[] = {u"403", u"405", u"437", u"461", u"471", u"473", u"474", u"475", u"476", u"477"};
    return std::find(std::begin(codes), std::end(codes), reply) != std::end(codes);
}

// The own-prefix test: ":" and the nick, then "!" or a blank. A longer nick that merely
// begins with ours is someone else.
bool hasOwnPrefix(const QString &line, const frmOrvelIRC::LineNeedles &n)
{
    if (n.nick.isEmpty() || !line.startsWith(n.ownPrefix)) return false;
    const qsizetype next = n.ownPrefix.size();
    if (next >= line.size()) return false;
    const QChar c = line[next];
    return c == QLatin1Char('!') || c == QLatin1Char(' ');
}

// The nickname-in-use reply, by its literal text or by its numeric form "433 * nick".
// Only the server's 433 reply counts: a message or notice that quotes the text must not
// make us change nick.
bool nickInUse(const QString &line, const LineView &v, const frmOrvelIRC::LineNeedles &n)
{
    if (v.Command() != u"433") return false;
    if (line.contains(n.nickInUse)) return true;
    return v.Param(0) == u"*" && v.Param(1) == QStringView(n.nick);
}
} // namespace

void frmOrvelIRC::DispatchLine(QString &line, Arrival &a)
{
    core::Session &ss = session();
    LineView v(line);
    // Rows tried in every channel state.
    if (v.Command() == u"PING" && (!v.HasPrefix() || v.FromServer())) {
        PingReply(v);
        return;
    }
    const LineNeedles *n = &Needles();
    if (v.Command() == u"PRIVMSG" && v.Last() == u"!time" && ss.IsCurrentChannel(v.Param(0))) ClockReply(v);
    if (hasOwnPrefix(line, *n)) {
        if (v.Command() == u"NICK") {
            // Renamed by the server or a raw command: from now on we go by the new nick. The
            // prefix stays, so the channel renames our entry like anyone else's.
            OwnNickChange(v.Param(0));
            n = &Needles();
        } else {
            const qsizetype b = line.indexOf(QLatin1Char(' '));
            if (b >= 0) line.remove(0, b + 1);
            v.Reset(line);
            if (v.Command() == u"MODE") OwnModeNotice(v);
        }
    }
    if (nickInUse(line, v, *n)) {
        AlternativeNickReply();
        n = &Needles();  // the nick may have changed
    }
    if (!v.HasPrefix() && v.Command() == u"ERROR" && v.Last().startsWith(u"Closing Link:", Qt::CaseInsensitive)) {
        ClosingLinkReply(line);
        return;
    }
    // A client's request counts only as the whole text of a PRIVMSG to our nick: a notice,
    // a channel message or a topic that quotes one asks nothing.
    const QStringView request = PrivateText(v, n->nick);
    if (request == u"\x01version\x01" || request == u"\x01VERSION\x01") {
        VersionReply(v);
        return;
    }
    if (request == u"\x01PAGE\x01") PageNotice(v);
    if (request == u"\x01TIME\x01") {
        TimeReply(v);
        return;
    }
    if (request == u"\u2021WAKEUP\u2021") {
        WakeupSound();
        return;
    }
    if (line.startsWith(QLatin1String("ERROR"))) ErrorNotice(line);
    if (v.HasPrefix() && v.Command() == u"PRIVMSG") {
        // Once in a channel, DCC offers go on to the channel rules, which refuse them.
        if (!(ss.ChannelState() == core::ChannelState::Joined && IsDccOffer(request))) {
            DisplayMessage(line, a);
            return;
        }
    }

    switch (ss.ChannelState()) {
    case core::ChannelState::None:
        if (v.Command() == u"513" && v.HasPrefix() && v.Prefix() == ss.ServerName()) {
            PingCodeReply(line);
            return;
        }
        if (v.Command() == u"001" && v.HasPrefix()) {
            const QStringView name = v.Prefix();
            // A name holding a line end or NUL could never go back in a PONG: every later
            // PING would be answered cut short. Such a name is not taken.
            const bool sendable = !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')) &&
                                  !name.contains(QChar(0));
            if (sendable) ss.SetServerName(name.toString());
            ss.SetWelcomeSeen(true);
        }
        // Until the welcome names the server, whatever a server says is shown: a refused
        // user name or a registration time-out must reach the user.
        if ((v.HasPrefix() && v.Prefix() == ss.ServerName()) || (!ss.WelcomeSeen() && v.FromServer())) ServerText(line);
        return;
    case core::ChannelState::JoinSent:
        if (v.HasPrefix() && v.Prefix() == ss.ServerName()) {
            // The topic, names and end of names of the channel being joined (the names
            // reply has its channel after the public/secret marker) are the join's.
            const QStringView w = v.Command();
            const bool names = w == u"353";
            if ((names || w == u"332" || w == u"366") && ss.IsCurrentChannel(v.Param(names ? 2 : 1))) {
                JoinReply(line, v);
                return;
            }
            // Everything else the server says is shown; a refused join stops the wait. A 437
            // may refuse a nick instead: it counts only when it names the channel.
            if (isJoinRefusal(w) && (w != u"437" || ss.IsCurrentChannel(v.Param(1))))
                ss.SetChannelState(core::ChannelState::None);
            ServerText(line);
            return;
        }
        if (!v.HasPrefix() && v.Command() == u"JOIN") JoinEcho(v);
        return;
    case core::ChannelState::Joined:
        StateTwoChain(line, v, a);
        return;
    }
}

void frmOrvelIRC::ServerText(const QString &line)
{
    // The last parameter follows the first " :"; a ":" inside a word ("ircd-1:8.2",
    // "CHANLIMIT=#:20") is part of that word. A line without a last parameter shows its
    // words after the target nick, and one without such words shows whole.
    QString text = line;
    const qsizetype colon = line.indexOf(QLatin1String(" :"));
    if (colon >= 0) {
        text = line.mid(colon + 2);
    } else {
        qsizetype at = 0;
        for (int word = 0; word < 3 && at >= 0; ++word) {
            at = line.indexOf(QLatin1Char(' '), at);
            if (at >= 0) ++at;
        }
        if (at > 0 && at < line.size()) text = line.mid(at);
    }
    session().Display().ServerLine(core::ServerStyle::Server, WithoutMarks(text));
}
