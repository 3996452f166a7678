// The sound board on the dashboard and the "Amp" menu: the audio CD, an outside MP3
// player, the sound chooser and the desktop's volume control.
#include "frame/ClickFilter.h"
#include "frame/frmOrvelMain.h"
#include "platform/Platform.h"
#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The desktop's volume control stands in for the Windows mixer.
const QString kVolumeControl = QStringLiteral("pavucontrol");
// The MP3 file goes, as one argument, to the desktop's default player.
const QString kMp3Opener = QStringLiteral("xdg-open");
} // namespace

void frmOrvelMain::buildSoundBoard()
{
    // The board's controls on one line, the CD player's buttons on a second line below
    // them: shown, they leave the dashboard's row as wide as it was.
    auto *board = new QFrame(Picture1);
    auto *lines = new QVBoxLayout(board);
    lines->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    lines->addLayout(row);
    SoundBoardCaption = new QLabel(QStringLiteral("Sound Board:"), board);
    row->addWidget(SoundBoardCaption);
    QRadioButton **options[4] = {&Option1, &Option2, &Option3, &Option4};
    QLabel **labels[4] = {&Label5, &Label6, &Label7, &Label8};
    const QString captions[4] = {QStringLiteral("MP3"), QStringLiteral("Wav"), QStringLiteral("Amp"), QStringLiteral("Volume")};
    for (int i = 0; i < 4; ++i) {
        const int n = i + 1;
        auto *o = new QRadioButton(board);
        auto *l = new QLabel(captions[i], board);
        l->setTextFormat(Qt::PlainText);
        row->addWidget(o);
        row->addWidget(l);
        *options[i] = o;
        *labels[i] = l;
        ClickFilter *lf = ClickFilter::on(l);
        lf->Click = [this, n] { OptionLabel_Click(n); };
        lf->DblClick = [this, n] { OptionLabel_DblClick(n); };
        ClickFilter::on(o)->DblClick = [this, n] {
            // The first press of a double click has already selected the option.
            Option_DblClick(n);
        };
        connect(o, &QRadioButton::toggled, this, &frmOrvelMain::SyncSoundBoardButton);
    }
    Command1 = new QPushButton(QStringLiteral("Make it so"), board);
    Command1->setEnabled(false);
    row->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &frmOrvelMain::Command1_Click);

    // The CD player's own row of transport buttons, shown while the player is on: small
    // enough for two lines to fit the dashboard's closed height.
    CDPanel = new QFrame(board);
    auto *cdRow = new QHBoxLayout(CDPanel);
    cdRow->setContentsMargins(0, 0, 0, 0);
    const struct { const char *text; void (frmOrvelMain::*fn)(); } transport[] = {
        {"|<", &frmOrvelMain::mnuPreviousTrack_Click}, {">", &frmOrvelMain::mnuCrankAmp_Click},
        {"||", &frmOrvelMain::mnuPauseAmp_Click},      {"[]", &frmOrvelMain::mnuStopAmp_Click},
        {">|", &frmOrvelMain::mnuNextTrack_Click}};
    for (const auto &t : transport) {
        auto *b = new QToolButton(CDPanel);
        b->setText(QString::fromLatin1(t.text));
        b->setFixedSize(28, 20);
        cdRow->addWidget(b);
        connect(b, &QToolButton::clicked, this, t.fn);
    }
    cdRow->addStretch(1);
    CDPanel->setVisible(false);
    lines->addWidget(CDPanel);

    if (auto *dash = qobject_cast<QHBoxLayout *>(Picture1->layout())) dash->insertWidget(3, board);

    mnuAmp = mnuOrvelIRC->addMenu(QStringLiteral("Amp"));
    mnuTurnOnAmp = mnuAmp->addAction(QStringLiteral("Switch Amp On"));
    mnuAmpOff = mnuAmp->addAction(QStringLiteral("Switch Amp Off"));
    mnuAmp->addSeparator();
    mnuCrankAmp = mnuAmp->addAction(QStringLiteral("Start Amp"));
    mnuStopAmp = mnuAmp->addAction(QStringLiteral("Stop Amp"));
    mnuPauseAmp = mnuAmp->addAction(QStringLiteral("Pause"));
    mnuNextTrack = mnuAmp->addAction(QStringLiteral("Next"));
    mnuPreviousTrack = mnuAmp->addAction(QStringLiteral("Previous"));
    connect(mnuTurnOnAmp, &QAction::triggered, this, &frmOrvelMain::mnuTurnOnAmp_Click);
    connect(mnuAmpOff, &QAction::triggered, this, &frmOrvelMain::mnuAmpOff_Click);
    connect(mnuCrankAmp, &QAction::triggered, this, &frmOrvelMain::mnuCrankAmp_Click);
    connect(mnuStopAmp, &QAction::triggered, this, &frmOrvelMain::mnuStopAmp_Click);
    connect(mnuPauseAmp, &QAction::triggered, this, &frmOrvelMain::mnuPauseAmp_Click);
    connect(mnuNextTrack, &QAction::triggered, this, &frmOrvelMain::mnuNextTrack_Click);
    connect(mnuPreviousTrack, &QAction::triggered, this, &frmOrvelMain::mnuPreviousTrack_Click);
}

bool frmOrvelMain::AmpIsOn() const { return CDControl->Visible(); }

void frmOrvelMain::SetAmpOn(bool on)
{
    CDControl->SetVisible(on);
    CDPanel->setVisible(on);
}

void frmOrvelMain::PlayCdOnConnect()
{
    CDControl->SetDeviceType(QStringLiteral("CDAudio"));
    CDControl->Command(QStringLiteral("Open"));
    CDControl->Command(QStringLiteral("Play"));
    SetAmpOn(true);
}

void frmOrvelMain::mnuTurnOnAmp_Click()
{
    PlaySnd(QStringLiteral("error.wav"));
    SetAmpOn(true);
    CDControl->SetDeviceType(QStringLiteral("CDAudio"));
    CDControl->Command(QStringLiteral("Open"));
}

void frmOrvelMain::mnuAmpOff_Click()
{
    PlaySnd(QStringLiteral("switch.wav"));
    CDControl->Command(QStringLiteral("Stop"));
    CDControl->Command(QStringLiteral("Close"));
    SetAmpOn(false);
}

void frmOrvelMain::mnuCrankAmp_Click() { CDControl->Command(QStringLiteral("Play")); }
void frmOrvelMain::mnuStopAmp_Click() { CDControl->Command(QStringLiteral("Stop")); }
void frmOrvelMain::mnuPauseAmp_Click() { CDControl->Command(QStringLiteral("Pause")); }
void frmOrvelMain::mnuNextTrack_Click() { CDControl->Command(QStringLiteral("Next")); }
void frmOrvelMain::mnuPreviousTrack_Click() { CDControl->Command(QStringLiteral("Prev")); }

void frmOrvelMain::Command1_Click()
{
    if (Option4->isChecked()) {
        // A missing volume control is not reported.
        if (platform::launcher().ProgramExists(kVolumeControl)) platform::launcher().StartProgram(kVolumeControl, {});
    }
    if (Option3->isChecked()) {
        if (AmpIsOn()) mnuAmpOff_Click();
        else mnuTurnOnAmp_Click();
        return;
    }
    if (Option1->isChecked()) {
        const QString file = platform::dialogs().ChooseFile(
            QStringLiteral("Open"), QStringLiteral("MP3 (*.mp3);;All Files (*.*);;MP2 (*.mp2)"));
        // Cancel ends the action; the file is handed over whole, never through a shell.
        if (!file.isEmpty()) platform::launcher().StartProgram(kMp3Opener, {file});
        return;
    }
    if (Option2->isChecked()) {
        OpenSoundChooser();
        return;
    }
    if (!Option4->isChecked()) platform::dialogs().MsgBox(QStringLiteral("Nothing to do!"), AppTitle, MsgIcon::Exclamation);
}

void frmOrvelMain::OptionLabel_Click(int n)
{
    QRadioButton *o[4] = {Option1, Option2, Option3, Option4};
    if (n >= 1 && n <= 4) o[n - 1]->setChecked(true);
}

void frmOrvelMain::OptionLabel_DblClick(int n)
{
    if (n == 3) {
        Option_DblClick(3);
        return;
    }
    if (n == 4) OptionLabel_Click(4);
    Command1_Click();
}

void frmOrvelMain::Option_DblClick(int n)
{
    if (n == 3) {
        // The Amp choice toggles the player straight away.
        if (AmpIsOn()) mnuAmpOff_Click();
        else mnuTurnOnAmp_Click();
        return;
    }
    Command1_Click();
}
