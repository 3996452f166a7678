#pragma once
// The frame's settings, each in a settings file of its own: the yes/no flags the options
// dialog edits, the quit, away and back messages, the text font and the dashboard's
// picture. The frame holds the one object and loads it at start; the windows and dialogs
// read it, and the options dialog sets it, through the frame.
#include "settings/SettingsFile.h"

namespace settings {

struct FrameSettings
{
    Holder txtDash, txtWindowListOnTop, txtInData, txtAutoArrange, txtCDExit, RichTextBox1, txtSplash, txtAwayMsg,
        txtBackMsg, txtPcdos, txtCos, txtFontName, txtFontSize, txtBackPic;

    // Each from its file; a missing file leaves a value as it was.
    void Load();
};

} // namespace settings
