// Ready-made IRC commands: the channel pane's pop-up (away and back messages, user
// modes, channel list, names, banner, clear, part, quit), the server pane's queries and
// Clear Buffer, and the dashboard's three mode switches.
#include "connection/frmOrvelIRC.h"
#include "frame/ClickFilter.h"
#include "platform/Forms.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "core/Session.h"
#include "windows/frmChan.h"
#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

namespace {
// A user's click sets a clear or grey box and clears a set one; it never makes a box grey.
class ModeBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;
protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

frmOrvelIRC &server() { return form<frmOrvelIRC>(); }
QString chan() { return server().ChanCentral(); }
void send(const QString &line) { server().SendData(line); }
void channelEcho(const QString &text) { form<frmChan>().Addtext(text); }

const QString kSetAway = QStringLiteral("[Set Away] [Reason: ");
const QString kSetBack = QStringLiteral("[Set Back] [Reason: ");

// The away items: the AWAY line, the channel notice and its echo.
void away(const QString &awayLine, const QString &reason)
{
    send(awayLine);
    send(QStringLiteral("PRIVMSG ") + chan() + QStringLiteral(" :") + kSetAway + reason + QLatin1Char(']'));
    channelEcho(QStringLiteral("> ") + kSetAway + reason + QLatin1Char(']'));
}

// The back items send no AWAY line: the server goes on holding the away message.
void back(const QString &reason)
{
    send(QStringLiteral("PRIVMSG ") + chan() + QStringLiteral(" :") + kSetBack + reason + QLatin1Char(']'));
    channelEcho(QStringLiteral("> ") + kSetBack + reason + QLatin1Char(']'));
}

// LUSERS, MOTD and TIME need the connection.
void serverQuery(const QString &word)
{
    frmOrvelIRC &s = server();
    if (!s.IsConnectedFlag()) {
        s.Addtext(QStringLiteral("\x01 Error 5 (Not connected)"));
        Main().PlaySnd(QStringLiteral("error.wav"));
        s.Outgoing->setText(QString());
        return;
    }
    s.SendData(word);
}

QAction *item(QMenu *menu, const char *caption, frmOrvelMain *owner, void (frmOrvelMain::*handler)())
{
    QAction *a = menu->addAction(QString::fromUtf8(caption));
    QObject::connect(a, &QAction::triggered, owner, handler);
    return a;
}
} // namespace

int frmOrvelMain::CheckValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void frmOrvelMain::SetCheckValue(QCheckBox *box, int value)
{
    switch (value) {
    case 0: box->setCheckState(Qt::Unchecked); break;
    case 1: box->setCheckState(Qt::Checked); break;
    case 2: box->setCheckState(Qt::PartiallyChecked); break;
    default: break;
    }
}

void frmOrvelMain::buildCommandMenus()
{
    // The channel pop-up.
    QMenu *m = mnuIncoming;
    mnuOrvelIRCBanner = item(m, "OrvelIRC", this, &frmOrvelMain::mnuOrvelIRC_Click);
    m->addSeparator();
    mnuListChannels = item(m, "List Channels", this, &frmOrvelMain::mnuListChannels_Click);
    mnuNamesinThisChannel = item(m, "Names", this, &frmOrvelMain::mnuNamesinThisChannel_Click);
    m->addSeparator();
    mnuAwaySystem = m->addMenu(QStringLiteral("Away"));
    mnuAway = mnuAwaySystem->addMenu(QStringLiteral("Away"));
    mnuAwayNormal = item(mnuAway, "Away Normal", this, &frmOrvelMain::mnuAwayNormal_Click);
    mnuAway->addSeparator();
    mnuGottaPee = item(mnuAway, "Gotta Take a Pee", this, &frmOrvelMain::mnuGottaPee_Click);
    mnuAwayNoReason = item(mnuAway, "No Reason", this, &frmOrvelMain::mnuAwayNoReason_Click);
    mnuDinnerTime = item(mnuAway, "Dinner Time", this, &frmOrvelMain::mnuDinnerTime_Click);
    mnuBack = mnuAwaySystem->addMenu(QStringLiteral("Back"));
    mnuBackNormal = item(mnuBack, "Back Normal", this, &frmOrvelMain::mnuBackNormal_Click);
    mnuBack->addSeparator();
    mnuBackPee = item(mnuBack, "Gotta Take a Pee", this, &frmOrvelMain::mnuBackPee_Click);
    mnuBackFromNoReason = item(mnuBack, "No Reason", this, &frmOrvelMain::mnuBackFromNoReason_Click);
    mnuBackDinner = item(mnuBack, "Dinner Time", this, &frmOrvelMain::mnuBackDinner_Click);
    mnuAwaySystem->addSeparator();
    mnuAway9082983 = item(mnuAwaySystem, "Away?", this, &frmOrvelMain::mnuAway9082983_Click);
    mnuBack937892 = item(mnuAwaySystem, "Back?", this, &frmOrvelMain::mnuBack937892_Click);
    mnuPersonalIRCSettings = m->addMenu(QStringLiteral("Modes"));
    mnuWallops = mnuPersonalIRCSettings->addMenu(QStringLiteral("Wallops"));
    mnuWallopsOn = item(mnuWallops, "On", this, &frmOrvelMain::mnuWallopsOn_Click);
    mnuWallopsOff = item(mnuWallops, "Off", this, &frmOrvelMain::mnuWallopsOff_Click);
    mnuServerMessages = mnuPersonalIRCSettings->addMenu(QStringLiteral("Server Messages"));
    mnuServerMessageOn = item(mnuServerMessages, "On", this, &frmOrvelMain::mnuServerMessageOn_Click);
    mnuServerMessagesOff = item(mnuServerMessages, "Off", this, &frmOrvelMain::mnuServerMessagesOff_Click);
    m->addSeparator();
    mnuClearBuffer = item(m, "Clear Buffer", this, &frmOrvelMain::mnuClearBuffer_Click);
    mnuPartChannel = item(m, "Part", this, &frmOrvelMain::mnuPartChannel_Click);
    m->addSeparator();
    mnuquitirc = m->addMenu(QStringLiteral("Quit IRC"));
    mnuQuitIRCNormal = item(mnuquitirc, "Normal", this, &frmOrvelMain::mnuQuitIRCNormal_Click);
    // These two do what their namesakes in the server pop-up do.
    mnuCloseTCPSocket3892789 = item(mnuquitirc, "Close Tcp Socket", this, &frmOrvelMain::mnuCloseTCPSocket_Click);
    mnuquitircOrvelIRC0389 = item(mnuquitirc, "Quit IRC/OrvelIRC", this, &frmOrvelMain::mnuQuitOrvelIRC_Click);
    mnuquitirc->addSeparator();
    mnuQuitMsgInc = item(mnuquitirc, "Quit Msg Inc.", this, &frmOrvelMain::mnuQuitMsgInc_Click);
    mnuOhMyGodYouKilledKenny =
        item(mnuquitirc, "Oh my GOD, you've killed Kenny!", this, &frmOrvelMain::mnuOhMyGodYouKilledKenny_Click);
    mnuNoCarrier = item(mnuquitirc, "Hey, don't touch that TELEPHOqMF\u00e4\u00e5\u00f2\u00f4\u00d6\u00d5\u00d3NO CARRIER",
                        this, &frmOrvelMain::mnuNoCarrier_Click);

    // The server pop-up: the queries and Clear Buffer go between the raw-view items and
    // "Disconnect"; the separator already standing before "Disconnect" follows the raw-view items.
    auto serverItem = [this](const char *caption, void (frmOrvelMain::*handler)()) {
        auto *a = new QAction(QString::fromUtf8(caption), mnuServer);
        mnuServer->insertAction(mnuDisconnectMe, a);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    mnuLusers = serverItem("Lusers", &frmOrvelMain::mnuLusers_Click);
    mnuMOTD = serverItem("MOTD", &frmOrvelMain::mnuMOTD_Click);
    mnuTime = serverItem("Time", &frmOrvelMain::mnuTime_Click);
    mnuServer->insertSeparator(mnuDisconnectMe);
    mnuClearBuffer98390283902 = serverItem("Clear Buffer", &frmOrvelMain::mnuClearBuffer98390283902_Click);

    // The dashboard's mode switches, all clear at start.
    auto *modes = new QFrame(Picture1);
    modes->setObjectName(QStringLiteral("Modes"));
    auto *row = new QHBoxLayout(modes);
    row->setContentsMargins(0, 0, 0, 0);
    ModesCaption = new QLabel(QStringLiteral("Modes:"), modes);
    row->addWidget(ModesCaption);
    struct Switch { QCheckBox **box; QLabel **label; const char *caption; void (frmOrvelMain::*click)(); void (frmOrvelMain::*labelClick)(); };
    const Switch switches[] = {
        {&Check1, &Label2, "Server Notices", &frmOrvelMain::Check1_Click, &frmOrvelMain::Label2_Click},
        {&Check2, &Label3, "Wallops", &frmOrvelMain::Check2_Click, &frmOrvelMain::Label3_Click},
        {&Check3, &Label21, "Invisibility", &frmOrvelMain::Check3_Click, &frmOrvelMain::Label21_Click},
    };
    for (const Switch &sw : switches) {
        QCheckBox *box = new ModeBox(modes);
        auto *label = new QLabel(QString::fromUtf8(sw.caption), modes);
        label->setTextFormat(Qt::PlainText);
        row->addWidget(box);
        row->addWidget(label);
        connect(box, &QCheckBox::stateChanged, this, sw.click);
        const auto labelClick = sw.labelClick;
        ClickFilter::on(label)->Click = [this, labelClick] { (this->*labelClick)(); };
        *sw.box = box;
        *sw.label = label;
    }
    // On the panel, before the space that pushes the clock to the right.
    if (auto *dash = qobject_cast<QHBoxLayout *>(Picture1->layout())) {
        int at = dash->count();
        for (int i = 0; i < dash->count(); ++i)
            if (dash->itemAt(i)->spacerItem()) { at = i; break; }
        dash->insertWidget(at, modes);
    }
}

// ---- channel pop-up ----

void frmOrvelMain::mnuOrvelIRC_Click()
{
    const QChar c(3);
    send(QStringLiteral("PRIVMSG ") + chan() + QStringLiteral(" :") + c + QStringLiteral("15,1<<-") + c +
         QStringLiteral("16,1ORVELIRC 1.02") + c + QStringLiteral("15,1*") + c + QStringLiteral("10,1LUMORA EDiTION") + c +
         QStringLiteral("15,1->>") + c + QStringLiteral("12,0 by Tessek"));
}

void frmOrvelMain::mnuListChannels_Click()
{
    frmOrvelIRC &s = server();
    if (!s.IsConnectedFlag()) s.Addtext(QStringLiteral("Your not connected"));
    s.SendData(QStringLiteral("List"));
}

void frmOrvelMain::mnuNamesinThisChannel_Click() { send(QStringLiteral("NAMES ") + chan()); }

void frmOrvelMain::mnuAwayNormal_Click() { away(QStringLiteral("AWAY :") + m_settings.txtAwayMsg.Text, m_settings.txtAwayMsg.Text); }

void frmOrvelMain::mnuGottaPee_Click()
{
    // The one away item whose echo goes into the server pane.
    const QString reason = QStringLiteral("I gotta take a pee REAL BAD!!, brb!!");
    send(QStringLiteral("AWAY :I Gotta take a pee REAL BAD!!"));
    send(QStringLiteral("PRIVMSG ") + chan() + QStringLiteral(" :") + kSetAway + reason + QLatin1Char(']'));
    server().Addtext(QStringLiteral("> ") + kSetAway + reason + QLatin1Char(']'));
}

void frmOrvelMain::mnuAwayNoReason_Click()
{
    away(QStringLiteral("AWAY : I have no reason. Bite Me!"), QStringLiteral("I have no reason. Bite Me!"));
}

void frmOrvelMain::mnuDinnerTime_Click()
{
    away(QStringLiteral("AWAY : Time to eat dinner!"), QStringLiteral("Time to eat dinner!"));
}

void frmOrvelMain::mnuAway9082983_Click()
{
    const QString reason = platform::dialogs().InputBox(
        QStringLiteral("Enter your away message. (Note this message will be seen by everyone in the channel you are in.)"),
        AppTitle, m_settings.txtAwayMsg.Text);
    if (reason.isEmpty()) return;
    // The channel line leaves its bracket open; the echo closes it.
    send(QStringLiteral("AWAY : ") + reason);
    send(QStringLiteral("PRIVMSG ") + chan() + QStringLiteral(" :[Set Away: ") + reason);
    channelEcho(QStringLiteral("> ") + kSetAway + reason + QLatin1Char(']'));
}

void frmOrvelMain::mnuBackNormal_Click() { back(m_settings.txtBackMsg.Text); }
void frmOrvelMain::mnuBackPee_Click() { back(QStringLiteral("Back from takeing a pee.")); }
void frmOrvelMain::mnuBackFromNoReason_Click() { back(QStringLiteral("I have no reason to be back, but I am.")); }
void frmOrvelMain::mnuBackDinner_Click() { back(QStringLiteral("Back from eating dinner.")); }

void frmOrvelMain::mnuBack937892_Click()
{
    const QString reason = platform::dialogs().InputBox(
        QStringLiteral("Enter your reason for being back. (Note this message will be seen by everyone in the channel you are in.)"),
        AppTitle, m_settings.txtBackMsg.Text);
    if (reason.isEmpty()) return;
    send(QStringLiteral("PRIVMSG ") + chan() + QStringLiteral(" :") + kSetBack + reason);
    channelEcho(QStringLiteral("> ") + kSetBack + reason + QLatin1Char(']'));
}

void frmOrvelMain::mnuServerMessageOn_Click() { send(QStringLiteral("MODE ") + m_session->Nick() + QStringLiteral(" +s")); }
void frmOrvelMain::mnuServerMessagesOff_Click() { send(QStringLiteral("MODE ") + m_session->Nick() + QStringLiteral(" -s")); }
void frmOrvelMain::mnuWallopsOn_Click() { send(QStringLiteral("MODE ") + m_session->Nick() + QStringLiteral(" +w")); }
void frmOrvelMain::mnuWallopsOff_Click() { send(QStringLiteral("MODE ") + m_session->Nick() + QStringLiteral(" -w")); }

void frmOrvelMain::mnuClearBuffer_Click() { form<frmChan>().Incoming->Clear(); }

void frmOrvelMain::mnuPartChannel_Click()
{
    // The window's unload sends the PART and gives back its window-list entry.
    if (frmChan *c = loaded<frmChan>()) c->Unload();
}

void frmOrvelMain::mnuQuitIRCNormal_Click()
{
    frmOrvelIRC &s = server();
    if (!m_session->IsConnectedFlag()) {
        s.Addtext(QStringLiteral("\x01 Your not connected"));
        return;
    }
    m_session->SetConnectedCaption(QString());
    s.SendData(QStringLiteral("QUIT :") + m_settings.RichTextBox1.Text);
    mnuPartChannel_Click();
}

// The canned QUIT lines leave the flag and the controls alone: the server's closing of
// the link resets them.
void frmOrvelMain::mnuQuitMsgInc_Click()
{
    send(QStringLiteral("QUIT :Quit Message Inc. Bringing you quality quit messages since 1932!"));
}

void frmOrvelMain::mnuOhMyGodYouKilledKenny_Click()
{
    send(QStringLiteral("QUIT :Oh my GOD! They killed Kenny! Those BASTARDS!"));
}

void frmOrvelMain::mnuNoCarrier_Click()
{
    send(QStringLiteral("QUIT :Hey, don't touch that TELEPHOqMF\u00e4\u00e5\u00f2\u00f4\u00d6\u00d5\u00d3NO CARRIER"));
}

// ---- server pop-up ----

void frmOrvelMain::mnuLusers_Click() { serverQuery(QStringLiteral("LUSERS")); }
void frmOrvelMain::mnuMOTD_Click() { serverQuery(QStringLiteral("MOTD")); }
void frmOrvelMain::mnuTime_Click() { serverQuery(QStringLiteral("TIME")); }
void frmOrvelMain::mnuClearBuffer98390283902_Click() { server().Incoming->Clear(); }

// ---- dashboard mode switches ----

namespace {
// The nick setting, which the server window loads: using it opens the window.
QString nickSetting()
{
    server();
    return session().Settings().Nick();
}
} // namespace

void frmOrvelMain::Check1_Click()
{
    const QString nick = nickSetting();
    const int v = CheckValue(Check1);
    if (v == 1) send(QStringLiteral("MODE ") + nick + QStringLiteral(" +s"));
    else if (v == 0) send(QStringLiteral("MODE ") + nick + QStringLiteral(" -s"));
}

void frmOrvelMain::Check2_Click()
{
    const QString nick = nickSetting();
    const int v = CheckValue(Check2);
    if (v == 1) send(QStringLiteral("MODE ") + nick + QStringLiteral(" +w"));
    else if (v == 0) send(QStringLiteral("MODE ") + nick + QStringLiteral(" -w"));
}

void frmOrvelMain::Check3_Click()
{
    server().Addtext(QStringLiteral("Error 69 (Nothing to do!)"));
    PlaySnd(QStringLiteral("error.wav"));
}

namespace {
// A caption label runs its box's action for the state it has, then flips a clear or set
// box, whose change runs the action again for the new state.
void labelClick(frmOrvelMain &m, QCheckBox *box, void (frmOrvelMain::*click)())
{
    (m.*click)();
    const int v = frmOrvelMain::CheckValue(box);
    if (v == 0) frmOrvelMain::SetCheckValue(box, 1);
    else if (v == 1) frmOrvelMain::SetCheckValue(box, 0);
}
} // namespace

void frmOrvelMain::Label2_Click() { labelClick(*this, Check1, &frmOrvelMain::Check1_Click); }
void frmOrvelMain::Label3_Click() { labelClick(*this, Check2, &frmOrvelMain::Check2_Click); }
void frmOrvelMain::Label21_Click() { labelClick(*this, Check3, &frmOrvelMain::Check3_Click); }
