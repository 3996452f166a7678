#include "connection/frmOrvelIRC.h"
#include "connection/LineView.h"
#include "frame/frmOrvelMain.h"
#include "platform/Palette.h"
#include "platform/Platform.h"
#include "settings/IrcData.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

frmOrvelIRC::frmOrvelIRC()
{
    Incoming = new RichPane(this);
    Outgoing = new CommandLine(this);
    Outgoing->setGeometry(0, 0, 400, 23);
    Incoming->setGeometry(0, 0, 400, 200);
    Tcp1 = new TcpSocket(this);
    Timer1 = new VbTimer(1, true, this);
    Teletrivia = new VbTimer(30000, false, this);
    // The teletrivia phase indicator: a small square at the pane's top right, in a strip
    // the pane's text leaves free.
    Picture1 = new QLabel(this);
    Picture1->setFixedSize(12, 12);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setToolTip(QStringLiteral("Tele Trivia"));
    SetPicture1BackColor(0);
    Incoming->KeepBesideText(Picture1);
    resize(DesignedSize);
    // A window loaded again shows the channel at once, not at its timer's first tick.
    ChanCentral.Text = CurrentChannel;

    connect(Incoming, &RichPane::Change, this, &frmOrvelIRC::Incoming_Change);
    connect(Incoming, &RichPane::Click, this, &frmOrvelIRC::Incoming_Click);
    connect(Incoming, &RichPane::MouseDown, this, &frmOrvelIRC::Incoming_MouseDown);
    connect(Incoming, &RichPane::GotFocus, this, &frmOrvelIRC::Form_GotFocus);
    connect(Timer1, &VbTimer::Timer, this, &frmOrvelIRC::Timer1_Timer);
    connect(Tcp1, &TcpSocket::Connected, this, &frmOrvelIRC::TCP1_Connect);
    connect(Tcp1, &TcpSocket::DataArrival, this, &frmOrvelIRC::TCP1_DataArrival);
    connect(Tcp1, &TcpSocket::Closed, this, &frmOrvelIRC::TCP1_Close);
    connect(Tcp1, &TcpSocket::ConnectFailed, this, &frmOrvelIRC::TCP1_ConnectFailed);
    Outgoing->KeyPress = [this](int &k) { Outgoing_KeyPress(k); };
    WireTeletrivia();
}

frmOrvelIRC::~frmOrvelIRC() = default;

void frmOrvelIRC::output(const QString &text, int colour, bool lineEndFirst, bool setCommandFont)
{
    Main().ApplyFontHolders(Incoming, setCommandFont ? Outgoing : nullptr);
    Incoming->SetSelColor(colour);
    Incoming->SetSelText(lineEndFirst ? QStringLiteral("\r\n") + text : text + QStringLiteral("\r\n"));
}

void frmOrvelIRC::AddtextX(const QString &text) { output(text, 0, false, true); }
void frmOrvelIRC::Addtext(const QString &text) { output(text, 0, true, true); }
void frmOrvelIRC::Addtext2(const QString &text) { output(text, 1, true, false); }
void frmOrvelIRC::Addtext3(const QString &text) { output(text, 3, true, true); }
void frmOrvelIRC::Addtext4(const QString &text) { output(text, 4, true, true); }
void frmOrvelIRC::Addtext5(const QString &text) { output(text, 12, false, true); }

void frmOrvelIRC::SendData(const QString &line)
{
    // One line only: whatever follows a CR, LF or NUL never reaches the wire.
    qsizetype end = line.size();
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0)) { end = i; break; }
    }
    const QString one = line.left(end);
    Tcp1->Send(one + QStringLiteral("\r\n"));
    frmOrvelMain &m = Main();
    if (m.mnuOutDataWindow->isChecked()) form<frmOutData>().Append(QStringLiteral("\r\n") + one);
}

void frmOrvelIRC::Form_Load()
{
    CrLf = QStringLiteral("\r\n");
    ChannelState = 0;
    frmOrvelMain &m = Main();
    m.Command2->setEnabled(true);
    m.mnuShowServerWindow->setEnabled(false);
    m.ApplyFontHolders(Incoming, Outgoing);

    const QString startupPath = settings::Find(QStringLiteral("startup.txt"));
    QFile startup(startupPath);
    if (!startupPath.isEmpty() && startup.open(QIODevice::ReadOnly)) {
        for (const QString &item : settings::ReadFields(startup.readAll())) {
            if (item.isEmpty()) break;
            AddtextX(item);
        }
    }

    txtAlternativeNickname.Load(QStringLiteral("altnick.msg"));
    txtNick.Load(QStringLiteral("nick.msg"));
    txtServer.Load(QStringLiteral("server.msg"));
    txtPort.Load(QStringLiteral("port.msg"));
    txtRN.Load(QStringLiteral("realname.msg"));
    txtEmail.Load(QStringLiteral("email.msg"));
    txtIpAddress.Text = Tcp1->LocalIP();
    txtLocalH.Text = Tcp1->LocalHostName();
    if (txtServer.Text.isEmpty() || txtNick.Text.isEmpty() || txtPort.Text.isEmpty() ||
        txtAlternativeNickname.Text.isEmpty() || txtEmail.Text.isEmpty())
        m.mnuSetupWizard_Click();
    SetServerAddress(txtServer.Text);
    IrcData::ServerName = txtServer.Text;
    IrcData::ServerPort = txtPort.Text;
    IrcData::CurrentNick = txtNick.Text;
    IrcData::AlternativeNick = txtAlternativeNickname.Text;
    IrcData::RealName = txtRN.Text;
    IrcData::EmailAddress = txtEmail.Text;
    m.ClaimWindowEntry(QStringLiteral("Server Connection"), 6);
}

void frmOrvelIRC::Form_Activate()
{
    frmOrvelMain &m = Main();
    if (m.txtAutoArrange.Text == QLatin1String("yes")) m.TileChildren();
    m.CheckWindowEntry(QStringLiteral("Server Connection"), 6, true);
    Incoming_Change();
}

void frmOrvelIRC::Form_Deactivate() { Main().CheckWindowEntry(QStringLiteral("Server Connection"), 6, false); }

void frmOrvelIRC::Form_GotFocus() { Outgoing->setFocus(); }

void frmOrvelIRC::Form_Resize()
{
    const int h = height(), w = width();
    Incoming->setGeometry(Incoming->x(), Incoming->y(), std::max(0, w), std::max(0, h - 23));
    Outgoing->setGeometry(Outgoing->x(), std::max(0, h - 23), std::max(0, w), Outgoing->height());
}

void frmOrvelIRC::Form_Unload()
{
    frmOrvelMain &m = Main();
    m.mnuShowServerWindow->setEnabled(true);
    // No socket is left behind: the frame's controls must not go on claiming a connection
    // or counting down an attempt (whose time-out would load this window again).
    ConnectionGone(nullptr);
    Timer1->setEnabled(false);
    Teletrivia->setEnabled(false);
    m.Command2->setEnabled(false);
    m.ReleaseWindowEntry(QStringLiteral("Server Connection"), 6);
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
    Main().mnuServer->exec(QCursor::pos());
    if (self) self->Incoming->setEnabled(true);
}

// A safety net only: SetCurrentChannel publishes the channel the moment it changes.
void frmOrvelIRC::Timer1_Timer() { ChanCentral.Text = CurrentChannel; }

void frmOrvelIRC::SetCurrentChannel(const QString &channel)
{
    CurrentChannel = channel;
    if (frmOrvelIRC *s = loaded<frmOrvelIRC>()) s->ChanCentral.Text = channel;
}

bool frmOrvelIRC::IsCurrentChannel(QStringView name) { return SameChannel(name, CurrentChannel); }

void frmOrvelIRC::SetPicture1BackColor(int paletteIndex)
{
    Picture1BackColor = paletteIndex;
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, PaletteColour(paletteIndex));
    Picture1->setAutoFillBackground(true);
    Picture1->setPalette(pal);
}
