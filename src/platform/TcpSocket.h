#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>
class QTcpSocket;

// Received bytes become text as UTF-8 where valid and byte by byte as Windows-1252
// where not (so the legacy byte 0x87 still reads as U+2021). A multi-byte sequence cut
// off at the end of a read is kept in carry and completed from the next read.
QString DecodeIncoming(QByteArray &carry, const QByteArray &bytes);

// The one IRC client socket. Connected, DataArrival and Closed mirror the three socket
// events the program handles; Closed is raised only when the peer closes. ConnectFailed
// tells that an attempt ended without a connection (refused, host not found, no answer).
class TcpSocket : public QObject
{
    Q_OBJECT
public:
    explicit TcpSocket(QObject *parent = nullptr);
    ~TcpSocket() override;
    QString RemoteHost;
    int RemotePort = 0;
    void Connect();
    // Tests allow only hosts on this machine; a host the filter refuses gets no attempt.
    static void SetHostFilter(bool (*allowed)(const QString &host));
    // Writes the text as UTF-8; returns false (and writes nothing) unless connected.
    bool Send(const QString &text);
    // All data received and not yet taken: at most ReadChunk bytes at a time; the next
    // DataArrival brings the rest.
    QString GetData();
    static constexpr qint64 ReadChunk = 512 * 1024;
    // Succeeds in every state and raises no Closed event.
    void Close();
    bool IsConnected() const;
    QString LocalIP() const;
    QString LocalHostName() const;
signals:
    void Connected();
    void DataArrival();
    void Closed();
    void ConnectFailed();
private:
    QTcpSocket *m_socket;
    QByteArray m_carry;
    bool m_closingLocally = false;
    bool m_up = false;    // the current attempt has connected
    int m_attempt = 0;    // counts attempts and closes, so a late failure report can be told apart
};
