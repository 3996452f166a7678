#include "windows/frmOrvelChat.h"
#include "connection/CommandKeys.h"
#include "connection/FrameHost.h"
#include "connection/frmOrvelIRC.h"
#include "platform/Platform.h"
#include "settings/FrameSettings.h"
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace {
constexpr int kTop = 30;  // room for the label and the partner box above the pane
}

frmOrvelChat::frmOrvelChat()
{
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(QStringLiteral("Private Chat"), Frame1);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(QFont(QStringLiteral("Arial")));
    txtUser = new QLineEdit(Frame1);
    txtUser->setFont(MapFont(QStringLiteral("Fixedsys")));
    auto *row = new QHBoxLayout(Frame1);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(Label1, 1);
    row->addWidget(txtUser);
    txtIncoming = new RichPane(this);
    txtOutgoing = new CommandLine(this);
    Timer1 = new VbTimer(2, true, this);
    resize(450, 250);
    setCaption(QStringLiteral("Private Chat"));
    connect(Timer1, &VbTimer::Timer, this, &frmOrvelChat::Timer1_Timer);
    // The caption follows the partner the moment it changes; the timer is a safety net.
    connect(txtUser, &QLineEdit::textChanged, this, &frmOrvelChat::Timer1_Timer);
    connect(txtIncoming, &RichPane::Change, this, &frmOrvelChat::txtIncoming_Change);
    connect(txtIncoming, &RichPane::GotFocus, this, &frmOrvelChat::txtIncoming_GotFocus);
    txtIncoming->viewport()->installEventFilter(this);
    txtOutgoing->KeyPress = [this](int &k) { txtOutgoing_KeyPress(k); };
}

bool frmOrvelChat::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == txtIncoming->viewport() && e->type() == QEvent::MouseButtonDblClick) {
        txtIncoming_DblClick();
        return true;
    }
    return FormBase::eventFilter(watched, e);
}

void frmOrvelChat::Form_Load() { ApplyFontHolders(txtIncoming, txtOutgoing); }

void frmOrvelChat::Form_Activate() { txtIncoming_Change(); }

void frmOrvelChat::Form_Resize()
{
    const int w = width(), h = height();
    Frame1->setGeometry(0, 0, std::max(0, w), kTop);
    txtIncoming->setGeometry(0, kTop, std::max(0, w), std::max(0, h - 23 - kTop));
    txtOutgoing->setGeometry(0, std::max(0, h - 23), std::max(0, w), 23);
}

void frmOrvelChat::Timer1_Timer()
{
    if (!txtUser->text().isEmpty()) setCaption(txtUser->text());
}

void frmOrvelChat::txtIncoming_Change() { txtIncoming->CaretToEnd(); }

void frmOrvelChat::txtIncoming_DblClick()
{
    QPointer<frmOrvelChat> self(this);
    const QString who = platform::dialogs().InputBox(QStringLiteral("Enter the person you wish to chat with"), AppTitle, QString());
    // The window may have been closed while the box was open.
    if (who.isEmpty() || !self || IsUnloaded()) return;
    txtIncoming->Clear();
    txtUser->setText(who);
}

void frmOrvelChat::txtIncoming_GotFocus() { txtOutgoing->setFocus(); }

void frmOrvelChat::txtOutgoing_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 27) {
        Minimize();
        return;
    }
    if (KeyAscii != 13) return;
    const QString typed = txtOutgoing->text();
    if (typed.isEmpty()) return;
    if (txtUser->text().isEmpty()) {
        // The text stays in the line for when a partner has been named.
        platform::dialogs().MsgBox(QStringLiteral("Please enter a username of who you are chatting with!"), AppTitle,
                                   MsgIcon::Exclamation);
        return;
    }
    const QString &fontName = frameHost().Settings().txtFontName.Text;
    if (!fontName.isEmpty()) {
        QFont f = txtOutgoing->font();
        f.setFamilies(MapFont(fontName).families());
        txtOutgoing->setFont(f);
    }
    KeyAscii = 0;
    // Each line of a paste is a message of its own: a line break could never go out inside one.
    for (const QString &line : commands::TypedLines(typed)) {
        form<frmOrvelIRC>().SendData(QStringLiteral("PRIVMSG ") + txtUser->text() + QStringLiteral(" :") + line);
        txtIncoming->SetSelColor(0);
        txtIncoming->SetSelText(QStringLiteral("\r\n> ") + line);
    }
    txtOutgoing->clear();
}
