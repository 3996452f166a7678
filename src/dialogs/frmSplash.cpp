#include "dialogs/frmSplash.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmSplash> g_current;
}

frmSplash::frmSplash(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(AppTitle);
    auto *l = new QVBoxLayout(this);
    auto *t = new QLabel(AppTitle, this);
    t->setTextFormat(Qt::PlainText);
    t->setAlignment(Qt::AlignCenter);
    QFont f = t->font();
    f.setPointSize(28);
    f.setBold(true);
    t->setFont(f);
    t->setMinimumSize(360, 180);
    l->addWidget(t, 1);
    Check1 = new QCheckBox(QStringLiteral("Show at start"), this);
    Check1->setChecked(true);
    l->addWidget(Check1);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setDefault(true);
    l->addWidget(Command1, 0, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);
}

frmSplash *frmSplash::Current() { return g_current.data(); }

void frmSplash::Form_Load()
{
    MMControl &wave = *Main().MMControl1;
    wave.Command(QStringLiteral("Close"));
    wave.SetSwitches(false, false, false);
    wave.SetDeviceType(QStringLiteral("WaveAudio"));
    wave.SetFileName(QStringLiteral("start.wav"));
    wave.Command(QStringLiteral("Open"));
    wave.Command(QStringLiteral("Play"));
}

void frmSplash::Form_Unload()
{
    settings::Write(QStringLiteral("splash.msg"), Check1->isChecked() ? QStringLiteral("yes") : QStringLiteral("no"));
    Main().MMControl1->Command(QStringLiteral("Close"));
}

void frmSplash::Command1_Click() { accept(); }

// OK, Esc and the close box all end here: the unload runs once, whichever it was.
void frmSplash::done(int r)
{
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    QDialog::done(r);
}

void frmSplash::ShowModal()
{
    frmSplash s(&Main());
    g_current = &s;
    s.Form_Load();
    s.exec();
}
