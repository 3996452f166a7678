#include "frame/frmOrvelMain.h"
#include "connection/frmOrvelIRC.h"
#include "core/Clock.h"
#include "core/Session.h"
#include "dialogs/frmSplash.h"
#include "frame/WindowScreen.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
frmOrvelMain *g_main = nullptr;
}

frmOrvelMain *frmOrvelMain::Instance() { return g_main; }

frmOrvelMain &Main()
{
    if (!g_main) {
        new frmOrvelMain();
        g_main->MDIForm_Load();
    }
    return *g_main;
}

frmOrvelMain::frmOrvelMain()
{
    g_main = this;
    SetFormHost(this);
    SetFrameHost(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_screen = std::make_unique<WindowScreen>();
    m_session = new core::Session(*m_screen, this);
    // A settings file that cannot be written is told in a box.
    settings::SetWriteFailureNotice(
        [](const QString &text) { platform::dialogs().MsgBox(text, AppTitle, MsgIcon::Exclamation); });
    auto *central = new QWidget(this);
    m_layout = new QVBoxLayout(central);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    buildDashboard();
    m_mdi = new QMdiArea(central);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_layout->addWidget(PanelScroller);
    m_layout->addWidget(m_mdi, 1);
    buildWindowBar();
    m_layout->addWidget(Picture2);
    setCentralWidget(central);
    buildMenus();
    buildTeletriviaMenu();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &frmOrvelMain::onSubWindowActivated);

    MMControl1 = CreateMMControl(QStringLiteral("MMControl1"));
    CDControl = CreateMMControl(QStringLiteral("CDControl"));
    MMControl1->SetVisible(false);
    CDControl->SetVisible(false);

    Timer1 = new VbTimer(1, true, this);
    connect(Timer1, &VbTimer::Timer, this, &frmOrvelMain::Timer1_Timer);
    Timer2 = &m_session->Countdown().Timer();
    // ---- connect controls and sound board set-up ----
    buildConnectControls();
    buildSoundBoard();
    // ---- end connect controls and sound board set-up ----
    buildCommandMenus();  // after the connect controls: its server items go before "Disconnect"
    buildDashboardParts();  // last: it puts the OrvelIRC menu in order
    connect(mnuWindowOne, &QAction::changed, this, &frmOrvelMain::SyncWindowMenu);
    SyncWindowMenu();
    ShowClock();
}

frmOrvelMain::~frmOrvelMain()
{
    // The MDI area reports activation changes while its children are destroyed.
    disconnect(m_mdi, nullptr, this, nullptr);
    delete m_panelGeometry;
    // The windows are gone by now; the session they showed goes before the frame's children.
    delete m_session;
    m_session = nullptr;
    if (g_main == this) {
        g_main = nullptr;
        SetFormHost(nullptr);
        SetFrameHost(nullptr);
    }
}

void frmOrvelMain::buildMenus()
{
    QStyle *st = style();
    Quit = st->standardIcon(QStyle::SP_DialogCloseButton);
    Setup = st->standardIcon(QStyle::SP_FileDialogDetailedView);
    Options = st->standardIcon(QStyle::SP_FileDialogListView);
    Tools = st->standardIcon(QStyle::SP_DriveNetIcon);
    Help = st->standardIcon(QStyle::SP_DialogHelpButton);
    Tech = st->standardIcon(QStyle::SP_MessageBoxInformation);

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuConnect = mnuFile->addAction(QStringLiteral("Connect"));
    mnuFile->addSeparator();
    mnuSetup = mnuFile->addAction(QStringLiteral("&Setup"));
    mnuOptions = mnuFile->addAction(QStringLiteral("&Options"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("E&xit"));
    connect(mnuExit, &QAction::triggered, this, &frmOrvelMain::mnuExit_Click);

    mnuOrvelIRC = menuBar()->addMenu(QStringLiteral("&OrvelIRC"));
    mnuSetupWizard = mnuOrvelIRC->addAction(QStringLiteral("Setup Wizard..."));
    connect(mnuSetupWizard, &QAction::triggered, this, &frmOrvelMain::mnuSetupWizard_Click);
    mnuDashboard = mnuOrvelIRC->addAction(QStringLiteral("Dash Board"));
    mnuDashboard->setCheckable(true);
    mnuDashboard->setChecked(true);

    mnuWindow = menuBar()->addMenu(QStringLiteral("&Window"));
    mnuTile = mnuWindow->addAction(QStringLiteral("Tile"));
    mnuArrangeIcons = mnuWindow->addAction(QStringLiteral("Arrange Icons"));
    mnuCascade = mnuWindow->addAction(QStringLiteral("Cascade"));
    mnuWindow->addSeparator();
    mnuCloseWindows = mnuWindow->addAction(QStringLiteral("Close"));
    mnuCloseAll = mnuWindow->addAction(QStringLiteral("Close All"));
    mnuWindowSeparator = mnuWindow->addSeparator();
    for (int i = 0; i < 6; ++i) {
        mnuWindowEntry[i] = mnuWindow->addAction(QString());
        mnuWindowEntry[i]->setCheckable(true);
        mnuWindowEntry[i]->setVisible(false);
        connect(mnuWindowEntry[i], &QAction::triggered, this, [this, i] {
            // Keep the check mark under the windows' own control.
            mnuWindowEntry[i]->setChecked(!mnuWindowEntry[i]->isChecked());
            mnuWindowEntry_Click(i + 1);
        });
    }
    mnuWindow->addSeparator();
    mnuShowServerWindow = mnuWindow->addAction(QStringLiteral("Show Server Window"));
    mnuShowChannelWindow = mnuWindow->addAction(QStringLiteral("Show Channel Window"));
    mnuShowQueryWindow = mnuWindow->addAction(QStringLiteral("Show Query Window"));
    connect(mnuTile, &QAction::triggered, this, &frmOrvelMain::TileChildren);
    connect(mnuCascade, &QAction::triggered, this, &frmOrvelMain::CascadeChildren);
    connect(mnuArrangeIcons, &QAction::triggered, this, [this] {
        // Minimised children line up along the bottom edge.
        int x = 0;
        for (QMdiSubWindow *w : m_mdi->subWindowList())
            if (w->isMinimized()) {
                w->move(x, m_mdi->viewport()->height() - w->height());
                x += w->width();
            }
    });
    connect(mnuCloseWindows, &QAction::triggered, this, &frmOrvelMain::mnuCloseWindows_Click);
    connect(mnuCloseAll, &QAction::triggered, this, &frmOrvelMain::mnuCloseAll_Click);
    connect(mnuShowServerWindow, &QAction::triggered, this, &frmOrvelMain::mnuShowServerWindow_Click);
    connect(mnuShowChannelWindow, &QAction::triggered, this, &frmOrvelMain::mnuShowChannelWindow_Click);
    connect(mnuShowQueryWindow, &QAction::triggered, this, &frmOrvelMain::mnuShowQueryWindow_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuIRCOnTheWeb = mnuHelp->addMenu(QStringLiteral("IRC On the Web"));
    mnuHelp->addSeparator();
    mnuOrvelIRCHelpTopics = mnuHelp->addAction(QStringLiteral("OrvelIRC Help Topics"));
    mnuLumora = mnuHelp->addAction(QStringLiteral("Lumora"));
    mnuAboutOrvelIRC20 = mnuHelp->addAction(QStringLiteral("About OrvelIRC"));

    mnuIncoming = new QMenu(QStringLiteral("Incoming"), this);
    // The server window's pop-up menu.
    mnuServer = new QMenu(QStringLiteral("Server"), this);
    mnuIndataWindow = mnuServer->addAction(QStringLiteral("InData Window"));
    mnuIndataWindow->setCheckable(true);
    mnuOutDataWindow = mnuServer->addAction(QStringLiteral("OutData Window"));
    mnuOutDataWindow->setCheckable(true);
    // The marks are the session's raw-view switches, shown: each follows the other at once.
    connect(mnuIndataWindow, &QAction::toggled, m_session, &core::Session::SetShowReceived);
    connect(m_session, &core::Session::ShowReceivedChanged, mnuIndataWindow, &QAction::setChecked);
    connect(mnuOutDataWindow, &QAction::toggled, m_session, &core::Session::SetShowSent);
    connect(m_session, &core::Session::ShowSentChanged, mnuOutDataWindow, &QAction::setChecked);
    // The handlers decide the mark from what it was before the click.
    connect(mnuIndataWindow, &QAction::triggered, this, [this] {
        mnuIndataWindow->setChecked(!mnuIndataWindow->isChecked());
        mnuIndataWindow_Click();
    });
    connect(mnuOutDataWindow, &QAction::triggered, this, [this] {
        mnuOutDataWindow->setChecked(!mnuOutDataWindow->isChecked());
        mnuOutDataWindow_Click();
    });
}

void frmOrvelMain::buildDashboard()
{
    Picture1 = new QFrame;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setMinimumHeight(90);
    auto *row = new QHBoxLayout(Picture1);
    cmdConnect = new QPushButton(QStringLiteral("&Connect"), Picture1);
    cmdConnect->setToolTip(QStringLiteral("Connect to IRC Server"));
    cmdDisconnect = new QPushButton(QStringLiteral("&Quit"), Picture1);
    cmdDisconnect->setToolTip(QStringLiteral("Disconnect"));
    cmdDisconnect->setEnabled(false);
    cmdSetup = new QPushButton(QStringLiteral("&Setup"), Picture1);
    cmdSetup->setToolTip(QStringLiteral("Setup IRC Options"));
    row->addWidget(cmdConnect);
    row->addWidget(cmdDisconnect);
    row->addWidget(cmdSetup);
    connect(cmdConnect, &QPushButton::clicked, this, &frmOrvelMain::cmdConnect_Click);

    // The count-down digits share one place, enclosed by Image5.
    Image5 = new QLabel(Picture1);
    Image5->setFrameShape(QFrame::Box);
    Image5->setFixedSize(40, 40);
    auto *digitLayout = new QHBoxLayout(Image5);
    digitLayout->setContentsMargins(2, 2, 2, 2);
    QLabel **digits[10] = {&Zero, &One, &Two, &Three, &Four, &Five, &Six, &Seven, &eight, &nine};
    for (int d = 0; d < 10; ++d) {
        auto *l = new QLabel(QString::number(d), Image5);
        l->setAlignment(Qt::AlignCenter);
        QFont f = l->font();
        f.setPointSize(16);
        f.setBold(true);
        l->setFont(f);
        l->setVisible(false);
        digitLayout->addWidget(l);
        *digits[d] = l;
    }
    row->addWidget(Image5);
    row->addStretch(1);
    Label22 = new QLabel(Picture1);
    Label22->setTextFormat(Qt::PlainText);
    // As wide as the clock's text from the start: the row keeps its width as time goes on,
    // and a frame sized for the row shows the clock.
    const QLocale loc;
    const QFontMetrics clock = Label22->fontMetrics();
    Label22->setMinimumWidth(std::max(clock.horizontalAdvance(QStringLiteral("00:00:00 ") + loc.amText()),
                                      clock.horizontalAdvance(QStringLiteral("00:00:00 ") + loc.pmText())));
    row->addWidget(Label22);

    PanelScroller = new QScrollArea;
    PanelScroller->setFrameShape(QFrame::NoFrame);
    PanelScroller->setWidgetResizable(true);
    PanelScroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PanelScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PanelScroller->setWidget(Picture1);
}

void frmOrvelMain::buildWindowBar()
{
    Picture2 = new QFrame;
    Picture2->setObjectName(QStringLiteral("Picture2"));
    auto *row = new QHBoxLayout(Picture2);
    row->setContentsMargins(2, 2, 2, 2);
    Command2 = new QPushButton(QStringLiteral("Server"), Picture2);
    Command3 = new QPushButton(QStringLiteral("Channel"), Picture2);
    Command4 = new QPushButton(QStringLiteral("Query"), Picture2);
    for (QPushButton *b : {Command2, Command3, Command4}) {
        b->setEnabled(false);
        row->addWidget(b);
    }
    row->addStretch(1);
    connect(Command2, &QPushButton::clicked, this, &frmOrvelMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmOrvelMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOrvelMain::Command4_Click);
}

void frmOrvelMain::PlaceWindowBar(bool onTop)
{
    m_layout->removeWidget(Picture2);
    m_layout->insertWidget(onTop ? 0 : m_layout->count(), Picture2);
    m_barOnTop = onTop;
}

void frmOrvelMain::applyMenuPictures()
{
    struct Pic { int menu; int item; const QIcon *icon; };
    const Pic pics[] = {{0, 0, &Quit}, {0, 2, &Setup}, {0, 3, &Options}, {1, 0, &Tools}, {3, 2, &Help}, {3, 4, &Tech}};
    const QList<QAction *> top = menuBar()->actions();
    for (const Pic &p : pics) {
        if (p.menu >= top.size() || !top[p.menu]->menu()) continue;
        const QList<QAction *> items = top[p.menu]->menu()->actions();
        if (p.item < items.size()) items[p.item]->setIcon(*p.icon);
    }
}

void frmOrvelMain::MDIForm_Load()
{
    applyMenuPictures();
    // Wave set-up.
    MMControl1->SetSwitches(false, false, false);
    MMControl1->SetDeviceType(QStringLiteral("WaveAudio"));
    setWindowTitle(AppTitle);

    restorePlacement();

    m_settings.Load();

    if (m_settings.txtDash.Text.isEmpty()) Picture1->setVisible(true);
    if (m_settings.txtDash.Text == QLatin1String("yes")) Picture1->setVisible(true);
    if (m_settings.txtDash.Text == QLatin1String("no")) {
        Picture1->setVisible(false);
        mnuDashboard->setChecked(false);
    }
    if (m_settings.txtWindowListOnTop.Text == QLatin1String("yes")) PlaceWindowBar(true);
    if (!m_settings.txtBackPic.Text.isEmpty()) LoadDashboardPicture(m_settings.txtBackPic.Text);
    // The frame comes up with its first child window, so that the server window and a
    // connection started at start-up can be seen while the splash screen waits.
    show();
    if (m_settings.txtInData.Text == QLatin1String("yes")) {
        mnuIndataWindow->setChecked(true);
        form<frmInData>().ShowForm();
    }
    if (m_settings.txtCos.Text == QLatin1String("yes")) cmdConnect_Click();
    form<frmOrvelIRC>().ShowForm();
    if (m_settings.txtSplash.Text == QLatin1String("yes")) frmSplash::ShowModal(*MMControl1);
    if (frmOrvelIRC *s = loaded<frmOrvelIRC>()) {
        m_mdi->setActiveSubWindow(s->SubWindow());
        s->Outgoing->setFocus();
    }
}

QSize frmOrvelMain::FirstStartSize() const
{
    const QSize server = FormBase::SubWindowSizeFor(frmOrvelIRC::DesignedSize);
    const int mdiFrame = 2 * m_mdi->frameWidth();
    const int width = std::max({platform::TwipsToPixelsX(6500), server.width() + mdiFrame,
                                Picture1->minimumSizeHint().width()});
    const int height = menuBar()->sizeHint().height() + PanelScroller->minimumHeight() +
                       Picture2->sizeHint().height() + server.height() + mdiFrame;
    return {width, std::max(height, platform::TwipsToPixelsY(6500))};
}

void frmOrvelMain::restorePlacement()
{
    SettingsStore &store = platform::settingsStore();
    // Each of the four values is its own step: one that is not a number leaves the others.
    // A size that was never stored is the first start's.
    auto stored = [&store](const char *key) {
        return store.GetSetting(AppTitle, QStringLiteral("Settings"), QLatin1String(key), QString()).trimmed();
    };
    auto number = [](const QString &text) -> std::optional<int> {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok || !std::isfinite(v) || qAbs(v) > 1e7) return std::nullopt;
        return int(std::lround(v));
    };
    const QString left = stored("MainLeft"), top = stored("MainTop"), width = stored("MainWidth"),
                  height = stored("MainHeight");
    QRect r(pos(), size());
    if (const auto v = number(left.isEmpty() ? QStringLiteral("1000") : left)) r.moveLeft(platform::TwipsToPixelsX(*v));
    if (const auto v = number(top.isEmpty() ? QStringLiteral("1000") : top)) r.moveTop(platform::TwipsToPixelsY(*v));
    const QSize first = (width.isEmpty() || height.isEmpty()) ? FirstStartSize() : QSize();
    if (width.isEmpty()) r.setWidth(first.width());
    else if (const auto v = number(width); v && *v > 0) r.setWidth(platform::TwipsToPixelsX(*v));
    if (height.isEmpty()) r.setHeight(first.height());
    else if (const auto v = number(height); v && *v > 0) r.setHeight(platform::TwipsToPixelsY(*v));

    // Values from a screen that is gone, or from another scale, never leave the frame off
    // the screen: what does not fit the available area is fitted to it, with room for the
    // window manager's title bar and borders. What fits is used as it is.
    const QScreen *screen = QGuiApplication::screenAt(r.center());
    if (!screen) screen = QGuiApplication::screenAt(r.topLeft());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect avail = screen->availableGeometry();
        if (!avail.contains(r)) {
            const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
            const QMargins decoration(4, title + 4, 4, 4);
            const QSize room = avail.size().shrunkBy(decoration);
            r.setSize(r.size().boundedTo(room).expandedTo(QSize(1, 1)));
            const QSize outer = r.size().grownBy(decoration);
            r.moveLeft(qBound(avail.left(), r.left(), std::max(avail.left(), avail.right() + 1 - outer.width())));
            r.moveTop(qBound(avail.top(), r.top(), std::max(avail.top(), avail.bottom() + 1 - outer.height())));
        }
    }
    move(r.topLeft());
    resize(r.size());
}

void frmOrvelMain::closeEvent(QCloseEvent *e)
{
    if (!m_unloading) {
        m_unloading = true;
        // Children first: each runs its own unload. The server window goes last, so the
        // channel window's PART still has a socket and the raw views' closing notes do not
        // load the server window again.
        QPointer<QMdiSubWindow> server;
        if (frmOrvelIRC *s = loaded<frmOrvelIRC>()) server = s->SubWindow();
        const QList<QMdiSubWindow *> children = m_mdi->subWindowList();
        for (const QPointer<QMdiSubWindow> w : children)
            if (w && w != server) w->close();
        if (server) server->close();
        MDIForm_Unload();
    }
    e->accept();
}

void frmOrvelMain::MDIForm_Unload()
{
    MMControl1->Command(QStringLiteral("Close"));
    if (!isMinimized()) {
        SettingsStore &store = platform::settingsStore();
        const QRect g = geometry();
        const QPoint p = pos();
        store.SaveSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainLeft"), QString::number(platform::PixelsToTwipsX(p.x())));
        store.SaveSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainTop"), QString::number(platform::PixelsToTwipsY(p.y())));
        store.SaveSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainWidth"), QString::number(platform::PixelsToTwipsX(g.width())));
        store.SaveSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainHeight"), QString::number(platform::PixelsToTwipsY(g.height())));
    }
    if (m_settings.txtCDExit.Text == QLatin1String("yes")) {
        CDControl->Command(QStringLiteral("Stop"));
        CDControl->Command(QStringLiteral("Close"));
    }
    platform::endProgram(0);
}

void frmOrvelMain::mnuExit_Click() { close(); }

void frmOrvelMain::TileChildren()
{
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *w : m_mdi->subWindowList())
        if (w->isVisible() && !w->isMinimized()) shown.append(w);
    if (shown.isEmpty()) return;
    const QSize area = m_mdi->viewport()->size();
    const int h = area.height() / int(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        if (shown[i]->isMaximized()) shown[i]->showNormal();
        shown[i]->setGeometry(0, i * h, area.width(), h);
    }
}

void frmOrvelMain::CascadeChildren()
{
    QList<QMdiSubWindow *> shown;  // bottom first: the window on top stays on top
    for (QMdiSubWindow *w : m_mdi->subWindowList(QMdiArea::StackingOrder))
        if (w->isVisible() && !w->isMinimized()) shown.append(w);
    if (shown.isEmpty()) return;
    const QSize area = m_mdi->viewport()->size();
    const int n = int(shown.size());
    // One step shows the title bar of the window behind; with many windows in a small
    // area the steps shrink, so that none gets smaller than a usable pane and command line.
    const QWidget *inner = shown.first()->widget();
    int step = std::max(16, inner ? inner->y() : 24);
    const QSize usable = QSize(360, 200).boundedTo(area);
    if (n > 1) step = std::min({step, (area.width() - usable.width()) / (n - 1), (area.height() - usable.height()) / (n - 1)});
    step = std::max(0, step);
    const QSize size(area.width() - (n - 1) * step, area.height() - (n - 1) * step);
    for (int i = 0; i < n; ++i) {
        if (shown[i]->isMaximized()) shown[i]->showNormal();
        shown[i]->setGeometry(QRect(QPoint(i * step, i * step), size));
        shown[i]->raise();
    }
}

void frmOrvelMain::FitIntoClientArea(QMdiSubWindow *w) const
{
    // A frame not shown yet has no client area to speak of: the area places its windows
    // itself when it shows.
    if (!w || w->isMinimized() || w->isMaximized() || !m_mdi->isVisible()) return;
    const QSize area = m_mdi->viewport()->size();
    if (area.isEmpty()) return;
    QRect g = w->geometry();
    g.setSize(g.size().boundedTo(area));
    g.moveLeft(qBound(0, g.left(), area.width() - g.width()));
    g.moveTop(qBound(0, g.top(), area.height() - g.height()));
    if (g != w->geometry()) w->setGeometry(g);
}

void frmOrvelMain::PlaySnd(const QString &file)
{
    MMControl1->Command(QStringLiteral("Close"));
    MMControl1->SetFileName(file);
    MMControl1->Command(QStringLiteral("Open"));
    MMControl1->Command(QStringLiteral("Play"));
}

void frmOrvelMain::onSubWindowActivated(QMdiSubWindow *w)
{
    if (m_active == w) return;
    QPointer<QMdiSubWindow> previous = m_active;
    m_active = w;
    // A window that loses the front clears its entry's mark.
    if (previous) {
        if (const QPointer<FormBase> f = qobject_cast<FormBase *>(previous->widget()); f && !f->IsUnloaded()) {
            f->Form_Deactivate();
            if (f) markWindowEntry(*f, false);
        }
    }
    if (w) {
        if (const QPointer<FormBase> f = qobject_cast<FormBase *>(w->widget()); f && !f->IsUnloaded()) {
            // The entry's mark, and the windows tiled when auto-arrange is on. A window's own
            // activation (its caret to the end) follows the tiling, but the private chat's
            // comes before it.
            const bool ownStepFirst = qobject_cast<frmOrvelChat *>(f.data()) != nullptr;
            if (ownStepFirst) f->Form_Activate();
            if (f) markWindowEntry(*f, true);
            if (m_settings.txtAutoArrange.Text == QLatin1String("yes")) TileChildren();
            if (!ownStepFirst && f) f->Form_Activate();
        }
    }
}

void frmOrvelMain::SyncSoundBoardButton()
{
    Command1->setEnabled(Option1->isChecked() || Option2->isChecked() || Option3->isChecked() || Option4->isChecked());
}

void frmOrvelMain::SyncWindowMenu()
{
    const bool any = mnuWindowOne->isVisible();
    mnuWindowSeparator->setVisible(any);
    mnuCloseWindows->setEnabled(any);
    mnuCloseAll->setEnabled(any);
}

// Runs once a second, just after the second turns. The states below are all set where
// they change; here they are only checked, which costs nothing when they are in step.
void frmOrvelMain::Timer1_Timer()
{
    SyncSoundBoardButton();
    CDPanel->setVisible(AmpIsOn());
    mnuDisconnectMe->setText(mnuConnect->text());
    SyncWindowMenu();
    ShowClock();
}

void frmOrvelMain::ShowClock()
{
    const QString text = core::ClockText(QTime::currentTime());
    if (Label22->text() != text) Label22->setText(text);
}
