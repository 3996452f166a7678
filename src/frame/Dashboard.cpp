// The dashboard panel's show/hide and slide items, its raw command box and picture
// pop-up, and the frame's launchers: the dialogs, the small windows, the help links,
// the screen capture and the colour item. Also keeps the OrvelIRC menu in its order.
#include "connection/frmOrvelIRC.h"
#include "dialogs/Pictures.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCapture.h"
#include "dialogs/frmDashboard.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmLumora.h"
#include "dialogs/frmRawSend.h"
#include "frame/ClickFilter.h"
#include "platform/Forms.h"
#include "frame/frmOrvelMain.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmSetup.h"
#include "windows/frmChan.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int kPanelClosed = 1050;  // twips: the top row only
constexpr int kPanelOpen = 3015;

// The project has no web site of its own yet: its pages live under this address.
const QString kHomeSite = QStringLiteral("https://orvelirc.example.org/");

// Keeps the part of the panel below its top row in place as the panel resizes, and the
// scroller that holds the panel in step with it.
class PanelGeometry : public QObject
{
public:
    explicit PanelGeometry(frmOrvelMain *m) : QObject(m), m_main(m) {}
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        const QEvent::Type t = e->type();
        if (watched == m_main->Picture1 && t == QEvent::Resize && m_main->PanelHeight() > 0)
            m_main->SetPanelHeight(m_main->PanelHeight());
        else if (t == QEvent::Resize || t == QEvent::ShowToParent || t == QEvent::HideToParent)
            m_main->FitPanelScroller();
        return false;
    }
private:
    frmOrvelMain *m_main;
};
} // namespace

void frmOrvelMain::buildDashboardParts()
{
    // Below the panel's top row: the raw command box between the panel's pictures.
    PanelLower = new QWidget(Picture1);
    auto *lower = new QHBoxLayout(PanelLower);
    lower->setContentsMargins(9, 0, 9, 6);
    QLabel **images[4] = {&Image1, &Image2, &Image3, &Image4};
    for (int n = 1; n <= 4; ++n) {
        auto *img = new QLabel(PanelLower);
        img->setPixmap(pictures::Panel(n, n == 1 ? 56 : 22));
        img->setObjectName(QStringLiteral("Image%1").arg(n));
        *images[n - 1] = img;
        ClickFilter::on(img)->MouseDown = [this](int button) { Picture1_MouseDown(button); };
    }
    auto *raw = new QVBoxLayout;
    Label9 = new QLabel(QStringLiteral("Send the server raw command:"), PanelLower);
    Label9->setTextFormat(Qt::PlainText);
    ClickFilter::on(Label9)->DblClick = [this] { Label9_DblClick(); };
    Text1 = new CommandLine(PanelLower);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->KeyPress = [this](int &k) { Text1_KeyPress(k); };
    raw->addStretch(1);
    raw->addWidget(Label9);
    raw->addWidget(Text1);
    raw->addStretch(1);
    lower->addWidget(Image1);
    lower->addLayout(raw, 1);
    lower->addWidget(Image2, 0, Qt::AlignBottom);
    lower->addWidget(Image3, 0, Qt::AlignVCenter);
    lower->addWidget(Image4, 0, Qt::AlignTop);
    m_panelGeometry = new PanelGeometry(this);
    Picture1->installEventFilter(m_panelGeometry);
    PanelScroller->installEventFilter(m_panelGeometry);
    ClickFilter::on(Picture1)->MouseDown = [this](int button) { Picture1_MouseDown(button); };

    mnuFrmOrvelMainOptions = new QMenu(QStringLiteral("Options"), this);
    mnuChooseYourOwn = mnuFrmOrvelMainOptions->addAction(QStringLiteral("<CHOOSE PIC>"));
    connect(mnuChooseYourOwn, &QAction::triggered, this, &frmOrvelMain::mnuChooseYourOwn_Click);

    // The OrvelIRC menu's own items.
    mnuCapture = mnuOrvelIRC->addMenu(QStringLiteral("Capture"));
    mnuCaptureNow = mnuCapture->addAction(QStringLiteral("Capture Now"));
    mnuShowCapture = mnuCapture->addAction(QStringLiteral("Show Capture"));
    connect(mnuCaptureNow, &QAction::triggered, this, &frmOrvelMain::mnuCaptureNow_Click);
    // Long enough for the closed menu's place on the screen to be drawn again.
    CaptureTimer = new VbTimer(250, false, this);
    connect(CaptureTimer, &VbTimer::Timer, this, &frmOrvelMain::CaptureTimer_Timer);
    connect(mnuShowCapture, &QAction::triggered, this, &frmOrvelMain::mnuShowCapture_Click);
    mnuPseudoEggy = mnuOrvelIRC->addMenu(QStringLiteral("Pseudo Eggy"));
    mnuPseudoEggyStart = mnuPseudoEggy->addAction(QStringLiteral("Start"));
    mnuPseudoEggyStop = mnuPseudoEggy->addAction(QStringLiteral("Stop"));
    mnuPlugins = mnuOrvelIRC->addMenu(QStringLiteral("Plugins"));
    for (QAction **p : {&mnuPlugin1, &mnuPlugin2, &mnuPlugin3}) {
        *p = mnuPlugins->addAction(QStringLiteral("<Empty>"));
        (*p)->setEnabled(false);
    }
    connect(mnuDashboard, &QAction::triggered, this, [this] {
        // The handler decides from the mark as it was before the click.
        mnuDashboard->setChecked(!mnuDashboard->isChecked());
        mnuDashboard_Click();
    });
    mnuPanel = mnuOrvelIRC->addAction(QStringLiteral("Panel"));
    mnuPanel->setCheckable(true);
    mnuPanel->setChecked(true);
    connect(mnuPanel, &QAction::triggered, this, [this] {
        mnuPanel->setChecked(!mnuPanel->isChecked());
        mnuPanel_Click();
    });
    mnuColor = mnuOrvelIRC->addAction(QStringLiteral("Color"));
    connect(mnuColor, &QAction::triggered, this, &frmOrvelMain::mnuColor_Click);
    OrderOrvelIRCMenu();

    // The Help menu's web links.
    struct Link { QAction **item; const char *caption; QString url; };
    const Link links[] = {
        {&mnuDrelm, "Drelm", kHomeSite},
        {&mnuOrvelIRCDOwnloadPage, "OrvelIRC Download Page", kHomeSite + QStringLiteral("download/")},
        {&mnuOtherClientHomepage, "HexChat Homepage", QStringLiteral("https://hexchat.github.io/")},
        {&mnuIRCFaq, "IRC Faq", QStringLiteral("https://www.irchelp.org/faq/")},
        {&mnuIRCPrimer, "IRC Primer", QStringLiteral("https://www.irchelp.org/irchelp/ircprimer.html")},
        {&mnuIRCIntroForNewbies, "IRC Intro", kHomeSite + QStringLiteral("irc-intro/")},
        {&mnuWwwIrcHelpOrg, "IRC Help", QStringLiteral("https://www.irchelp.org/")},
        {&mnuIRCRFC, "IRC RFC", QStringLiteral("https://www.rfc-editor.org/rfc/rfc1459.txt")},
    };
    for (const Link &l : links) {
        *l.item = mnuIRCOnTheWeb->addAction(QString::fromUtf8(l.caption));
        const QString url = l.url;
        connect(*l.item, &QAction::triggered, this, [this, url] { OpenWebPage(url); });
    }
    mnuIRCLinks = mnuIRCOnTheWeb->addAction(QStringLiteral("Pages open in your web browser"));

    // The launchers.
    connect(cmdSetup, &QPushButton::clicked, this, &frmOrvelMain::cmdSetup_Click);
    connect(mnuSetup, &QAction::triggered, this, &frmOrvelMain::mnuSetup_Click);
    connect(mnuOptions, &QAction::triggered, this, &frmOrvelMain::mnuOptions_Click);
    connect(mnuOrvelIRCHelpTopics, &QAction::triggered, this, &frmOrvelMain::mnuOrvelIRCHelpTopics_Click);
    connect(mnuLumora, &QAction::triggered, this, &frmOrvelMain::mnuLumora_Click);
    connect(mnuAboutOrvelIRC20, &QAction::triggered, this, &frmOrvelMain::mnuAboutOrvelIRC20_Click);

    mnuPanel->setChecked(true);
    compactPanelRow(Picture1->layout());
    SetPanelHeight(kPanelOpen);
}

void frmOrvelMain::compactPanelRow(QLayout *row)
{
    // The panel's top row holds many controls: packed closely, with buttons no wider than
    // their captions need, it fits a frame on a 1024-pixel-wide screen.
    auto *box = qobject_cast<QBoxLayout *>(row);
    if (!box) return;
    box->setSpacing(3);
    for (int i = 0; i < box->count(); ++i) {
        QWidget *w = box->itemAt(i)->widget();
        if (!w) {
            compactPanelRow(box->itemAt(i)->layout());
            continue;
        }
        if (auto *b = qobject_cast<QPushButton *>(w); b && b->minimumWidth() == 0 && !b->text().isEmpty()) {
            QString caption = b->text();
            caption.remove(QLatin1Char('&'));
            b->setMinimumWidth(b->fontMetrics().horizontalAdvance(caption) + 16);
        }
        compactPanelRow(w->layout());
    }
}

void frmOrvelMain::OrderOrvelIRCMenu()
{
    auto menuItem = [](QMenu *m) { return m ? m->menuAction() : nullptr; };
    const QList<QAction *> order = {mnuSetupWizard, menuItem(mnuCapture), menuItem(mnuAmp), menuItem(mnuPseudoEggy),
                                    menuItem(mnuTeletrivia), menuItem(mnuPlugins), mnuDashboard, mnuPanel, mnuColor};
    const QList<QAction *> before = mnuOrvelIRC->actions();
    // Adding an item the menu holds moves it to the end: ours first, then the rest as they were.
    for (QAction *a : order)
        if (a && before.contains(a)) mnuOrvelIRC->addAction(a);
    for (QAction *a : before)
        if (!order.contains(a)) mnuOrvelIRC->addAction(a);
}

void frmOrvelMain::mnuDashboard_Click()
{
    if (mnuDashboard->isChecked()) {
        mnuDashboard->setChecked(false);
        Picture1->setVisible(false);
        settings::Write(QStringLiteral("dash.msg"), QStringLiteral("no"));
    } else {
        mnuDashboard->setChecked(true);
        Picture1->setVisible(true);
        settings::Write(QStringLiteral("dash.msg"), QStringLiteral("yes"));
    }
}

void frmOrvelMain::mnuPanel_Click()
{
    // The panel slides in steps, one straight after the other.
    if (mnuPanel->isChecked()) {
        mnuPanel->setChecked(false);
        for (int h : {3000, 2750, 2500, 2150, 2000, 1750, 1500, kPanelClosed}) SetPanelHeight(h);
    } else {
        mnuPanel->setChecked(true);
        for (int h : {kPanelClosed, 1500, 1750, 2000, 2150, 2500, 2750, 3000, kPanelOpen}) SetPanelHeight(h);
    }
}

void frmOrvelMain::SetPanelHeight(int twips)
{
    m_panelTwips = twips;
    const int px = platform::TwipsToPixelsY(twips);
    const int rowPx = platform::TwipsToPixelsY(kPanelClosed);
    if (Picture1->height() != px || Picture1->minimumHeight() != px) Picture1->setFixedHeight(px);
    // The top row keeps its place; what the panel gains below it shows the lower part.
    if (QLayout *row = Picture1->layout()) {
        const QMargins m = row->contentsMargins();
        const int bottom = m.top() + qMax(0, px - rowPx);
        if (m.bottom() != bottom) row->setContentsMargins(m.left(), m.top(), m.right(), bottom);
    }
    const QRect lowerRect(0, rowPx, Picture1->width(), qMax(0, px - rowPx));
    if (PanelLower->geometry() != lowerRect) PanelLower->setGeometry(lowerRect);
    PanelLower->setVisible(px > rowPx);
    FitPanelScroller();
}

void frmOrvelMain::FitPanelScroller()
{
    if (PanelScroller->isHidden() != Picture1->isHidden()) PanelScroller->setHidden(Picture1->isHidden());
    const int rowWidth = Picture1->minimumSizeHint().expandedTo(Picture1->minimumSize()).width();
    const int bar = PanelScroller->width() < rowWidth ? PanelScroller->horizontalScrollBar()->sizeHint().height() : 0;
    const int h = Picture1->minimumHeight() + bar;
    if (PanelScroller->minimumHeight() != h || PanelScroller->maximumHeight() != h) PanelScroller->setFixedHeight(h);
}

void frmOrvelMain::Text1_KeyPress(int &KeyAscii)
{
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    const QString text = Text1->text();
    if (text == QLatin1String("help")) {
        platform::dialogs().MsgBox(
            QStringLiteral("By typeing a command in this box and pressing enter, you are sending the server raw data. "
                           "This will result in the server either doing nothing cause of an invalid command, or "
                           "responding to your command. Be carefully when useing this, certian servers may not like "
                           "your commands."),
            AppTitle, MsgIcon::Information);
        return;
    }
    QPointer<frmOrvelIRC> s(&form<frmOrvelIRC>());
    if (text.isEmpty()) {
        s->Addtext(QStringLiteral("\x01 Error 69 (Nothing to do!)"));
        PlaySnd(QStringLiteral("error.wav"));
        return;
    }
    if (!s->IsConnectedFlag()) {
        s->Addtext(QStringLiteral("\x01 Error 5 (Not connected)"));
        PlaySnd(QStringLiteral("error.wav"));
        Text1->clear();
        return;
    }
    s->SendData(text);
    Text1->clear();
}

void frmOrvelMain::Label9_DblClick() { frmRawSend::Open(); }

void frmOrvelMain::Picture1_MouseDown(int button)
{
    if (button == 2) mnuFrmOrvelMainOptions->exec(QCursor::pos());
}

void frmOrvelMain::mnuChooseYourOwn_Click() { frmDashboard::ShowModal(); }

void frmOrvelMain::cmdSetup_Click() { frmSetup::ShowModal(); }

void frmOrvelMain::mnuSetup_Click() { frmSetup::ShowModal(); }

void frmOrvelMain::mnuOptions_Click() { frmOptions::ShowModal(); }

void frmOrvelMain::mnuOrvelIRCHelpTopics_Click() { frmHelp::Open(); }

void frmOrvelMain::mnuLumora_Click() { frmLumora::ShowModal(); }

void frmOrvelMain::mnuAboutOrvelIRC20_Click() { frmAbout::ShowModal(); }

void frmOrvelMain::mnuColor_Click()
{
    // The input line of the window in front; the raw views have none, and with no
    // window open there is nothing to add to.
    QMdiSubWindow *w = m_mdi->currentSubWindow();
    QWidget *form = w ? w->widget() : nullptr;
    QLineEdit *box = nullptr;
    if (auto *s = qobject_cast<frmOrvelIRC *>(form)) box = s->Outgoing;
    else if (auto *c = qobject_cast<frmChan *>(form)) box = c->Outgoing;
    else if (auto *q = qobject_cast<frmOrvelChat *>(form)) box = q->txtOutgoing;
    if (box) box->setText(box->text() + QChar(3));
}

void frmOrvelMain::mnuCaptureNow_Click() { CaptureTimer->setEnabled(true); }

void frmOrvelMain::CaptureTimer_Timer()
{
    CaptureTimer->setEnabled(false);
    const bool taken = platform::clipboard().CaptureScreen();
    form<frmOrvelIRC>().Addtext(taken ? QStringLiteral("\x01 Capture Taken") : QStringLiteral("\x01 Capture Failed"));
}

void frmOrvelMain::mnuShowCapture_Click()
{
    // The picture that the capture (or any other program) left on the clipboard.
    frmCapture::ShowModal(QGuiApplication::clipboard()->pixmap());
}

void frmOrvelMain::OpenWebPage(const QString &url) { platform::launcher().OpenUrl(url); }
