#pragma once
// What the windows and dialogs still ask of the frame they live in. The frame implements
// it and installs itself at start, so that nothing below the frame includes the frame.
// What the frame's own controls do as the windows come and go, the frame sees for itself
// (FormHost), and the pop-up menus of the panes it shows on the windows' signals.
#include <QPixmap>
#include <QString>
class QWidget;
class RichPane;
namespace core { class Session; }
namespace settings { struct FrameSettings; }

class FrameHost
{
public:
    virtual ~FrameHost() = default;
    // The one IRC session, as long as the frame lives.
    virtual core::Session &Session() const = 0;
    // The frame's settings: flags, messages, text font and dashboard picture.
    virtual settings::FrameSettings &Settings() = 0;
    // The first-run setup wizard. Returns when the user gave it up; a finished one
    // restarts the program.
    virtual void RunSetupWizard() = 0;
    // Puts a picture file on the dashboard panel; false when the file is no picture, and
    // the panel then keeps the picture it had.
    virtual bool LoadDashboardPicture(const QString &path) = 0;
    // The picture the panel shows (null when none).
    virtual QPixmap DashboardPicture() const = 0;
    // Moves the window bar to the top edge of the frame, or back to the bottom.
    virtual void PlaceWindowBar(bool onTop) = 0;
};

// Installs the host (nullptr: none, as when the frame has gone).
void SetFrameHost(FrameHost *host);
FrameHost &frameHost();
// The frame's IRC session.
core::Session &session();

// Applies the frame's font settings to the pane's next run and, when given, the font name
// to a command line. A size that is not a number is ignored: the text still shows.
void ApplyFontHolders(RichPane *pane, QWidget *commandLine);
