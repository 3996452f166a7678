#pragma once
#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <functional>

// Gives plain widgets (labels, images, option buttons) click, double-click and
// mouse-down handlers. A click is a left button released over the widget; a double
// click follows the click of its first press, as the user sees it.
class ClickFilter : public QObject
{
public:
    std::function<void()> Click;
    std::function<void()> DblClick;
    // Button codes: 1 left, 2 right, 4 middle.
    std::function<void(int)> MouseDown;

    static ClickFilter *on(QWidget *w)
    {
        auto *f = new ClickFilter(w);
        w->installEventFilter(f);
        return f;
    }

protected:
    explicit ClickFilter(QObject *parent) : QObject(parent) {}
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || !w->isEnabled()) return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto *me = static_cast<QMouseEvent *>(e);
            if (MouseDown) {
                const int b = me->button() == Qt::LeftButton ? 1 : me->button() == Qt::RightButton ? 2 : me->button() == Qt::MiddleButton ? 4 : 0;
                if (b) MouseDown(b);
                return b == 2;
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            auto *me = static_cast<QMouseEvent *>(e);
            if (Click && me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint())) Click();
            return false;
        }
        case QEvent::MouseButtonDblClick: {
            auto *me = static_cast<QMouseEvent *>(e);
            if (DblClick && me->button() == Qt::LeftButton) {
                DblClick();
                return true;
            }
            return false;
        }
        default:
            return false;
        }
    }
};
