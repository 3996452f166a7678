#pragma once
// The teletrivia quiz: the game the program runs as a bot in the current channel, its
// built-in question table and the random draw it (and the nick list's joke item) uses.
#include "platform/Timer.h"
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

namespace trivia {

struct Entry
{
    int key;
    QString question;
    QString answer;
};

// The 100 keys of the table in ascending order: 1 to 80 and 90 to 109.
const QList<int> &Keys();
// The entry under a key; nullopt for a key the table does not have.
std::optional<Entry> Question(int key);

// Stored as the answer once a question is won, so that no later message matches
// until the next question is drawn. Nobody types this by chance.
inline const QString AnsweredMarker = QStringLiteral("q7x2k9m4z1w8v3r6t0p5n2b7c4j9h1d6f");

// One uniform number in [0, 1), the generator reseeded from the time of day first.
double TimeSeededDraw();
// The draw the game and the joke item use; tests replace it to fix the outcome.
inline double (*Draw)() = &TimeSeededDraw;

// The whole part of draw * n, plus 1: a number from 1 to n.
int DrawOneTo(int n);

} // namespace trivia

class LineView;

namespace core {

class Session;

// What the next tick does: ask a question, reveal its answer, or (after a winner) only
// repeat the command list.
enum class TriviaPhase { Ask = 0, Reveal = 1, Answered = 2 };

class Teletrivia : public QObject
{
    Q_OBJECT
public:
    explicit Teletrivia(Session &session);

    // A game runs exactly while its 30 s timer is enabled.
    VbTimer &Timer() { return m_timer; }
    bool Running() const { return m_timer.Enabled(); }
    TriviaPhase Phase() const { return m_phase; }
    void SetPhase(TriviaPhase phase);
    // The answer of the question asked last; the answered-marker once it was won.
    const QString &Answer() const { return m_answer; }

    // One tick: ask, reveal or answered, by the phase.
    void Tick();
    // Plain channel text, offered to the game while it runs: an answer, "!directions" or "!stop".
    void Check(const LineView &v);
    // The connection is gone: a running game stops at its reveal phase.
    void ConnectionGone();
    // Stopped, at the ask phase: as a game that has never run.
    void Reset();

signals:
    void PhaseChanged(core::TriviaPhase phase);

private:
    Session &m_session;
    VbTimer m_timer;
    TriviaPhase m_phase = TriviaPhase::Ask;
    QString m_answer;
};

} // namespace core
