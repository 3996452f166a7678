#pragma once
// A screen that records what the session shows, one entry per call, for core tests that
// run without any window: "server Status: text", "channel Event: text", "insert 1: text",
// "caption: text", "show channel", "private x: text", "sound: ping.wav" and so on.
#include "core/Screen.h"
#include <QStringList>
#include <functional>

class RecordingScreen : public core::Screen
{
public:
    QStringList calls;
    int blocksOpen = 0;
    // The channel window as the session would find it.
    bool channelOpen = false, channelVisible = false, channelPaneEmpty = true;
    // Runs when the channel window closes (the windows empty the nick list there).
    std::function<void()> onChannelClosed;

    void BeginBlock() override { ++blocksOpen; }
    void EndBlock() override { --blocksOpen; }
    void ServerLine(core::ServerStyle style, const QString &text) override;
    void ChannelLine(core::ChannelStyle style, const QString &text) override;
    void ChannelInsert(int colour, const QString &text) override;
    bool ChannelPaneEmpty() override { return channelPaneEmpty; }
    void ChannelCaption(const QString &caption) override;
    void ShowChannelWindow() override;
    void HideChannelWindow() override;
    void CloseChannelWindow() override;
    bool ChannelWindowVisible() override { return channelOpen && channelVisible; }
    void UseChannelWindow() override;
    void UseServerWindow() override { calls << QStringLiteral("use server"); }
    void PrivateMessage(const QString &sender, const QString &text) override;
    void PlaySound(const QString &file) override;
    void InformUser(const QString &text) override { calls << QStringLiteral("inform: ") + text; }
    void StartProgram(const QString &commandLine) override { calls << QStringLiteral("start: ") + commandLine; }
    void SetBusy(bool busy) override;
    void PlayCdOnConnect() override { calls << QStringLiteral("cd on connect"); }
    void ConnectionFonts() override { calls << QStringLiteral("connection fonts"); }
    void ShowReceived(const QString &text) override;
    void ShowSent(const QString &line) override;

    // The calls recorded since the last take.
    QStringList take();

private:
    void open();
};
