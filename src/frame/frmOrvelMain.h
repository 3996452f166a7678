#pragma once
#include "connection/FrameHost.h"
#include "platform/Forms.h"
#include "platform/Multimedia.h"
#include "platform/Timer.h"
#include "settings/FrameSettings.h"
#include <QMainWindow>
#include <QIcon>
#include <QPointer>
#include <memory>
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QScrollArea;
class QFrame;
class QVBoxLayout;
class WindowScreen;
namespace core { class Session; }

// The main frame: menus, window list and bar, dashboard, timers and the frame's settings.
// There is one, created at start and living to the end. It hosts the forms, and keeps its
// own controls in step with them: the window list, the window bar's buttons and the Show
// items follow the windows' loads, unloads and activations.
class frmOrvelMain : public QMainWindow, public FormHost, public FrameHost
{
    Q_OBJECT
public:
    frmOrvelMain();
    ~frmOrvelMain() override;
    static frmOrvelMain *Instance();
    // The one IRC session, as long as the frame lives.
    core::Session &Session() const override { return *m_session; }
    // The frame's settings, loaded at start.
    settings::FrameSettings &Settings() override { return m_settings; }

    void MDIForm_Load();
    void MDIForm_Unload();
    void mnuExit_Click();
    QWidget *Window() override { return this; }
    QMdiArea *MdiArea() const override { return m_mdi; }
    // The frame's arrange operation with the tile-horizontally layout.
    void TileChildren();
    // Stacks the child windows with an offset that shows each title bar, each at a size
    // where its pane and command line stay usable, all within the client area.
    void CascadeChildren();
    // Moves, and where it must shrinks, a child window so that it lies wholly in the
    // client area.
    void FitIntoClientArea(QMdiSubWindow *w) const override;
    // What the frame's controls do as its windows come and go.
    void FormLoading(FormBase &form) override;
    void FormLoaded(FormBase &form) override;
    void FormUnloaded(FormBase &form) override;
    // The frame's size when none is stored: room for the dashboard's top row and, below
    // it, the server window at its own size.
    QSize FirstStartSize() const;

    // Menus.
    QMenu *mnuFile = nullptr, *mnuOrvelIRC = nullptr, *mnuWindow = nullptr, *mnuHelp = nullptr;
    QAction *mnuConnect = nullptr, *mnuSetup = nullptr, *mnuOptions = nullptr, *mnuExit = nullptr;
    QAction *mnuSetupWizard = nullptr;
    QMenu *mnuIRCOnTheWeb = nullptr;
    QAction *mnuOrvelIRCHelpTopics = nullptr, *mnuLumora = nullptr, *mnuAboutOrvelIRC20 = nullptr;
    QAction *mnuTile = nullptr, *mnuArrangeIcons = nullptr, *mnuCascade = nullptr, *mnuCloseWindows = nullptr,
            *mnuCloseAll = nullptr, *mnuWindowSeparator = nullptr;
    QAction *mnuWindowEntry[6] = {};
    QAction *&mnuWindowOne = mnuWindowEntry[0];
    QAction *&mnuWindowTwo = mnuWindowEntry[1];
    QAction *&mnuWindowThree = mnuWindowEntry[2];
    QAction *&mnuWindowFour = mnuWindowEntry[3];
    QAction *&mnuWindowFive = mnuWindowEntry[4];
    QAction *&mnuWindowSix = mnuWindowEntry[5];
    QAction *mnuShowServerWindow = nullptr, *mnuShowChannelWindow = nullptr, *mnuShowQueryWindow = nullptr;
    // The pop-up menus of the channel pane and of the server pane.
    QMenu *mnuIncoming = nullptr;
    QMenu *mnuServer = nullptr;
    QAction *mnuIndataWindow = nullptr, *mnuOutDataWindow = nullptr;
    // Show a raw data view and mark its item, or hide it and clear the mark.
    void mnuIndataWindow_Click();
    void mnuOutDataWindow_Click();

    // The six menu pictures.
    QIcon Quit, Setup, Options, Tools, Help, Tech;

    // Dashboard panel (its visibility is the dashboard's shown state) and window bar.
    QFrame *Picture1 = nullptr;
    // Holds the panel and follows its visibility: on a frame narrower than the panel's
    // top row the row scrolls sideways, so every control stays within reach.
    QScrollArea *PanelScroller = nullptr;
    QAction *mnuDashboard = nullptr;
    QFrame *Picture2 = nullptr;
    QPushButton *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr;
    QLabel *Label22 = nullptr;  // the clock
    bool WindowBarOnTop() const { return m_barOnTop; }
    bool DashboardPictureLoaded() const { return !DashboardPicture().isNull(); }

    // Multimedia controls: wave sounds and the audio CD.
    std::unique_ptr<MMControl> MMControl1, CDControl;
    void PlaySnd(const QString &file);

    // Housekeeping timer: the clock, and a safety net for the states it keeps in step
    // (each of them is also put right the moment what it follows changes).
    VbTimer *Timer1 = nullptr;
    void Timer1_Timer();
    void ShowClock();  // the clock label, set only when its text changes
    // "Make it so" is usable while an option is chosen.
    void SyncSoundBoardButton();
    // The window-list separator and the close items follow entry 1.
    void SyncWindowMenu();

    // Window list: a window takes the first free one of the entries its kind may use.
    void mnuWindowEntry_Click(int n);
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void mnuShowServerWindow_Click();
    void mnuShowChannelWindow_Click();
    void mnuShowQueryWindow_Click();
    void mnuCloseWindows_Click();
    void mnuCloseAll_Click();

    // The first-run setup wizard.
    void mnuSetupWizard_Click();
    void RunSetupWizard() override { mnuSetupWizard_Click(); }

    // ---- connect controls ----
    QPushButton *cmdConnect = nullptr, *cmdDisconnect = nullptr, *cmdSetup = nullptr;
    VbTimer *Timer2 = nullptr;  // the count-down's step, kept by the session
    QLabel *One = nullptr, *Two = nullptr, *Three = nullptr, *Four = nullptr, *Five = nullptr, *Six = nullptr,
           *Seven = nullptr, *eight = nullptr, *nine = nullptr, *Zero = nullptr, *Image5 = nullptr;
    void cmdConnect_Click();
    void cmdDisconnect_Click();
    void cmdDisconnect_MouseDown(int button);
    void mnuConnect_Click();
    void mnuDisconnectMe_Click();
    void mnuCloseTheTCPSocket_Click();
    void mnuCloseTCPSocket_Click();
    void mnuSendtheserveraquitmessage_Click();
    void mnuQuitOrvelIRC_Click();
    // A click on a count-down digit stops the count-down where it stands.
    void Digit_Click();
    // The digits and their box show the session's count-down.
    void ShowCountDown();
    // The Quit button's pop-up and the server pop-up's disconnect and quit items.
    QMenu *mnuQuitHidden = nullptr;
    QAction *mnuSendtheserveraquitmessage = nullptr, *mnuCloseTheTCPSocket = nullptr, *mnuQuitOrvelIRC = nullptr;
    QAction *mnuDisconnectMe = nullptr;
    QMenu *mnuQuitIRC2 = nullptr;
    QAction *mnuNormal = nullptr, *mnuCloseTCPSocket = nullptr, *mnuQuitIRCOrvelIRC2882 = nullptr;
    // Creates the menus above and wires the connect controls (run once by the constructor).
    void buildConnectControls();
    // ---- end connect controls ----

    // ---- sound board and CD ----
    QLabel *SoundBoardCaption = nullptr;
    class QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr;
    QLabel *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr;
    QPushButton *Command1 = nullptr;
    // The CD player's row of transport buttons, shown while the player is on.
    QFrame *CDPanel = nullptr;
    QMenu *mnuAmp = nullptr;
    QAction *mnuTurnOnAmp = nullptr, *mnuAmpOff = nullptr, *mnuCrankAmp = nullptr, *mnuStopAmp = nullptr,
            *mnuPauseAmp = nullptr, *mnuNextTrack = nullptr, *mnuPreviousTrack = nullptr;
    void buildSoundBoard();
    void mnuTurnOnAmp_Click();
    void mnuAmpOff_Click();
    void mnuCrankAmp_Click();
    void mnuStopAmp_Click();
    void mnuPauseAmp_Click();
    void mnuNextTrack_Click();
    void mnuPreviousTrack_Click();
    void Command1_Click();
    // Click and double click on the option buttons and their labels (n = 1..4).
    void OptionLabel_Click(int n);
    void OptionLabel_DblClick(int n);
    void Option_DblClick(int n);
    // The CD player is on while its control is visible; the player's row shows with it.
    bool AmpIsOn() const;
    void SetAmpOn(bool on);
    // The play-on-connect sequence of the Connect button and /SERVER.
    void PlayCdOnConnect();
    // Opens the sound chooser modally (the Wav choice).
    void OpenSoundChooser();
    // ---- end sound board and CD ----

    // ---- teletrivia menu ----
    // "Tele Trivia" in the OrvelIRC menu; both items start disabled.
    QMenu *mnuTeletrivia = nullptr;
    QAction *mnuStartTeleTrivia = nullptr, *mnuStopTeletrivia = nullptr;
    void buildTeletriviaMenu();
    void mnuStartTeleTrivia_Click();
    void mnuStopTeletrivia_Click();
    // ---- end teletrivia menu ----

    // ---- dashboard ----
    // The panel's raw command box and its label, and its four small pictures.
    QLabel *Label9 = nullptr;
    class CommandLine *Text1 = nullptr;
    QLabel *Image1 = nullptr, *Image2 = nullptr, *Image3 = nullptr, *Image4 = nullptr;
    // What the panel shows below its top row once it is opened.
    QWidget *PanelLower = nullptr;
    // The picture pop-up of the panel.
    QMenu *mnuFrmOrvelMainOptions = nullptr;
    QAction *mnuChooseYourOwn = nullptr;
    // Items of the OrvelIRC menu beside those of other areas.
    QMenu *mnuCapture = nullptr, *mnuPseudoEggy = nullptr, *mnuPlugins = nullptr;
    QAction *mnuCaptureNow = nullptr, *mnuShowCapture = nullptr, *mnuPseudoEggyStart = nullptr,
            *mnuPseudoEggyStop = nullptr, *mnuPlugin1 = nullptr, *mnuPlugin2 = nullptr, *mnuPlugin3 = nullptr,
            *mnuPanel = nullptr, *mnuColor = nullptr;
    // The web links of the Help menu.
    QAction *mnuDrelm = nullptr, *mnuOrvelIRCDOwnloadPage = nullptr, *mnuOtherClientHomepage = nullptr,
            *mnuIRCFaq = nullptr, *mnuIRCPrimer = nullptr, *mnuIRCIntroForNewbies = nullptr,
            *mnuWwwIrcHelpOrg = nullptr, *mnuIRCRFC = nullptr, *mnuIRCLinks = nullptr;
    // Creates the items above and wires the launchers (run once by the constructor, last).
    void buildDashboardParts();
    // Puts the OrvelIRC menu in its order: "Setup Wizard...", "Capture", "Amp", "Pseudo Eggy",
    // "Tele Trivia", "Plugins", "Dash Board", "Panel", "Color"; other items follow.
    void OrderOrvelIRCMenu();
    void mnuDashboard_Click();
    void mnuPanel_Click();
    // The panel's height in twips, and setting it (closed 1050, open 3015).
    int PanelHeight() const { return m_panelTwips; }
    void SetPanelHeight(int twips);
    // Sizes the scroller to the panel, with room for its scroll bar when the row is cut.
    void FitPanelScroller();
    void compactPanelRow(class QLayout *row);
    int m_panelTwips = 0;
    void Text1_KeyPress(int &KeyAscii);
    void Label9_DblClick();
    void Picture1_MouseDown(int button);
    void mnuChooseYourOwn_Click();
    void cmdSetup_Click();
    void mnuSetup_Click();
    void mnuOptions_Click();
    void mnuOrvelIRCHelpTopics_Click();
    void mnuLumora_Click();
    void mnuAboutOrvelIRC20_Click();
    void mnuColor_Click();
    void mnuCaptureNow_Click();
    // Takes the capture that Capture Now asked for, once its menu is off the screen.
    VbTimer *CaptureTimer = nullptr;
    void CaptureTimer_Timer();
    void mnuShowCapture_Click();
    // Opens a web page in the desktop's default program.
    void OpenWebPage(const QString &url);
    // ---- end dashboard ----

    // ---- command menus ----
    // The channel pop-up's tree. Its banner item's handler is mnuOrvelIRC_Click; the member
    // name mnuOrvelIRC already holds the menu bar's "&OrvelIRC" menu.
    QAction *mnuOrvelIRCBanner = nullptr, *mnuListChannels = nullptr, *mnuNamesinThisChannel = nullptr;
    QMenu *mnuAwaySystem = nullptr, *mnuAway = nullptr, *mnuBack = nullptr;
    QAction *mnuAwayNormal = nullptr, *mnuGottaPee = nullptr, *mnuAwayNoReason = nullptr, *mnuDinnerTime = nullptr;
    QAction *mnuBackNormal = nullptr, *mnuBackPee = nullptr, *mnuBackFromNoReason = nullptr, *mnuBackDinner = nullptr;
    QAction *mnuAway9082983 = nullptr, *mnuBack937892 = nullptr;
    QMenu *mnuPersonalIRCSettings = nullptr, *mnuWallops = nullptr, *mnuServerMessages = nullptr;
    QAction *mnuWallopsOn = nullptr, *mnuWallopsOff = nullptr, *mnuServerMessageOn = nullptr,
            *mnuServerMessagesOff = nullptr;
    QAction *mnuClearBuffer = nullptr, *mnuPartChannel = nullptr;
    QMenu *mnuquitirc = nullptr;
    QAction *mnuQuitIRCNormal = nullptr, *mnuCloseTCPSocket3892789 = nullptr, *mnuquitircOrvelIRC0389 = nullptr,
            *mnuQuitMsgInc = nullptr, *mnuOhMyGodYouKilledKenny = nullptr, *mnuNoCarrier = nullptr;
    // The server pop-up's queries and its Clear Buffer.
    QAction *mnuLusers = nullptr, *mnuMOTD = nullptr, *mnuTime = nullptr, *mnuClearBuffer98390283902 = nullptr;
    // Dashboard mode switches and their caption labels. A box's value is 0 (clear),
    // 1 (set) or 2 (grey); every change of it, by the user or the program, runs its click action.
    class QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr;
    QLabel *ModesCaption = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label21 = nullptr;
    static int CheckValue(const QCheckBox *box);
    // Values other than 0, 1 and 2 are refused and leave the box as it is.
    static void SetCheckValue(QCheckBox *box, int value);
    // Fills the channel pop-up, adds the server pop-up's items and puts the mode switches on
    // the dashboard. Runs after buildConnectControls: its items go before "Disconnect".
    void buildCommandMenus();

    void mnuOrvelIRC_Click();
    void mnuListChannels_Click();
    void mnuNamesinThisChannel_Click();
    void mnuAwayNormal_Click();
    void mnuGottaPee_Click();
    void mnuAwayNoReason_Click();
    void mnuDinnerTime_Click();
    void mnuAway9082983_Click();
    void mnuBackNormal_Click();
    void mnuBackPee_Click();
    void mnuBackFromNoReason_Click();
    void mnuBackDinner_Click();
    void mnuBack937892_Click();
    void mnuServerMessageOn_Click();
    void mnuServerMessagesOff_Click();
    void mnuWallopsOn_Click();
    void mnuWallopsOff_Click();
    void mnuClearBuffer_Click();
    void mnuPartChannel_Click();
    void mnuQuitIRCNormal_Click();
    void mnuQuitMsgInc_Click();
    void mnuOhMyGodYouKilledKenny_Click();
    void mnuNoCarrier_Click();
    void mnuLusers_Click();
    void mnuMOTD_Click();
    void mnuTime_Click();
    void mnuClearBuffer98390283902_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Label2_Click();
    void Label3_Click();
    void Label21_Click();
    // ---- end command menus ----

    // ---- options ----
    // Moves the window bar to the top edge of the frame, or back to the bottom.
    void PlaceWindowBar(bool onTop) override;
    // ---- end options ----

    // ---- choosers ----
    // Puts a picture file on the dashboard panel; false when the file is no picture, and
    // the panel then keeps the picture it had.
    bool LoadDashboardPicture(const QString &path) override;
    QPixmap DashboardPicture() const override;
    // ---- end choosers ----

signals:
    // Raised when the setup wizard is asked for.
    void setupWizardRequested();

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void buildMenus();
    void buildDashboard();
    void buildWindowBar();
    void onSubWindowActivated(QMdiSubWindow *w);
    void applyMenuPictures();
    // Start-up's position step: the stored place and size, fitted to the screen.
    void restorePlacement();
    QString entryCaption(int n, const QString &kind) const;
    // The entry the window holds in the window list; nullptr when it holds none.
    QAction *heldEntry(const FormBase &form) const;
    // The window's entry in the window list, checked or not.
    void markWindowEntry(const FormBase &form, bool checked);

    settings::FrameSettings m_settings;
    std::unique_ptr<WindowScreen> m_screen;
    core::Session *m_session = nullptr;
    QMdiArea *m_mdi = nullptr;
    // Watches the panel's resizes; goes first when the frame is destroyed, while its children
    // still report events.
    QObject *m_panelGeometry = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QPointer<QMdiSubWindow> m_active;
    bool m_barOnTop = false;
    bool m_unloading = false;
};

// The one frame.
frmOrvelMain &Main();
