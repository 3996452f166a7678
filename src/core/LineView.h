#pragma once
// A received IRC line read by its parts, split once: an optional ":prefix", the command
// word and the parameters. The last parameter may come with its ":" or without it
// ("MODE #c +o :bob" and "MODE #c +o bob" say the same); runs of blanks separate like one.
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

class LineView
{
public:
    explicit LineView(const QString &line);
    // Not assignable: Qt 6.4's QVarLengthArray loses a heap buffer on assignment. A view
    // that is to read another line is reset instead.
    LineView(const LineView &) = delete;
    LineView &operator=(const LineView &) = delete;
    void Reset(const QString &line);

    bool HasPrefix() const { return m_prefix.length > 0; }
    // The prefix without its ":"; empty when the line has none.
    QStringView Prefix() const { return part(m_prefix); }
    // The nick of a "nick!user@host" prefix; empty when the prefix holds no "!".
    QStringView Nick() const;
    // A prefix without "!" names a server.
    bool FromServer() const { return HasPrefix() && !Prefix().contains(QLatin1Char('!')); }
    QStringView Command() const { return part(m_command); }
    qsizetype Count() const { return m_params.size(); }
    // Parameter i (0 = the first), without the ":" of a last one; empty past the last.
    QStringView Param(qsizetype i) const { return i < m_params.size() ? part(m_params[i]) : QStringView(); }
    // The last parameter, with or without its ":"; empty when there are none.
    QStringView Last() const { return Count() ? Param(Count() - 1) : QStringView(); }

private:
    struct Span
    {
        qsizetype from = 0, length = 0;
    };
    QStringView part(Span s) const { return QStringView(m_line).mid(s.from, s.length); }
    // Holds the text it points into: a caller may change its own copy of the line.
    QString m_line;
    Span m_prefix, m_command;
    QVarLengthArray<Span, 15> m_params;
};

// Channel names compare letter case aside (a server may spell "#Test" for "#test").
inline bool SameChannel(QStringView a, QStringView b) { return !b.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0; }

// The text of a PRIVMSG whose target is the nick, letter case aside: where a client's
// request to us stands. Empty for every other line, a NOTICE or a channel message among them.
QStringView PrivateText(const LineView &v, QStringView nick);

// A sender that an automatic reply may go to: not empty, no blank, comma or control
// character, and not starting like a channel, a parameter or a numeric.
bool IsPlainNick(QStringView nick);
