// The teletrivia game: a tick asks a question, reveals its answer, or after a winner only
// repeats the command list; channel text may win, ask for the directions or stop the game.
#include "core/Teletrivia.h"
#include "core/LineView.h"
#include "core/Screen.h"
#include "core/Session.h"
#include <QTime>
#include <random>

namespace trivia {

double TimeSeededDraw()
{
    std::mt19937 gen(quint32(QTime::currentTime().msecsSinceStartOfDay()));
    // 32 random bits scaled below 1, never reaching it.
    return double(gen()) / 4294967296.0;
}

int DrawOneTo(int n)
{
    const int k = int(Draw() * n) + 1;
    return std::clamp(k, 1, n);
}

} // namespace trivia

namespace core {

namespace {
const QString kCommandList = QStringLiteral("> <<Teletrivia: Commands: !scores, !stop, !directions. Next Question...>>");
} // namespace

Teletrivia::Teletrivia(Session &session) : m_session(session), m_timer(30000, false)
{
    connect(&m_timer, &VbTimer::Timer, this, &Teletrivia::Tick);
}

void Teletrivia::SetPhase(TriviaPhase phase)
{
    if (m_phase == phase) return;
    m_phase = phase;
    emit PhaseChanged(m_phase);
}

void Teletrivia::Tick()
{
    Screen &screen = m_session.Display();
    const QString &channel = m_session.CurrentChannel();
    QString question;
    switch (m_phase) {
    case TriviaPhase::Ask: {
        // Only numbers the table has are drawn, so every question has its text and answer.
        const QList<int> &keys = trivia::Keys();
        if (const auto entry = trivia::Question(keys.at(trivia::DrawOneTo(int(keys.size())) - 1))) {
            question = entry->question;
            m_answer = entry->answer;
        }
        m_session.SendData(QStringLiteral("PRIVMSG ") + channel + QStringLiteral(" :\x03" "12<<Teletrivia Question: \x03" "10") +
                           question + QStringLiteral("\x03" "12>>"));
        screen.ChannelLine(ChannelStyle::Text, QStringLiteral("> <<Teletrivia Question: ") + question + QStringLiteral(">>"));
        SetPhase(TriviaPhase::Reveal);
        break;
    }
    case TriviaPhase::Reveal: {
        // A question already won shows no answer rather than the internal marker.
        const QString answer = m_answer == trivia::AnsweredMarker ? QString() : m_answer;
        m_session.SendData(QStringLiteral("PRIVMSG ") + channel +
                           QStringLiteral(" :\x03" "12<<Teletrivia:\x03" "10 No-one got it :( Answer: ") + answer +
                           QStringLiteral("\x03" "12>>"));
        m_session.SendData(QStringLiteral("PRIVMSG ") + channel +
                           QStringLiteral(" :\x03" "12<<Teletrivia:\x03" "10 Commands: !scores, !stop, !directions. Next Question...\x03" "12>>"));
        screen.ChannelLine(ChannelStyle::Text, kCommandList);
        SetPhase(TriviaPhase::Ask);
        break;
    }
    case TriviaPhase::Answered:
        screen.ChannelLine(ChannelStyle::Text, kCommandList);
        SetPhase(TriviaPhase::Ask);
        break;
    }
}

void Teletrivia::Check(const LineView &v)
{
    if (!Running()) return;
    Screen &screen = m_session.Display();
    const QString &channel = m_session.CurrentChannel();
    const QString sender = v.Nick().toString();
    const QString text = v.Last().toString();
    // Whole and untrimmed, letter case aside.
    const QString said = text.toUpper();

    // No question drawn yet means nothing to win.
    if (!m_answer.isEmpty() && said == m_answer.toUpper()) {
        // The game's own line, at most one a question: not held back by the budget that
        // paces answers to what others ask.
        m_session.SendWhole(QStringLiteral("PRIVMSG ") + channel + QStringLiteral(" :\x03" "12<<Teletrivia: \x03" "10") + sender +
                            QStringLiteral(" \x03" "12got it! Answer: \x03" "10") + text + QStringLiteral("\x03" "12>>"));
        screen.ChannelLine(ChannelStyle::Text,
                           QStringLiteral("<<Teletrivia: ") + sender + QStringLiteral(" got it! Answer: ") + text + QStringLiteral(">>"));
        SetPhase(TriviaPhase::Answered);
        m_answer = trivia::AnsweredMarker;
    }
    if (said == QLatin1String("!DIRECTIONS")) {
        const QString &nick = m_session.Nick();
        m_session.SendReply(QStringLiteral("PRIVMSG ") + channel +
                            QStringLiteral(" :\x03" "12<<\x03" "10You are playing teletrivia on IRC. This means that ") + nick +
                            QStringLiteral(" asks the questions, and you \x03" "4TRY \x03" "10and answer them. Simple enough? (Thats what you think!)\x03" "12>>"));
        screen.ServerLine(ServerStyle::Status, QStringLiteral("<<You are playing teletrivia on IRC. This means that ") + nick +
                                                   QStringLiteral(" asks the questions, and you TRY and answer them. Simple enough? (Thats what you think!)>>"));
    }
    if (said == QLatin1String("!STOP")) {
        m_timer.setEnabled(false);
        screen.ServerLine(ServerStyle::Progress, QStringLiteral("\x01 Teletrivia haulted"));
        m_session.SendReply(QStringLiteral("NOTICE ") + channel + QStringLiteral(" :\x03" "12<<\x03" "10 ") + sender +
                            QStringLiteral(", you stoped teletrivia. Why? Is it because it was too \x03" "4HARD \x03" "10for you? Too much of a \x03" "4MOMA'S BOY\x03" "10?\x03" "12>>"));
    }
}

void Teletrivia::ConnectionGone()
{
    if (!Running()) return;
    m_timer.setEnabled(false);
    SetPhase(TriviaPhase::Reveal);
}

void Teletrivia::Reset()
{
    m_timer.setEnabled(false);
    SetPhase(TriviaPhase::Ask);
}

} // namespace core
