#include "dialogs/frmSplash.h"
#include "dialogs/Pictures.h"
#include "platform/Forms.h"
#include "platform/Multimedia.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
QPointer<frmSplash> g_current;
}

frmSplash::frmSplash(MMControl &wave, QWidget *parent) : QDialog(parent), m_wave(wave)
{
    setWindowTitle(AppTitle);
    auto *l = new QVBoxLayout(this);
    // The picture fills the window above the box and the button.
    l->setContentsMargins(0, 0, 0, 6);
    Image1 = new QLabel(this);
    Image1->setPixmap(pictures::Splash(QSize(480, 240)));
    Image1->setFixedSize(480, 240);
    l->addWidget(Image1, 1);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    Check1 = new QCheckBox(QStringLiteral("Show at start"), this);
    Check1->setChecked(true);
    row->addWidget(Check1);
    row->addStretch(1);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setDefault(true);
    row->addWidget(Command1);
    l->addLayout(row);
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);
}

frmSplash *frmSplash::Current() { return g_current.data(); }

void frmSplash::Form_Load()
{
    m_wave.Command(QStringLiteral("Close"));
    m_wave.SetSwitches(false, false, false);
    m_wave.SetDeviceType(QStringLiteral("WaveAudio"));
    m_wave.SetFileName(QStringLiteral("start.wav"));
    m_wave.Command(QStringLiteral("Open"));
    m_wave.Command(QStringLiteral("Play"));
}

void frmSplash::Form_Unload()
{
    settings::Write(QStringLiteral("splash.msg"), Check1->isChecked() ? QStringLiteral("yes") : QStringLiteral("no"));
    m_wave.Command(QStringLiteral("Close"));
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

void frmSplash::ShowModal(MMControl &wave)
{
    // On the heap: the frame may go away while the splash waits.
    QPointer<frmSplash> s = new frmSplash(wave, mainWindow());
    s->setAttribute(Qt::WA_DeleteOnClose);
    g_current = s;
    s->Form_Load();
    s->exec();
}
