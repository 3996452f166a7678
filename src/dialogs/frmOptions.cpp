#include "dialogs/frmOptions.h"
#include "connection/FrameHost.h"
#include "connection/frmOrvelIRC.h"
#include "dialogs/frmDashboard.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/RichPane.h"
#include "settings/FrameSettings.h"
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmOptions> g_current;

const QString DefaultQuitMessage = QStringLiteral("OrvelIRC 1.02 * https://orvelirc.example.org/");

// The seven stored flags, in the order in which the dialog fills and saves them.
struct Flag
{
    frmOptions::CheckBox *frmOptions::*box;
    const char *file;
    Holder settings::FrameSettings::*holder;
};
const Flag Flags[] = {
    {&frmOptions::Check7, "ontop.msg", &settings::FrameSettings::txtWindowListOnTop},
    {&frmOptions::Check6, "indata.msg", &settings::FrameSettings::txtInData},
    {&frmOptions::Check5, "auto.msg", &settings::FrameSettings::txtAutoArrange},
    {&frmOptions::Check3, "cdexit.msg", &settings::FrameSettings::txtCDExit},
    {&frmOptions::Check4, "splash.msg", &settings::FrameSettings::txtSplash},
    {&frmOptions::Check2, "cos.msg", &settings::FrameSettings::txtCos},
    {&frmOptions::Check1, "pcdos.msg", &settings::FrameSettings::txtPcdos},
};
} // namespace

frmOptions::CheckBox::CheckBox(const QString &caption, QWidget *parent) : QCheckBox(caption, parent)
{
    connect(this, &QCheckBox::stateChanged, this, [this] {
        if (Click) Click();
    });
}

int frmOptions::CheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    case Qt::Unchecked: break;
    }
    return 0;
}

void frmOptions::CheckBox::SetValue(int value)
{
    // Qt numbers its states 0, 1 (grey) and 2 (set): never pass ours through as they are.
    if (value == 0) setCheckState(Qt::Unchecked);
    else if (value == 1) setCheckState(Qt::Checked);
    else if (value == 2) setCheckState(Qt::PartiallyChecked);
}

void frmOptions::CheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

frmOptions::frmOptions(QWidget *parent) : QDialog(parent)
{
    g_current = this;
    auto *outer = new QVBoxLayout(this);

    auto *flags = new QGridLayout;
    Check1 = new CheckBox(QStringLiteral("Play Cd player on connect"), this);
    Check2 = new CheckBox(QStringLiteral("Connect on startup"), this);
    Check3 = new CheckBox(QStringLiteral("Stop Playing CD Player on Exit"), this);
    Check4 = new CheckBox(QStringLiteral("Show splash screen on startup"), this);
    Check5 = new CheckBox(QStringLiteral("Auto Tile Windows"), this);
    Check6 = new CheckBox(QStringLiteral("Open InData Window on startup"), this);
    Check7 = new CheckBox(QStringLiteral("Window List On Top"), this);
    Check8 = new CheckBox(QStringLiteral("Highlight own words in blue"), this);
    CheckBox *const boxes[] = {Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8};
    for (int i = 0; i < 8; ++i) flags->addWidget(boxes[i], i % 4, i / 4);
    outer->addLayout(flags);

    auto *messages = new QGroupBox(QStringLiteral("Messages"), this);
    auto *grid = new QGridLayout(messages);
    auto addRow = [&](int row, const QString &caption) {
        auto *label = new QLabel(caption, messages);
        label->setTextFormat(Qt::PlainText);
        auto *box = new QLineEdit(messages);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        return box;
    };
    txtQuitM = addRow(0, QStringLiteral("Quit Message:"));
    txtAwayMsg = addRow(1, QStringLiteral("Away Message:"));
    txtBackMsg = addRow(2, QStringLiteral("Back Message:"));
    outer->addWidget(messages);

    auto *pictureRow = new QHBoxLayout;
    auto *picLabel = new QLabel(QStringLiteral("Dashboard Pic:"), this);
    picLabel->setTextFormat(Qt::PlainText);
    Image1 = new QLabel(this);
    Image1->setFrameShape(QFrame::Box);
    Image1->setFixedSize(96, 48);
    Image1->setAlignment(Qt::AlignCenter);
    Command4 = new QPushButton(QStringLiteral("Choose..."), this);
    Command7 = new QPushButton(QStringLiteral("None"), this);
    Command6 = new QPushButton(QStringLiteral("Choose Font..."), this);
    pictureRow->addWidget(picLabel);
    pictureRow->addWidget(Image1);
    pictureRow->addWidget(Command4);
    pictureRow->addWidget(Command7);
    pictureRow->addStretch(1);
    pictureRow->addWidget(Command6);
    outer->addLayout(pictureRow);

    auto *buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command3 = new QPushButton(QStringLiteral("Defaults"), this);
    Command1->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    outer->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &frmOptions::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmOptions::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmOptions::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOptions::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &frmOptions::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmOptions::Command7_Click);
}

frmOptions::~frmOptions() = default;

frmOptions *frmOptions::Current() { return g_current && g_current->isVisible() ? g_current.data() : nullptr; }

void frmOptions::ShowModal()
{
    frmOptions d(mainWindow());
    d.Form_Load();
    d.exec();
}

void frmOptions::setPicture(const QPixmap &pic)
{
    m_picture = pic;
    Image1->setPixmap(pic.isNull() ? pic : pic.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QPixmap frmOptions::Picture() const { return m_picture; }

bool frmOptions::LoadPicture(const QString &path)
{
    const QPixmap pic(path);
    if (pic.isNull()) return false;
    setPicture(pic);
    return true;
}

void frmOptions::Form_Load()
{
    const settings::FrameSettings &fs = frameHost().Settings();
    setWindowTitle(AppTitle);
    if (const QPixmap panel = frameHost().DashboardPicture(); !panel.isNull()) setPicture(panel);

    RichTextBox1.Load(QStringLiteral("discon.msg"));
    txtAwayRtb.Load(QStringLiteral("away.msg"));
    RichTextBox2.Load(QStringLiteral("back.msg"));

    for (const Flag &f : Flags)
        if ((fs.*f.holder).Text == QLatin1String("yes")) (this->*f.box)->SetValue(1);

    BackMessage = RichTextBox2.Text;
    AwayMessage = txtAwayRtb.Text;
    QuitMessage = RichTextBox1.Text;
    txtBackMsg->setText(BackMessage);
    txtQuitM->setText(QuitMessage);
    txtAwayMsg->setText(AwayMessage);
}

void frmOptions::Command1_Click()
{
    settings::FrameSettings &fs = frameHost().Settings();
    for (const Flag &f : Flags) {
        CheckBox *box = this->*f.box;
        // A grey box counts as neither: its flag stays as it was.
        if (box->Value() != 0 && box->Value() != 1) continue;
        const QString value = box->Value() == 1 ? QStringLiteral("yes") : QStringLiteral("no");
        (fs.*f.holder).Text = value;
        settings::Write(QLatin1String(f.file), value);
        if (box == Check7) frameHost().PlaceWindowBar(box->Value() == 1);
    }

    settings::Write(QStringLiteral("discon.msg"), txtQuitM->text());
    QuitMessage = txtQuitM->text();
    settings::Write(QStringLiteral("away.msg"), txtAwayMsg->text());
    settings::Write(QStringLiteral("back.msg"), txtBackMsg->text());
    AwayMessage = txtAwayMsg->text();
    BackMessage = txtBackMsg->text();

    fs.txtAwayMsg.Load(QStringLiteral("away.msg"));
    fs.txtBackMsg.Load(QStringLiteral("back.msg"));
    fs.txtCos.Load(QStringLiteral("cos.msg"));
    fs.txtPcdos.Load(QStringLiteral("pcdos.msg"));
    fs.RichTextBox1.Load(QStringLiteral("discon.msg"));
    fs.txtAwayMsg.Text = txtAwayMsg->text();

    accept();
    if (QWidget *frame = mainWindow()) frame->activateWindow();
}

void frmOptions::Command2_Click()
{
    reject();
    if (FormHost *host = formHost())
        if (QMdiSubWindow *child = host->MdiArea()->activeSubWindow())
            if (QWidget *w = child->widget()) w->setFocus();
}

void frmOptions::Command3_Click()
{
    Check1->SetValue(0);
    Check2->SetValue(1);
    Check3->SetValue(0);
    Check4->SetValue(0);
    Check5->SetValue(1);
    Check6->SetValue(0);
    Check7->SetValue(0);
    Check8->SetValue(0);
    txtQuitM->setText(DefaultQuitMessage);
    txtBackMsg->setText(QStringLiteral("Back at my keyboard"));
    txtAwayMsg->setText(QStringLiteral("Away from my keyboard"));
}

void frmOptions::Command4_Click() { frmDashboard::ShowModal(); }

void frmOptions::Command6_Click()
{
    settings::FrameSettings &fs = frameHost().Settings();
    bool sized = false;
    const double current = fs.txtFontSize.Text.trimmed().toDouble(&sized);
    const QFont initial = fs.txtFontName.Text.isEmpty() ? font() : MapFont(fs.txtFontName.Text, sized ? current : 0);
    const std::optional<QFont> chosen = platform::dialogs().ChooseFont(initial);
    if (!chosen) return;
    const QString name = chosen->family();
    double points = chosen->pointSizeF();
    if (points <= 0) points = QFontInfo(*chosen).pointSizeF();
    const QString size = QString::number(points);

    settings::Write(QStringLiteral("Fontname.msg"), name);
    settings::Write(QStringLiteral("FontSize.msg"), size);
    RichPane *pane = form<frmOrvelIRC>().Incoming;
    pane->SetSelFontName(name);
    pane->SetSelFontSize(points);
    fs.txtFontName.Text = name;
    fs.txtFontSize.Text = size;
}

void frmOptions::Command7_Click()
{
    settings::Remove(QStringLiteral("backpic.msg"));
    platform::dialogs().MsgBox(QStringLiteral("You must restart OrvelIRC before the changes take efect."), AppTitle,
                               MsgIcon::Information);
}
