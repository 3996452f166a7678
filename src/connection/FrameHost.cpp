#include "connection/FrameHost.h"
#include "platform/RichPane.h"
#include "settings/FrameSettings.h"
#include <QWidget>

namespace {
FrameHost *g_host = nullptr;
}

void SetFrameHost(FrameHost *host) { g_host = host; }

FrameHost &frameHost() { return *g_host; }

core::Session &session() { return g_host->Session(); }

void ApplyFontHolders(RichPane *pane, QWidget *commandLine)
{
    const settings::FrameSettings &fs = frameHost().Settings();
    if (!fs.txtFontName.Text.isEmpty()) {
        pane->SetSelFontName(fs.txtFontName.Text);
        if (commandLine) {
            QFont f = commandLine->font();
            f.setFamilies(MapFont(fs.txtFontName.Text).families());
            commandLine->setFont(f);
        }
    }
    if (!fs.txtFontSize.Text.isEmpty()) {
        bool ok = false;
        const double pts = fs.txtFontSize.Text.trimmed().toDouble(&ok);
        if (ok && pts > 0) pane->SetSelFontSize(pts);
    }
}
