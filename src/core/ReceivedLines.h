#pragma once
// The framing of received data: each block is joined to what the last one left unfinished,
// and only text that ends in a line end is handed on, cut into lines.
#include <QString>

namespace core {

class ReceivedLines
{
public:
    // A held remainder beyond this many characters is dropped.
    static constexpr qsizetype MaxHeld = 64 * 1024;

    struct Block
    {
        QString lines;          // complete lines to handle now, line ends included; may be empty
        bool overlong = false;  // an unfinished line outgrew the bound and was dropped
    };
    // Joins the received text to the held text. When `shown` is given it gets what the
    // received-data view shows for this block: the held text again at the head of the data
    // that ends it, or only the new piece while it still ends nothing.
    Block Take(const QString &received, QString *shown);

    // Received text held back for the next block because it did not end in a line end.
    const QString &Held() const { return m_held; }
    // True while the rest of a line dropped as too long is still arriving: it is dropped
    // too, up to its line end, and never handled as a line of its own.
    bool Dropping() const { return m_dropping; }
    // Forgets a held half line, a line being dropped and a CR waiting for its LF.
    void Clear();

private:
    QString m_held;
    bool m_dropping = false;
    // Set when a block ended in CR: an LF at the head of the next one ends the same line.
    bool m_skipLeadingLf = false;
};

// Takes lines off the front of a text. CR LF is looked for over the whole rest of the
// text first, so a lone CR or LF before the first CR LF stays inside the line; lone CRs
// split only when no CR LF is left, and lone LFs only when no CR is left. The positions
// found are kept until consumed, so a flood block is split in linear time.
class LineSplitter
{
public:
    explicit LineSplitter(const QString &text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    QString next();

private:
    qsizetype find(qsizetype &cached, QStringView what);
    const QString &m_text;
    qsizetype m_pos = 0;
    qsizetype m_crlf = -2, m_cr = -2, m_lf = -2;
};

} // namespace core
