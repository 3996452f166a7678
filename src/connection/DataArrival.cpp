// The server window's socket events: the connection coming up, the peer closing it, and
// every block of received data, which is framed into lines and run through one fixed
// table of literal tests.
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/DisplayBatch.h"
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
    // A new connection starts with a new line, whatever the last one left unfinished.
    DroppingLine = false;
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
    // Everything this block shows is shown once, when it has been handled.
    display::DisplayBatch batch;
    // The held text keeps its buffer, so a remainder that grows over many arrivals is
    // appended to rather than copied each time.
    QString work = std::move(PartialLine);
    const bool held = !work.isEmpty();
    const QString received = Tcp1->GetData();
    work += received;
    PartialLine.clear();
    frmOrvelMain &m = Main();
    const bool complete = work.endsWith(QLatin1Char('\n')) || work.endsWith(QLatin1Char('\r'));
    // The held text is shown again at the head of the data that ends it; a piece that
    // still ends nothing shows only itself, so data dribbled in many small pieces cannot
    // repeat a long remainder into the view again and again.
    if (m.mnuIndataWindow->isChecked())
        form<frmInData>().Append((complete || !held ? work : received) + QStringLiteral("\r\n"));
    if (DroppingLine) {
        // The rest of a line already dropped as too long, up to its line end, goes with it.
        qsizetype end = 0;
        while (end < work.size() && work[end] != QLatin1Char('\r') && work[end] != QLatin1Char('\n')) ++end;
        if (end == work.size()) return;
        if (work[end] == QLatin1Char('\r') && end + 1 < work.size() && work[end + 1] == QLatin1Char('\n')) ++end;
        work.remove(0, end + 1);
        DroppingLine = false;
        if (work.isEmpty()) return;
    }
    if (!complete) {
        // Nothing is handled until a block ends in a line end.
        if (work.size() <= MaxPartialLine) {
            PartialLine = std::move(work);
            return;
        }
        // Too much to hold back: the complete lines in it are handled now and only the
        // unfinished last line is held; one that is itself too long is dropped.
        qsizetype end = work.lastIndexOf(QLatin1Char('\n'));
        if (end < 0) end = work.lastIndexOf(QLatin1Char('\r'));
        if (work.size() - (end + 1) > MaxPartialLine) {
            Addtext(QStringLiteral("\x01 Received text without a line end grew over 64 KiB and was dropped"));
            DroppingLine = true;
        } else {
            PartialLine = work.mid(end + 1);
        }
        work.truncate(end + 1);
    }
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

const frmOrvelIRC::LineNeedles &frmOrvelIRC::Needles()
{
    LineNeedles &n = m_needles;
    const QString &nick = IrcData::CurrentNick;
    const QString &server = IrcData::ServerName;
    // Built once at first use even when all three are still empty.
    const bool fresh = !n.clock.isEmpty();
    if (fresh && n.nick == nick && n.chan == ChanCentral.Text && n.server == server) return n;
    if (!fresh || n.chan != ChanCentral.Text) {
        n.chan = ChanCentral.Text;
        n.clock = QStringLiteral("PRIVMSG ") + n.chan + QStringLiteral(" :!time");
    }
    if (!fresh || n.nick != nick) {
        n.nick = nick;
        n.ownPrefix = QLatin1Char(':') + nick;
        n.nickInUse = QStringLiteral("* ") + nick + QStringLiteral(" :Nickname is already in use.");
        n.toMe = QStringLiteral("PRIVMSG ") + nick + QStringLiteral(" :");
        n.versionLower = n.toMe + QStringLiteral("\x01version\x01");
        n.versionUpper = n.toMe + QStringLiteral("\x01VERSION\x01");
        n.page = n.toMe + QStringLiteral("\x01PAGE\x01");
        n.time = n.toMe + QStringLiteral("\x01TIME\x01");
        n.wakeup = n.toMe + QChar(0x2021) + QStringLiteral("WAKEUP") + QChar(0x2021);
        n.dccSend = n.toMe + QStringLiteral("\x01" "DCC SEND ");
        n.dccChat = n.toMe + QStringLiteral("\x01" "DCC CHAT ");
    }
    if (!fresh || n.server != server) {
        n.server = server;
        n.fromServer = QLatin1Char(':') + server;
        n.code513 = n.fromServer + QStringLiteral(" 513");
    }
    return n;
}

namespace {
// The n-th word of a line split at single blanks (0 = the first); empty past the last.
QStringView wordAt(QStringView line, int n)
{
    qsizetype from = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype b = line.indexOf(QLatin1Char(' '), from);
        if (b < 0) return {};
        from = b + 1;
    }
    const qsizetype e = line.indexOf(QLatin1Char(' '), from);
    return e < 0 ? line.mid(from) : line.mid(from, e - from);
}

// True when the characters after the first blank (the line's first characters when it
// has none) are what.
bool afterFirstBlankIs(QStringView line, QStringView what)
{
    const qsizetype b = line.indexOf(QLatin1Char(' '));
    return line.mid(b + 1, what.size()) == what;
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
bool nickInUse(const QString &line, const frmOrvelIRC::LineNeedles &n)
{
    if (wordAt(line, 1) != u"433") return false;
    if (line.contains(n.nickInUse)) return true;
    return wordAt(line, 2) == u"*" && wordAt(line, 3) == QStringView(n.nick);
}
} // namespace

void frmOrvelIRC::DispatchLine(QString &line, Arrival &a)
{
    // Rows tried in every channel state.
    if (line.startsWith(QLatin1String("PING :"))) {
        PingReply(line);
        return;
    }
    const LineNeedles *n = &Needles();
    if (line.contains(n->clock)) ClockReply(line, a);
    if (hasOwnPrefix(line, *n)) {
        const qsizetype b = line.indexOf(QLatin1Char(' '));
        if (b >= 0) line.remove(0, b + 1);
        if (wordAt(line, 0) == u"MODE") OwnModeNotice(line);
    }
    if (nickInUse(line, *n)) {
        AlternativeNickReply();
        n = &Needles();  // the nick may have changed
    }
    if (line.startsWith(QLatin1String("ERROR :Closing Link:"))) {
        ClosingLinkReply(line);
        return;
    }
    // Every request below is addressed "PRIVMSG nick :": one search rules them all out.
    const bool toMe = line.contains(n->toMe);
    if (toMe && (line.contains(n->versionLower) || line.contains(n->versionUpper))) {
        VersionReply(line, a);
        return;
    }
    if (toMe && line.contains(n->page)) PageNotice(line, a);
    if (toMe && line.contains(n->time)) {
        TimeReply(line, a);
        return;
    }
    if (toMe && line.contains(n->wakeup)) {
        WakeupSound();
        return;
    }
    if (line.startsWith(QLatin1String("ERROR"))) ErrorNotice(line);
    if (afterFirstBlankIs(line, u"PRIVMSG")) {
        // Once in a channel, DCC offers go on to the channel rules, which refuse them.
        const bool dccOffer = toMe && (line.contains(n->dccSend) || line.contains(n->dccChat));
        if (!(ChannelState == 2 && dccOffer)) {
            DisplayMessage(line, a);
            return;
        }
    }

    switch (ChannelState) {
    case 0:
        if (line.contains(n->code513)) {
            PingCodeReply(line);
            return;
        }
        if (afterFirstBlankIs(line, u"001")) {
            const int blank = cut::InStr(line, QStringLiteral(" "));
            const std::optional<QString> name = cut::Mid(line, 2, blank - 2);
            // A name holding a line end or NUL could never go back in a PONG: every later
            // PING would be answered cut short. Such a name is not taken.
            const bool sendable = name && !name->contains(QLatin1Char('\r')) && !name->contains(QLatin1Char('\n')) &&
                                  !name->contains(QChar(0));
            if (sendable) IrcData::ServerName = *name;
            n = &Needles();  // the server now goes by the name it gave
        }
        if (line.startsWith(n->fromServer)) ServerText(line);
        return;
    case 1:
        if (line.startsWith(n->fromServer)) {
            const QStringView w = wordAt(line, 1);
            if (w == u"332" || w == u"353" || w == u"366") JoinReply(line, a);
            return;
        }
        if (wordAt(line, 0) == u"JOIN") JoinEcho(line, a);
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
