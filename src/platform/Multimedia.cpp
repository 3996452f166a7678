#include "platform/Multimedia.h"
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Wave sounds through QSoundEffect; a bare file name is resolved against the working directory.
class WaveDevice
{
public:
    void open(const QString &file)
    {
        close();
        const QFileInfo fi(QDir::current(), file);
        if (!fi.exists()) return;
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setSource(QUrl::fromLocalFile(fi.absoluteFilePath()));
    }
    void play() { if (m_effect) m_effect->play(); }
    void stop() { if (m_effect) m_effect->stop(); }
    void close() { stop(); m_effect.reset(); }
private:
    std::unique_ptr<QSoundEffect> m_effect;
};

// The audio CD through the kernel's CD-ROM interface of the first drive.
class CdDevice
{
public:
    ~CdDevice() { close(); }
    void open()
    {
        if (m_fd >= 0) return;
        for (const char *dev : {"/dev/cdrom", "/dev/sr0"}) {
            m_fd = ::open(dev, O_RDONLY | O_NONBLOCK);
            if (m_fd >= 0) break;
        }
        m_paused = false;
    }
    void close()
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    void play()
    {
        if (m_fd < 0) return;
        if (m_paused) { ioctl(m_fd, CDROMRESUME); m_paused = false; return; }
        cdrom_tochdr hdr{};
        if (ioctl(m_fd, CDROMREADTOCHDR, &hdr) != 0) return;
        playFrom(hdr.cdth_trk0, hdr);
    }
    void pause() { if (m_fd >= 0 && ioctl(m_fd, CDROMPAUSE) == 0) m_paused = true; }
    void stop() { if (m_fd >= 0) ioctl(m_fd, CDROMSTOP); m_paused = false; }
    void step(int delta)
    {
        if (m_fd < 0) return;
        cdrom_tochdr hdr{};
        if (ioctl(m_fd, CDROMREADTOCHDR, &hdr) != 0) return;
        cdrom_subchnl sc{};
        sc.cdsc_format = CDROM_MSF;
        int track = hdr.cdth_trk0;
        if (ioctl(m_fd, CDROMSUBCHNL, &sc) == 0 && sc.cdsc_trk >= hdr.cdth_trk0) track = sc.cdsc_trk;
        track = qBound(int(hdr.cdth_trk0), track + delta, int(hdr.cdth_trk1));
        playFrom(track, hdr);
    }
private:
    void playFrom(int track, const cdrom_tochdr &hdr)
    {
        cdrom_ti ti{};
        ti.cdti_trk0 = __u8(track);
        ti.cdti_ind0 = 1;
        ti.cdti_trk1 = hdr.cdth_trk1;
        ti.cdti_ind1 = 1;
        ioctl(m_fd, CDROMPLAYTRKIND, &ti);
        m_paused = false;
    }
    int m_fd = -1;
    bool m_paused = false;
};

class PlatformMMControl : public MMControl
{
public:
    void SetDeviceType(const QString &type) override { m_type = type; }
    void SetFileName(const QString &name) override { m_file = name; }
    void SetSwitches(bool, bool, bool) override {}
    void Command(const QString &cmd) override
    {
        if (m_type.compare(QLatin1String("CDAudio"), Qt::CaseInsensitive) == 0) {
            if (cmd == QLatin1String("Open")) m_cd.open();
            else if (cmd == QLatin1String("Play")) m_cd.play();
            else if (cmd == QLatin1String("Pause")) m_cd.pause();
            else if (cmd == QLatin1String("Stop")) m_cd.stop();
            else if (cmd == QLatin1String("Next")) m_cd.step(1);
            else if (cmd == QLatin1String("Prev")) m_cd.step(-1);
            else if (cmd == QLatin1String("Close")) m_cd.close();
            return;
        }
        if (cmd == QLatin1String("Open")) m_wave.open(m_file);
        else if (cmd == QLatin1String("Play")) m_wave.play();
        else if (cmd == QLatin1String("Stop") || cmd == QLatin1String("Pause")) m_wave.stop();
        else if (cmd == QLatin1String("Close")) m_wave.close();
    }
private:
    QString m_type, m_file;
    WaveDevice m_wave;
    CdDevice m_cd;
};

MMControlFactory &factory()
{
    static MMControlFactory f;
    return f;
}
} // namespace

std::unique_ptr<MMControl> CreateMMControl(const QString &controlName)
{
    if (factory()) return factory()(controlName);
    return std::make_unique<PlatformMMControl>();
}

void SetMMControlFactory(MMControlFactory f) { factory() = std::move(f); }
