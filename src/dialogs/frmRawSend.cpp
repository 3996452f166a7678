#include "dialogs/frmRawSend.h"
#include "connection/frmOrvelIRC.h"
#include "platform/Platform.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmRawSend::frmRawSend() : FormBase(mainWindow())
{
    setWindowFlag(Qt::Window);
    auto *l = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Use this command to send IRC commands to the server that may not be on the control menu."), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    l->addWidget(Label1);

    Frame1 = new QGroupBox(QStringLiteral("Channel Control - Server"), this);
    auto *fl = new QHBoxLayout(Frame1);
    Label2 = new QLabel(QStringLiteral("Command:"), Frame1);
    Label2->setTextFormat(Qt::PlainText);
    Text1 = new QLineEdit(Frame1);
    fl->addWidget(Label2);
    fl->addWidget(Text1, 1);
    l->addWidget(Frame1);

    auto *row = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Send"), this);
    Check1 = new QCheckBox(QStringLiteral("Stay"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    row->addWidget(Command1);
    row->addWidget(Check1);
    row->addStretch(1);
    row->addWidget(Command2);
    l->addLayout(row);
    connect(Command1, &QPushButton::clicked, this, &frmRawSend::Command1_Click);
    // Enter in the command box sends, as the Send button does.
    connect(Text1, &QLineEdit::returnPressed, this, &frmRawSend::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmRawSend::Command2_Click);
    resize(440, 150);
}

void frmRawSend::Form_Load() { setCaption(AppTitle); }

void frmRawSend::Command1_Click()
{
    // No connection test: the server window drops a line while the socket is closed.
    form<frmOrvelIRC>().SendData(Text1->text());
    if (!Check1->isChecked()) Unload();
}

void frmRawSend::Command2_Click() { Unload(); }

frmRawSend &frmRawSend::Open()
{
    frmRawSend &r = form<frmRawSend>();
    if (!r.isVisible()) r.CentreOverFrame();
    r.ShowForm();
    r.raise();
    r.activateWindow();
    return r;
}
