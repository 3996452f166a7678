// The teletrivia game's tick: ask a question, reveal its answer, or after a winner only
// repeat the command list. The phase lives in the indicator's colour.
#include "connection/Teletrivia.h"
#include "connection/frmOrvelIRC.h"
#include "core/Screen.h"
#include "core/Session.h"
#include "frame/frmOrvelMain.h"
#include "settings/IrcData.h"
#include "windows/frmChan.h"
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
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

namespace {
enum Phase { Ask = 0, Reveal = 1, Answered = 2 };

const QString kCommandList = QStringLiteral("> <<Teletrivia: Commands: !scores, !stop, !directions. Next Question...>>");

// Clicks on the indicator set the phase by hand.
class IndicatorClicks : public QObject
{
public:
    explicit IndicatorClicks(frmOrvelIRC *owner) : QObject(owner), m_owner(owner) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        // Clicks are the left button's; a double click brings its own press first.
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick) return false;
        if (static_cast<QMouseEvent *>(e)->button() != Qt::LeftButton) return false;
        if (e->type() == QEvent::MouseButtonPress) m_owner->Picture1_Click();
        else m_owner->Picture1_DblClick();
        return false;
    }
private:
    frmOrvelIRC *m_owner;
};
} // namespace

void frmOrvelIRC::WireTeletrivia()
{
    connect(Teletrivia, &VbTimer::Timer, this, &frmOrvelIRC::Teletrivia_Timer);
    Picture1->installEventFilter(new IndicatorClicks(this));
}

void frmOrvelIRC::Picture1_Click() { SetPicture1BackColor(Ask); }

void frmOrvelIRC::Picture1_DblClick() { SetPicture1BackColor(Reveal); }

void frmOrvelIRC::Teletrivia_Timer()
{
    QString question;
    switch (Picture1BackColor) {
    case Ask: {
        // Only numbers the table has are drawn, so every question has its text and answer.
        const QList<int> &keys = trivia::Keys();
        if (const auto entry = trivia::Question(keys.at(trivia::DrawOneTo(int(keys.size())) - 1))) {
            question = entry->question;
            IrcData::TriviaAnswer = entry->answer;
        }
        session().SendData(QStringLiteral("PRIVMSG ") + session().CurrentChannel() + QStringLiteral(" :\x03" "12<<Teletrivia Question: \x03" "10") +
                 question + QStringLiteral("\x03" "12>>"));
        session().Display().ChannelLine(core::ChannelStyle::Text, QStringLiteral("> <<Teletrivia Question: ") + question + QStringLiteral(">>"));
        SetPicture1BackColor(Reveal);
        break;
    }
    case Reveal: {
        // A question already won shows no answer rather than the internal marker.
        const QString answer = IrcData::TriviaAnswer == trivia::AnsweredMarker ? QString() : IrcData::TriviaAnswer;
        session().SendData(QStringLiteral("PRIVMSG ") + session().CurrentChannel() + QStringLiteral(" :\x03" "12<<Teletrivia:\x03" "10 No-one got it :( Answer: ") +
                 answer + QStringLiteral("\x03" "12>>"));
        session().SendData(QStringLiteral("PRIVMSG ") + session().CurrentChannel() +
                 QStringLiteral(" :\x03" "12<<Teletrivia:\x03" "10 Commands: !scores, !stop, !directions. Next Question...\x03" "12>>"));
        session().Display().ChannelLine(core::ChannelStyle::Text, kCommandList);
        SetPicture1BackColor(Ask);
        break;
    }
    case Answered:
        session().Display().ChannelLine(core::ChannelStyle::Text, kCommandList);
        SetPicture1BackColor(Ask);
        break;
    default:
        break;
    }
}
