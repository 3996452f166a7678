#pragma once
// The session's screen, made of the program's windows. This is the one place where what
// the session shows loads a window that is not open: the channel window when a line, the
// caption or the nick list of the channel is used, the private chat when a private
// message comes, the server window for its lines.
#include "core/Screen.h"
#include "platform/DisplayBatch.h"
#include <optional>

class WindowScreen final : public core::Screen
{
public:
    WindowScreen();
    ~WindowScreen() override;

    void BeginBlock() override;
    void EndBlock() override;
    void ServerLine(core::ServerStyle style, const QString &text) override;
    void ChannelLine(core::ChannelStyle style, const QString &text) override;
    void ChannelInsert(int colour, const QString &text) override;
    bool ChannelPaneEmpty() override;
    void ChannelCaption(const QString &caption) override;
    void ShowChannelWindow() override;
    void HideChannelWindow() override;
    void CloseChannelWindow() override;
    bool ChannelWindowVisible() override;
    void UseChannelWindow() override;
    void UseServerWindow() override;
    void PrivateMessage(const QString &sender, const QString &text) override;
    void PlaySound(const QString &file) override;
    void InformUser(const QString &text) override;
    void StartProgram(const QString &commandLine) override;
    void SetBusy(bool busy) override;
    void PlayCdOnConnect() override;
    void ConnectionFonts() override;
    void ShowReceived(const QString &text) override;
    void ShowSent(const QString &line) override;

private:
    // The display batch of the outermost open block; inner blocks only count.
    std::optional<display::DisplayBatch> m_batch;
    int m_openBlocks = 0;
};
