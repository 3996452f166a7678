// Joining a channel: the server's replies to a /JOIN (topic, names, end of names), the echo
// of our own join, and the names that refill the list once joined.
#include "core/ChannelMembers.h"
#include "core/FormattingMarks.h"
#include "core/LineTable.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "platform/TextCut.h"

namespace core {

// Names text -> entries: each blank ends one entry, so two blanks in a row give an empty
// entry and a trailing blank gives none. Walks the text once: a long names line from the
// server must not cost a copy of its rest per name.
void LineTable::addNames(QStringView names)
{
    m_screen.UseChannelWindow();
    qsizetype from = 0;
    while (from < names.size()) {
        const qsizetype blank = names.indexOf(QLatin1Char(' '), from);
        if (blank < 0) {
            m_members.Add(names.mid(from).toString());
            return;
        }
        m_members.Add(names.mid(from, blank - from).toString());
        from = blank + 1;
    }
}

void LineTable::joinReply(const QString &line, const LineView &v)
{
    using cut::InStr;
    using cut::Mid;
    const QString rest = *Mid(line, InStr(line, QStringLiteral(" ")) + 1);
    const QString afterColon = *Mid(rest, InStr(rest, QStringLiteral(":")) + 1);
    if (v.Command() == u"332") {
        m_screen.ChannelCaption(m_session.CurrentChannel() + QStringLiteral(": ") + WithoutMarks(afterColon));
    } else if (v.Command() == u"353") {
        addNames(afterColon);
    } else if (v.Command() == u"366") {
        m_session.SetChannelState(ChannelState::Joined);
        m_session.SetPartedCurrentChannel(false);
        m_namesRunOpen = false;
    }
}

void LineTable::joinEcho(const LineView &v)
{
    m_screen.ShowChannelWindow();
    // The names that follow are this channel's alone.
    m_members.Clear();
    // The channel this echo is for (a quicker join may have been typed since), as the user
    // typed it when it is the current one.
    const QStringView joined = v.Param(0);
    const QString name = m_session.IsCurrentChannel(joined) ? m_session.CurrentChannel() : joined.toString();
    const QString text = QStringLiteral("\x01 Now speaking in ") + name;
    m_screen.ChannelInsert(1, m_screen.ChannelPaneEmpty() ? text : QStringLiteral("\r\n") + text);
}

} // namespace core
