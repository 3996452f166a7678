#include "platform/TcpSocket.h"
#include <QHostInfo>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QTimer>
#include <cstring>

namespace {
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar cp1252(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b); }

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot lead one.
int seqLength(unsigned char b)
{
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

bool validSequence(const unsigned char *p, int n)
{
    for (int i = 1; i < n; ++i)
        if ((p[i] & 0xC0) != 0x80) return false;
    if (n == 3) {
        if (p[0] == 0xE0 && p[1] < 0xA0) return false;      // overlong
        if (p[0] == 0xED && p[1] >= 0xA0) return false;     // surrogates
    }
    if (n == 4) {
        if (p[0] == 0xF0 && p[1] < 0x90) return false;
        if (p[0] == 0xF4 && p[1] >= 0x90) return false;
    }
    return true;
}
// The first byte at or after from that is not ASCII (size when there is none), tested
// eight at a time.
qsizetype asciiEnd(const unsigned char *p, qsizetype from, qsizetype size)
{
    while (from + 8 <= size) {
        quint64 w;
        std::memcpy(&w, p + from, 8);
        if (w & 0x8080808080808080ULL) break;
        from += 8;
    }
    while (from < size && p[from] < 0x80) ++from;
    return from;
}
} // namespace

QString DecodeIncoming(QByteArray &carry, const QByteArray &bytes)
{
    QByteArray joined;
    if (!carry.isEmpty()) {
        joined = carry + bytes;
        carry.clear();
    }
    const QByteArray &data = joined.isEmpty() ? bytes : joined;
    const auto *p = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype size = data.size();
    // Never more characters than bytes: the text is written in place and cut to length.
    QString out(size, Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    qsizetype i = 0;
    while (i < size) {
        // Runs of ASCII, most of what a server sends, are found and widened in bulk.
        const qsizetype run = asciiEnd(p, i, size);
        for (qsizetype k = i; k < run; ++k) *o++ = p[k];
        i = run;
        if (i == size) break;
        const unsigned char b = p[i];
        const int n = seqLength(b);
        if (n == 0) { *o++ = cp1252(b).unicode(); ++i; continue; }
        if (i + n > size) {
            // Possibly a sequence cut off by the read: keep it when what we have fits.
            bool fits = true;
            for (qsizetype k = i + 1; k < size; ++k)
                if ((p[k] & 0xC0) != 0x80) fits = false;
            if (fits) { carry = data.mid(i); break; }
            *o++ = cp1252(b).unicode(); ++i; continue;
        }
        if (!validSequence(p + i, n)) { *o++ = cp1252(b).unicode(); ++i; continue; }
        char32_t cp = b & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k) cp = (cp << 6) | (p[i + k] & 0x3F);
        if (cp >= 0x10000) {
            *o++ = QChar::highSurrogate(cp);
            *o++ = QChar::lowSurrogate(cp);
        } else {
            *o++ = char16_t(cp);
        }
        i += n;
    }
    out.truncate(o - reinterpret_cast<char16_t *>(out.data()));
    return out;
}

TcpSocket::TcpSocket(QObject *parent) : QObject(parent), m_socket(new QTcpSocket(this))
{
    // What a flooding server sends waits in the system's socket buffer, not in ours: each
    // arrival brings at most this much, so the text made of it stays a bounded size.
    m_socket->setReadBufferSize(ReadChunk);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_up = true;
        emit Connected();
    });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        if (m_closingLocally || m_up) return;
        // Told from the event loop, so whoever called Connect() has finished starting the
        // attempt even when it fails at once; an attempt closed meanwhile is not reported.
        QTimer::singleShot(0, this, [this, attempt = m_attempt] {
            if (attempt == m_attempt) emit ConnectFailed();
        });
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpSocket::DataArrival);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_closingLocally) emit Closed();
    });
}

TcpSocket::~TcpSocket()
{
    m_closingLocally = true;
    m_socket->abort();
}

static bool (*g_hostFilter)(const QString &) = nullptr;

void TcpSocket::SetHostFilter(bool (*allowed)(const QString &host)) { g_hostFilter = allowed; }

void TcpSocket::Connect()
{
    m_carry.clear();
    m_up = false;
    ++m_attempt;
    // A port the socket cannot have never wraps round to some other port: no attempt.
    if (RemotePort < 1 || RemotePort > 65535) return;
    if (g_hostFilter && !g_hostFilter(RemoteHost)) return;
    m_socket->connectToHost(RemoteHost, quint16(RemotePort));
}

bool TcpSocket::Send(const QString &text)
{
    if (m_socket->state() != QAbstractSocket::ConnectedState) return false;
    const QByteArray bytes = text.toUtf8();
    const bool ok = m_socket->write(bytes) == bytes.size();
    // Hand the line to the system now: a Close right after (quit, shut-down) would
    // otherwise throw away what is still in Qt's own buffer.
    m_socket->flush();
    return ok;
}

QString TcpSocket::GetData() { return DecodeIncoming(m_carry, m_socket->readAll()); }

void TcpSocket::Close()
{
    m_closingLocally = true;
    m_socket->abort();
    m_closingLocally = false;
    m_carry.clear();
    ++m_attempt;
}

bool TcpSocket::IsConnected() const { return m_socket->state() == QAbstractSocket::ConnectedState; }

QString TcpSocket::LocalIP() const
{
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        bool ok = false;
        const quint32 v4 = m_socket->localAddress().toIPv4Address(&ok);
        if (ok) return QHostAddress(v4).toString();
    }
    for (const QHostAddress &a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) return a.toString();
    return QStringLiteral("127.0.0.1");
}

QString TcpSocket::LocalHostName() const { return QHostInfo::localHostName(); }
