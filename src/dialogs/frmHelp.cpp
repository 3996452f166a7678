#include "dialogs/frmHelp.h"
#include "platform/Platform.h"
#include "platform/RichPane.h"
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

frmHelp::frmHelp() : FormBase(mainWindow())
{
    // A window of its own that goes when the frame goes.
    setWindowFlag(Qt::Window);
    auto *l = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("OrvelIRC Help"), this);
    Label1->setTextFormat(Qt::PlainText);
    QFont f = Label1->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    Label1->setFont(f);
    l->addWidget(Label1);

    Frame1 = new QGroupBox(QStringLiteral("(Waiting)"), this);
    auto *fl = new QVBoxLayout(Frame1);
    RichTextBox1 = new RichPane(Frame1);
    RichTextBox1->setReadOnly(true);
    fl->addWidget(RichTextBox1);
    l->addWidget(Frame1, 1);

    auto *row = new QHBoxLayout;
    cmdShowHelpOnOrvelIRC = new QPushButton(QStringLiteral("OrvelIRC Help"), this);
    cmdShowHelpOnIRC = new QPushButton(QStringLiteral("IRC Commands"), this);
    cmdHelpOnCreditsAndAbout = new QPushButton(QStringLiteral("Special Thanks etc..."), this);
    row->addWidget(cmdShowHelpOnOrvelIRC);
    row->addWidget(cmdShowHelpOnIRC);
    row->addWidget(cmdHelpOnCreditsAndAbout);
    l->addLayout(row);
    connect(cmdShowHelpOnOrvelIRC, &QPushButton::clicked, this, &frmHelp::cmdShowHelpOnOrvelIRC_Click);
    connect(cmdShowHelpOnIRC, &QPushButton::clicked, this, &frmHelp::cmdShowHelpOnIRC_Click);
    connect(cmdHelpOnCreditsAndAbout, &QPushButton::clicked, this, &frmHelp::cmdHelpOnCreditsAndAbout_Click);
    resize(700, 480);
}

void frmHelp::Form_Load()
{
    setCaption(AppTitle);
    RichTextBox1->Clear();
}

bool frmHelp::LoadText(const QString &file)
{
    if (!RichTextBox1->LoadFile(file)) return false;
    // A text is read from its top.
    RichTextBox1->moveCursor(QTextCursor::Start);
    return true;
}

void frmHelp::cmdShowHelpOnOrvelIRC_Click()
{
    Frame1->setTitle(QStringLiteral("OrvelIRC Help"));
    LoadText(QStringLiteral("readme.txt"));
}

void frmHelp::cmdShowHelpOnIRC_Click()
{
    Frame1->setTitle(QStringLiteral("IRC Commands"));
    LoadText(QStringLiteral("help.txt"));
}

void frmHelp::cmdHelpOnCreditsAndAbout_Click()
{
    Frame1->setTitle(QStringLiteral("Credits"));
    LoadText(QStringLiteral("credits.txt"));
}

frmHelp &frmHelp::Open()
{
    frmHelp &h = form<frmHelp>();
    if (!h.isVisible()) h.CentreOverFrame();
    h.ShowForm();
    h.raise();
    h.activateWindow();
    return h;
}
