#include "windows/frmChan.h"
#include "connection/CommandKeys.h"
#include "connection/FrameHost.h"
#include "connection/frmOrvelIRC.h"
#include "core/ChannelMembers.h"
#include "core/Session.h"
#include "platform/Platform.h"

// ---- window ----

namespace {
frmOrvelIRC &server() { return form<frmOrvelIRC>(); }
} // namespace

frmChan::frmChan()
{
    Incoming = new RichPane(this);
    Namelist = new NickList(session().Members(), this);
    Outgoing = new CommandLine(this);
    Namelist->setFont(MapFont(QStringLiteral("Fixedsys"), 9));
    Incoming->setGeometry(0, 0, 380, 277);
    Namelist->setGeometry(380, 0, 121, 280);
    Outgoing->setGeometry(0, 277, 500, 19);
    resize(500, 300);

    connect(Incoming, &RichPane::Change, this, &frmChan::Incoming_Change);
    connect(Incoming, &RichPane::Click, this, &frmChan::Incoming_Click);
    connect(Incoming, &RichPane::GotFocus, this, &frmChan::Incoming_GotFocus);
    connect(Incoming, &RichPane::MouseDown, this, &frmChan::Incoming_MouseDown);
    connect(Namelist, &NickList::DblClick, this, &frmChan::Namelist_DblClick);
    connect(Namelist, &NickList::MouseDown, this, &frmChan::Namelist_MouseDown);
    Outgoing->KeyPress = [this](int &k) { Outgoing_KeyPress(k); };
}

void frmChan::output(const QString &text, int colour)
{
    ApplyFontHolders(Incoming, Outgoing);
    Incoming->SetSelColor(colour);
    Incoming->SetSelTextOnNewLine(text);
}

void frmChan::Addtext(const QString &text) { output(text, 0); }
void frmChan::Addtext2(const QString &text) { output(text, 1); }
void frmChan::Addtext3(const QString &text) { output(text, 7); }
void frmChan::Addtext4(const QString &text) { output(text, 8); }

void frmChan::Form_Load() { ApplyFontHolders(Incoming, Outgoing); }

void frmChan::Form_Deactivate() { Incoming_Change(); }

void frmChan::Form_Resize()
{
    // A length that would come out negative (a window shrunk to almost nothing) is skipped:
    // the control keeps its previous one.
    const int w = width(), h = height();
    if (h - 23 >= 0) Incoming->resize(Incoming->width(), h - 23);
    if (w - 120 >= 0) Incoming->resize(w - 120, Incoming->height());
    Outgoing->resize(w, Outgoing->height());
    if (h - 23 >= 0) Outgoing->move(Outgoing->x(), h - 23);
    if (w - 120 >= 0) Namelist->move(w - 120, Namelist->y());
    if (h - 20 >= 0) Namelist->resize(Namelist->width(), h - 20);
}

void frmChan::Form_Unload()
{
    // With the server window gone there is no socket to leave the channel on.
    if (frmOrvelIRC *s = loaded<frmOrvelIRC>()) s->SendData(QStringLiteral("PART ") + s->ChanCentral());
    // The list goes with the window: a window opened later starts with an empty one.
    session().Members().Clear();
}

void frmChan::Incoming_Change() { Incoming->CaretToEnd(); }

void frmChan::Incoming_Click()
{
    const QString sel = Incoming->SelText();
    if (sel.isEmpty()) return;
    platform::clipboard().Clear();
    platform::clipboard().SetText(sel);
}

void frmChan::Incoming_GotFocus() { Outgoing->setFocus(); }

void frmChan::Incoming_MouseDown(int button)
{
    if (button != 2) return;
    // The frame's channel menu shows at the pointer; this returns once it has closed.
    emit PaneMenuRequested();
}

void frmChan::Namelist_DblClick()
{
    const QString entry = Namelist->Members().Picked();
    QString selected = entry;
    if (entry.startsWith(QLatin1Char('@'))) selected = entry.mid(1);
    if (entry.startsWith(QLatin1Char('+'))) selected = entry.mid(1);
    server().SendData(QStringLiteral("WHOIS ") + selected);
}

void frmChan::Namelist_MouseDown(int button)
{
    if (button != 2) return;
    QPointer<frmChan> self(this);
    Namelist->setEnabled(false);
    ShowNamelistPopup();
    // A command from the menu may have closed this window.
    if (self) Namelist->setEnabled(true);
}

void frmChan::Outgoing_KeyPress(int &KeyAscii)
{
    commands::EnterLines(*this, *Outgoing, KeyAscii, core::InputLine::Channel);
}
