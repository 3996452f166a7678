// Teletrivia's reading of plain channel text: answers, "!directions" and "!stop".
#include "core/LineView.h"
#include "connection/Teletrivia.h"
#include "connection/frmOrvelIRC.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "frame/frmOrvelMain.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"

void frmOrvelIRC::TeletriviaCheck(const QString &line, Arrival &)
{
    if (!Teletrivia->Enabled()) return;
    const LineView v(line);
    const QString sender = v.Nick().toString();
    const QString text = v.Last().toString();
    // Whole and untrimmed, letter case aside.
    const QString said = text.toUpper();

    // No question drawn yet means nothing to win.
    if (!IrcData::TriviaAnswer.isEmpty() && said == IrcData::TriviaAnswer.toUpper()) {
        // The game's own line, at most one a question: not held back by the budget that
        // paces answers to what others ask.
        session().SendWhole(QStringLiteral("PRIVMSG ") + session().CurrentChannel() + QStringLiteral(" :\x03" "12<<Teletrivia: \x03" "10") + sender +
                  QStringLiteral(" \x03" "12got it! Answer: \x03" "10") + text + QStringLiteral("\x03" "12>>"));
        session().Display().ChannelLine(core::ChannelStyle::Text, QStringLiteral("<<Teletrivia: ") + sender +
                                                                      QStringLiteral(" got it! Answer: ") + text + QStringLiteral(">>"));
        SetPicture1BackColor(2);
        IrcData::TriviaAnswer = trivia::AnsweredMarker;
    }
    if (said == QLatin1String("!DIRECTIONS")) {
        session().SendReply(QStringLiteral("PRIVMSG ") + session().CurrentChannel() +
                  QStringLiteral(" :\x03" "12<<\x03" "10You are playing teletrivia on IRC. This means that ") +
                  session().Nick() +
                  QStringLiteral(" asks the questions, and you \x03" "4TRY \x03" "10and answer them. Simple enough? (Thats what you think!)\x03" "12>>"));
        session().Display().ServerLine(core::ServerStyle::Status, QStringLiteral("<<You are playing teletrivia on IRC. This means that ") + session().Nick() +
                QStringLiteral(" asks the questions, and you TRY and answer them. Simple enough? (Thats what you think!)>>"));
    }
    if (said == QLatin1String("!STOP")) {
        Teletrivia->setEnabled(false);
        session().Display().ServerLine(core::ServerStyle::Progress, QStringLiteral("\x01 Teletrivia haulted"));
        session().SendReply(QStringLiteral("NOTICE ") + session().CurrentChannel() + QStringLiteral(" :\x03" "12<<\x03" "10 ") + sender +
                  QStringLiteral(", you stoped teletrivia. Why? Is it because it was too \x03" "4HARD \x03" "10for you? Too much of a \x03" "4MOMA'S BOY\x03" "10?\x03" "12>>"));
    }
}
