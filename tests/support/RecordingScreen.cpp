#include "RecordingScreen.h"

namespace {
const char *name(core::ServerStyle s)
{
    switch (s) {
    case core::ServerStyle::Status: return "Status";
    case core::ServerStyle::Progress: return "Progress";
    case core::ServerStyle::Server: return "Server";
    case core::ServerStyle::Echo: return "Echo";
    case core::ServerStyle::Offer: return "Offer";
    }
    return "?";
}

const char *name(core::ChannelStyle s)
{
    switch (s) {
    case core::ChannelStyle::Text: return "Text";
    case core::ChannelStyle::Event: return "Event";
    case core::ChannelStyle::Rule: return "Rule";
    case core::ChannelStyle::Whois: return "Whois";
    }
    return "?";
}
} // namespace

void RecordingScreen::open()
{
    if (channelOpen) return;
    channelOpen = channelVisible = true;
    channelPaneEmpty = true;
}

void RecordingScreen::ServerLine(core::ServerStyle style, const QString &text)
{
    calls << QStringLiteral("server %1: %2").arg(QLatin1String(name(style)), text);
}

void RecordingScreen::ChannelLine(core::ChannelStyle style, const QString &text)
{
    open();
    channelPaneEmpty = false;
    calls << QStringLiteral("channel %1: %2").arg(QLatin1String(name(style)), text);
}

void RecordingScreen::ChannelInsert(int colour, const QString &text)
{
    open();
    channelPaneEmpty = channelPaneEmpty && text.isEmpty();
    calls << QStringLiteral("insert %1: %2").arg(colour).arg(text);
}

void RecordingScreen::ChannelCaption(const QString &caption)
{
    open();
    calls << QStringLiteral("caption: ") + caption;
}

void RecordingScreen::ShowChannelWindow()
{
    open();
    channelVisible = true;
    calls << QStringLiteral("show channel");
}

void RecordingScreen::HideChannelWindow()
{
    if (channelOpen) channelVisible = false;
    calls << QStringLiteral("hide channel");
}

void RecordingScreen::CloseChannelWindow()
{
    if (channelOpen && onChannelClosed) onChannelClosed();
    channelOpen = channelVisible = false;
    calls << QStringLiteral("close channel");
}

void RecordingScreen::UseChannelWindow()
{
    open();
    calls << QStringLiteral("use channel");
}

void RecordingScreen::PrivateMessage(const QString &sender, const QString &text)
{
    calls << QStringLiteral("private %1: %2").arg(sender, text);
}

void RecordingScreen::PlaySound(const QString &file) { calls << QStringLiteral("sound: ") + file; }
void RecordingScreen::SetBusy(bool busy) { calls << (busy ? QStringLiteral("busy") : QStringLiteral("not busy")); }
void RecordingScreen::ShowReceived(const QString &text) { calls << QStringLiteral("received: ") + text; }
void RecordingScreen::ShowSent(const QString &line) { calls << QStringLiteral("sent: ") + line; }

QStringList RecordingScreen::take()
{
    QStringList out;
    out.swap(calls);
    return out;
}
