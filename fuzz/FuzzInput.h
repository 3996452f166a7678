#pragma once
// What the two fuzz targets share: how an input is read, the block sizes it is cut into,
// how a finding is reported, and the paths libFuzzer is given.
//
// Input: byte 0 picks the situation (its value mod 3 is the channel state; its value / 3
// holds switches, one a bit, that each target reads its own way), byte 1 how often the
// rest is sent (mostly once; up to 256 times and 128 KiB, to pass the held-text bound with
// a short input), byte 2 seeds the block sizes; the rest are the bytes the server sends.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzz {

struct Input
{
    int state = 0;    // channel state 0, 1 or 2
    int options = 0;  // the target's switches, one a bit
    quint8 sizesSeed = 0;
    QByteArray bytes;
};

inline Input ReadInput(const uint8_t *data, size_t size)
{
    const auto byte = [&](size_t i) { return i < size ? data[i] : uint8_t(0); };
    Input in;
    in.state = byte(0) % 3;
    in.options = byte(0) / 3;
    in.sizesSeed = byte(2);
    const size_t head = std::min<size_t>(size, 3);
    in.bytes = QByteArray(reinterpret_cast<const char *>(data) + head, qsizetype(size - head));
    if (byte(1) >= 0xF8 && !in.bytes.isEmpty()) {
        // At most 128 KiB in all: enough to pass the bound on held text twice.
        const qsizetype times = std::min<qsizetype>(2 << (byte(1) - 0xF8), 128 * 1024 / in.bytes.size());
        in.bytes = in.bytes.repeated(std::max<qsizetype>(times, 1));
    }
    return in;
}

// Block sizes from a small generator seeded by the input: mostly short, sometimes a
// single byte (a CR LF or a UTF-8 sequence cut in two), now and then up to 4 KiB.
class BlockSizes
{
public:
    explicit BlockSizes(quint8 seed) : m_state(0x9E3779B9u ^ (quint32(seed) * 0x01000193u)) {}
    qsizetype next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        const quint32 r = m_state >> 2;
        switch (m_state & 3) {
        case 0: return 1 + r % 3;
        case 3: return 1 + r % 4096;
        default: return 1 + r % 64;
        }
    }
private:
    quint32 m_state;
};

// Bytes as a finding shows them: printable ASCII as it is, the rest as \xNN.
inline QByteArray Shown(QByteArrayView b)
{
    QByteArray out;
    for (qsizetype i = 0; i < b.size() && out.size() < 300; ++i) {
        const unsigned char c = uchar(b[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\') out += char(c);
        else out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
    }
    return out;
}

// A broken invariant: libFuzzer keeps the input that led here.
[[noreturn]] inline void Fault(const char *what, QByteArrayView detail = {})
{
    std::fprintf(stderr, "\nFAULT: %s %s\n", what, Shown(detail).constData());
    std::fflush(stderr);
    std::abort();
}

// Both targets work in a temporary folder of their own (settings are written there), so
// names that libFuzzer takes relative to where it was started (corpus folders, inputs,
// where findings go) are made absolute first; findings go to the starting folder unless
// told otherwise.
inline void AbsolutePaths(int *argc, char ***argv)
{
    static std::vector<QByteArray> texts;
    static std::vector<char *> args;
    const QDir start = QDir::current();
    bool prefixGiven = false;
    texts.reserve(*argc + 1);
    for (int i = 0; i < *argc; ++i) {
        QByteArray a = (*argv)[i];
        const qsizetype eq = a.indexOf('=');
        if (i > 0 && !a.startsWith('-')) {
            a = QFile::encodeName(start.absoluteFilePath(QFile::decodeName(a)));
        } else if (eq > 0 && (a.startsWith("-artifact_prefix=") || a.startsWith("-exact_artifact_path=") ||
                              a.startsWith("-dict="))) {
            const QString path = QFile::decodeName(a.mid(eq + 1));
            a = a.left(eq + 1) + QFile::encodeName(start.absoluteFilePath(path));
            if (a.startsWith("-artifact_prefix=") && path.endsWith(QLatin1Char('/'))) a += '/';
        }
        prefixGiven = prefixGiven || a.startsWith("-artifact_prefix=");
        texts.push_back(a);
    }
    if (!prefixGiven) texts.push_back("-artifact_prefix=" + QFile::encodeName(start.absolutePath()) + "/");
    for (QByteArray &t : texts) args.push_back(t.data());
    args.push_back(nullptr);
    *argc = int(texts.size());
    *argv = args.data();
}

} // namespace fuzz
