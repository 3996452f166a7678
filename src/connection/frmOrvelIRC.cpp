#include "connection/frmOrvelIRC.h"
#include "connection/CommandKeys.h"
#include "connection/FrameHost.h"
#include "core/Session.h"
#include "core/Teletrivia.h"
#include "platform/Palette.h"
#include "platform/Platform.h"
#include "platform/TcpSocket.h"
#include <QFile>
#include <QLabel>
#include <QMouseEvent>

namespace {
// Clicks on the indicator set the quiz's phase by hand.
class IndicatorClicks : public QObject
{
public:
    explicit IndicatorClicks(frmOrvelIRC *owner) : QObject(owner), m_owner(owner) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        // Clicks are the left button's; a double click brings its own press first.
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick) return false;
        if (static_cast<QMouseEvent *>(e)->button() != Qt::LeftButton) return false;
        if (e->type() == QEvent::MouseButtonPress) m_owner->Picture1_Click();
        else m_owner->Picture1_DblClick();
        return false;
    }
private:
    frmOrvelIRC *m_owner;
};
} // namespace

frmOrvelIRC::frmOrvelIRC()
{
    core::Session &ss = session();
    // Nothing of the last server window's connection carries over into this one's.
    ss.Reopen();
    Incoming = new RichPane(this);
    Outgoing = new CommandLine(this);
    Outgoing->setGeometry(0, 0, 400, 23);
    Incoming->setGeometry(0, 0, 400, 200);
    // The teletrivia phase indicator: a small square at the pane's top right, in a strip
    // the pane's text leaves free. Clicks on it set the phase by hand.
    Picture1 = new QLabel(this);
    Picture1->setFixedSize(12, 12);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setToolTip(QStringLiteral("Tele Trivia"));
    Picture1->installEventFilter(new IndicatorClicks(this));
    Incoming->KeepBesideText(Picture1);
    showPhase(ss.Game().Phase());
    connect(&ss.Game(), &core::Teletrivia::PhaseChanged, this, &frmOrvelIRC::showPhase);
    resize(DesignedSize);
    // The caption is the connected flag, from the moment it changes.
    setCaption(ss.ConnectedCaption());
    connect(&ss, &core::Session::ConnectedCaptionChanged, this, &frmOrvelIRC::setCaption);

    connect(Incoming, &RichPane::Change, this, &frmOrvelIRC::Incoming_Change);
    connect(Incoming, &RichPane::Click, this, &frmOrvelIRC::Incoming_Click);
    connect(Incoming, &RichPane::MouseDown, this, &frmOrvelIRC::Incoming_MouseDown);
    connect(Incoming, &RichPane::GotFocus, this, &frmOrvelIRC::Form_GotFocus);
    Outgoing->KeyPress = [this](int &k) { Outgoing_KeyPress(k); };
}

frmOrvelIRC::~frmOrvelIRC() = default;

void frmOrvelIRC::output(const QString &text, int colour, bool lineEndFirst, bool setCommandFont)
{
    ApplyFontHolders(Incoming, setCommandFont ? Outgoing : nullptr);
    Incoming->SetSelColor(colour);
    Incoming->SetSelText(lineEndFirst ? QStringLiteral("\r\n") + text : text + QStringLiteral("\r\n"));
}

void frmOrvelIRC::AddtextX(const QString &text) { output(text, 0, false, true); }
void frmOrvelIRC::Addtext(const QString &text) { output(text, 0, true, true); }
void frmOrvelIRC::Addtext2(const QString &text) { output(text, 1, true, false); }
void frmOrvelIRC::Addtext3(const QString &text) { output(text, 3, true, true); }
void frmOrvelIRC::Addtext4(const QString &text) { output(text, 4, true, true); }
void frmOrvelIRC::Addtext5(const QString &text) { output(text, 12, false, true); }

void frmOrvelIRC::SendData(const QString &line) { session().SendData(line); }

bool frmOrvelIRC::IsConnectedFlag() const { return session().IsConnectedFlag(); }

const QString &frmOrvelIRC::ChanCentral() const { return session().CurrentChannel(); }

TcpSocket &frmOrvelIRC::Tcp1() const { return session().Socket(); }

void frmOrvelIRC::Form_Load()
{
    core::Session &ss = session();
    ss.SetChannelState(core::ChannelState::None);
    ApplyFontHolders(Incoming, Outgoing);

    const QString startupPath = settings::Find(QStringLiteral("startup.txt"));
    QFile startup(startupPath);
    if (!startupPath.isEmpty() && startup.open(QIODevice::ReadOnly)) {
        for (const QString &item : settings::ReadFields(startup.readAll())) {
            if (item.isEmpty()) break;
            AddtextX(item);
        }
    }

    settings::ConnectionSettings &cs = ss.Settings();
    cs.Load();
    txtIpAddress.Text = ss.Socket().LocalIP();
    txtLocalH.Text = ss.Socket().LocalHostName();
    // A wizard given up goes on with the settings as loaded here.
    if (cs.Incomplete()) frameHost().RunSetupWizard();
    ss.TakeSettings();
}

void frmOrvelIRC::Form_Activate() { Incoming_Change(); }

void frmOrvelIRC::Form_GotFocus() { Outgoing->setFocus(); }

void frmOrvelIRC::Form_Resize()
{
    const int h = height(), w = width();
    Incoming->setGeometry(Incoming->x(), Incoming->y(), std::max(0, w), std::max(0, h - 23));
    Outgoing->setGeometry(Outgoing->x(), std::max(0, h - 23), std::max(0, w), Outgoing->height());
}

void frmOrvelIRC::Form_Unload()
{
    // No socket is left behind: the frame's controls must not go on claiming a connection
    // or counting down an attempt (whose time-out would load this window again), and a
    // running game stops.
    session().ConnectionGone(std::nullopt);
}

void frmOrvelIRC::Outgoing_KeyPress(int &KeyAscii)
{
    commands::EnterLines(*this, *Outgoing, KeyAscii, core::InputLine::Server);
}

void frmOrvelIRC::Incoming_Change() { Incoming->CaretToEnd(); }

void frmOrvelIRC::Incoming_Click()
{
    const QString sel = Incoming->SelText();
    if (sel.isEmpty()) return;
    platform::clipboard().Clear();
    platform::clipboard().SetText(sel);
}

void frmOrvelIRC::Incoming_MouseDown(int button)
{
    if (button != 2) return;
    Incoming->setEnabled(false);
    QPointer<frmOrvelIRC> self(this);
    // The frame's server menu shows at the pointer; this returns once it has closed.
    emit PaneMenuRequested();
    if (self) self->Incoming->setEnabled(true);
}

void frmOrvelIRC::Picture1_Click() { session().Game().SetPhase(core::TriviaPhase::Ask); }

void frmOrvelIRC::Picture1_DblClick() { session().Game().SetPhase(core::TriviaPhase::Reveal); }

void frmOrvelIRC::showPhase(core::TriviaPhase phase)
{
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, PaletteColour(int(phase)));
    Picture1->setAutoFillBackground(true);
    Picture1->setPalette(pal);
}
