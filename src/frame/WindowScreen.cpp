#include "frame/WindowScreen.h"
#include "connection/frmOrvelIRC.h"
#include "core/FormattingMarks.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "windows/frmChan.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include "windows/frmOutData.h"
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProcess>

WindowScreen::WindowScreen() = default;
WindowScreen::~WindowScreen() = default;

void WindowScreen::BeginBlock()
{
    if (m_openBlocks++ == 0) m_batch.emplace();
}

void WindowScreen::EndBlock()
{
    if (m_openBlocks > 0 && --m_openBlocks == 0) m_batch.reset();
}

void WindowScreen::ServerLine(core::ServerStyle style, const QString &text)
{
    frmOrvelIRC &s = form<frmOrvelIRC>();
    switch (style) {
    case core::ServerStyle::Status: s.Addtext(text); break;
    case core::ServerStyle::Progress: s.Addtext2(text); break;
    case core::ServerStyle::Server: s.Addtext3(text); break;
    case core::ServerStyle::Echo: s.Addtext4(text); break;
    case core::ServerStyle::Offer: s.Addtext5(text); break;
    }
}

void WindowScreen::ChannelLine(core::ChannelStyle style, const QString &text)
{
    frmChan &c = form<frmChan>();
    switch (style) {
    case core::ChannelStyle::Text: c.Addtext(text); break;
    case core::ChannelStyle::Event: c.Addtext2(text); break;
    case core::ChannelStyle::Rule: c.Addtext3(text); break;
    case core::ChannelStyle::Whois: c.Addtext4(text); break;
    }
}

void WindowScreen::ChannelInsert(int colour, const QString &text)
{
    RichPane *pane = form<frmChan>().Incoming;
    if (colour == core::Code13Colour) pane->SetSelColorRgb(QColor(192, 0, 192));
    else pane->SetSelColor(colour);
    pane->SetSelText(text);
}

bool WindowScreen::ChannelPaneEmpty() { return form<frmChan>().Incoming->TextLength() == 0; }

void WindowScreen::ChannelCaption(const QString &caption) { form<frmChan>().setCaption(caption); }

void WindowScreen::ShowChannelWindow() { form<frmChan>().ShowForm(); }

// A channel window that is not open is not created only to be hidden or closed.
void WindowScreen::HideChannelWindow()
{
    if (frmChan *c = loaded<frmChan>()) c->HideForm();
}

void WindowScreen::CloseChannelWindow()
{
    if (frmChan *c = loaded<frmChan>()) c->Unload();
}

bool WindowScreen::ChannelWindowVisible()
{
    frmChan *c = loaded<frmChan>();
    return c && c->SubWindow() && !c->SubWindow()->isHidden();
}

void WindowScreen::UseChannelWindow() { form<frmChan>(); }

void WindowScreen::UseServerWindow() { form<frmOrvelIRC>(); }

void WindowScreen::PrivateMessage(const QString &sender, const QString &text)
{
    const bool wasOpen = loaded<frmOrvelChat>() != nullptr;
    QPointer<frmOrvelChat> chat = &form<frmOrvelChat>();
    chat->txtUser->setText(sender);
    chat->Label1->setText(QStringLiteral("Private Chat with ") + sender);
    if (!wasOpen) {
        chat->ShowForm();
        chat->txtIncoming->SetSelColor(1);
        chat->txtIncoming->SetSelText(WithoutMarks(QStringLiteral("\x01 Now chatting with ") + chat->txtUser->text()));
    }
    ApplyFontHolders(chat->txtIncoming, nullptr);
    chat->txtIncoming->SetSelColor(1);
    chat->txtIncoming->SetSelText(QStringLiteral("\r\n") + text);
    chat->txtIncoming->SetSelColor(0);
}

void WindowScreen::PlaySound(const QString &file) { Main().PlaySnd(file); }

void WindowScreen::InformUser(const QString &text) { platform::dialogs().MsgBox(text, AppTitle); }

// Without a shell: the program and its arguments as split from the typed line.
void WindowScreen::StartProgram(const QString &commandLine)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty()) return;
    const QString program = parts.takeFirst();
    platform::launcher().StartProgram(program, parts);
}

// The pointer belongs to a server window that is there: one that is closing, or gone,
// is not opened for it.
void WindowScreen::SetBusy(bool busy)
{
    if (frmOrvelIRC *s = loaded<frmOrvelIRC>()) s->Incoming->SetMousePointer(busy ? 13 : 1);
}

void WindowScreen::PlayCdOnConnect()
{
    frmOrvelMain &m = Main();
    if (m.Settings().txtPcdos.Text == QLatin1String("yes")) m.PlayCdOnConnect();
}

void WindowScreen::ConnectionFonts()
{
    const settings::FrameSettings &fs = Main().Settings();
    frmOrvelIRC &s = form<frmOrvelIRC>();
    // A size that is not a number is left out; the font name still counts.
    bool sized = false;
    const double pts = fs.txtFontSize.Text.trimmed().toDouble(&sized);
    sized = sized && pts > 0;
    if (!fs.txtFontName.Text.isEmpty()) {
        s.Incoming->SetSelFontName(fs.txtFontName.Text);
        if (sized) s.Incoming->SetSelFontSize(pts);
    }
    if (!fs.txtFontSize.Text.isEmpty()) {
        QFont f = fs.txtFontName.Text.isEmpty() ? s.Outgoing->font() : MapFont(fs.txtFontName.Text);
        if (sized) f.setPointSizeF(pts);
        s.Outgoing->setFont(f);
    }
}

void WindowScreen::ShowReceived(const QString &text) { form<frmInData>().Append(text); }

void WindowScreen::ShowSent(const QString &line) { form<frmOutData>().Append(QStringLiteral("\r\n") + line); }
