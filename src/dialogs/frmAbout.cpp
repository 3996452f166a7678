#include "dialogs/frmAbout.h"
#include "dialogs/Pictures.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmAbout> g_current;
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    auto *l = new QHBoxLayout(this);
    Image1 = new QLabel(this);
    Image1->setPixmap(pictures::Emblem(96));
    Image1->setAlignment(Qt::AlignTop);
    l->addWidget(Image1);
    auto *col = new QVBoxLayout;
    Label1 = new QLabel(QStringLiteral("OrvelIRC 1.02"), this);
    Label1->setTextFormat(Qt::PlainText);
    QFont f = Label1->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    Label1->setFont(f);
    col->addWidget(Label1);
    Label2 = new QLabel(QStringLiteral("Written by the OrvelIRC team.\n"
                                       "Icons and pictures: the OrvelIRC team.\n"
                                       "Sound effects: the OrvelIRC team.\n"
                                       "Testing: the OrvelIRC team and everyone who sent in a report."),
                        this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    col->addWidget(Label2);
    col->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setDefault(true);
    col->addWidget(Command1, 0, Qt::AlignRight);
    l->addLayout(col, 1);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
}

frmAbout *frmAbout::Current() { return g_current.data(); }

void frmAbout::Form_Load() { setWindowTitle(AppTitle); }

void frmAbout::Command1_Click() { accept(); }

void frmAbout::ShowModal()
{
    // On the heap: the frame may go away while the box waits.
    QPointer<frmAbout> d = new frmAbout(mainWindow());
    d->setAttribute(Qt::WA_DeleteOnClose);
    g_current = d;
    d->Form_Load();
    d->exec();
}
