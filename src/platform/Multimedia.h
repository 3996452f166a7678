#pragma once
#include <QString>
#include <functional>
#include <memory>

// A multimedia device control: set the device type and file name, then send a command
// ("Open", "Play", "Pause", "Stop", "Next", "Prev", "Close"). Commands that fail are
// reported to nobody, and nothing ever waits for a sound to end.
class MMControl
{
public:
    virtual ~MMControl() = default;
    virtual void SetDeviceType(const QString &type) = 0;
    virtual void SetFileName(const QString &name) = 0;
    virtual void Command(const QString &cmd) = 0;
    // The three yes/no switches set before the wave device is chosen.
    virtual void SetSwitches(bool notify, bool wait, bool shareable) = 0;
    virtual void SetVisible(bool on) { m_visible = on; }
    bool Visible() const { return m_visible; }
protected:
    bool m_visible = false;
};

// Creates the platform's device controls; tests replace the factory with a recorder.
using MMControlFactory = std::function<std::unique_ptr<MMControl>(const QString &controlName)>;
std::unique_ptr<MMControl> CreateMMControl(const QString &controlName);
void SetMMControlFactory(MMControlFactory factory);
