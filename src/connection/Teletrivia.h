#pragma once
// The teletrivia quiz: its built-in question table and the random draw it (and the
// nick list's joke item) uses.
#include <QList>
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
