#include "frame/Forms.h"
#include "frame/frmOrvelMain.h"
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

namespace {
// Closing a child window's frame runs the form's unload first.
class UnloadFilter : public QObject
{
public:
    explicit UnloadFilter(FormBase *f) : QObject(f), m_form(f) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Close && m_form) m_form->RunUnload();
        return false;
    }
private:
    QPointer<FormBase> m_form;
};
} // namespace

FormBase::FormBase(QWidget *parent) : QWidget(parent) {}

void FormBase::setCaption(const QString &caption)
{
    m_caption = caption;
    // Qt reads "[*]" in a title as its modified marker; doubled, it shows literally.
    QString title = caption;
    title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(title);
    if (m_sub) m_sub->setWindowTitle(title);
}

void FormBase::Attach()
{
    if (!IsMdiChild() || m_sub) return;
    QMdiArea *area = Main().MdiArea();
    m_sub = new QMdiSubWindow;
    m_sub->setWidget(this);
    m_sub->setAttribute(Qt::WA_DeleteOnClose);
    // Start at the form's own size (a fresh sub-window would shrink to its minimum), sized
    // before the area places it, so that the place found is one for this size.
    const QSize inner = size().isValid() && width() > 100 ? size() : QSize(480, 280);
    m_sub->resize(SubWindowSizeFor(inner));
    area->addSubWindow(m_sub);
    setCaption(m_caption);
    m_sub->installEventFilter(new UnloadFilter(this));
    m_sub->hide();
}

void FormBase::ShowForm()
{
    if (!m_sub) {
        show();
        return;
    }
    const bool opening = m_sub->isHidden();
    m_sub->show();
    // A window that opens lies wholly in the frame, title bar and command line included.
    if (opening) Main().FitIntoClientArea(m_sub);
}

void FormBase::CentreOverFrame()
{
    const QWidget *frame = frmOrvelMain::Instance();
    if (!frame || m_sub) return;
    // Not shown yet, the window's own border is unknown: the frame's is a good guess.
    const QSize outer = isVisible() ? frameGeometry().size() : size() + (frame->frameGeometry().size() - frame->size());
    QRect r(QPoint(), outer);
    r.moveCenter(frame->frameGeometry().center());
    if (const QScreen *screen = frame->screen()) {
        const QRect avail = screen->availableGeometry();
        r.moveLeft(qBound(avail.left(), r.left(), qMax(avail.left(), avail.right() + 1 - r.width())));
        r.moveTop(qBound(avail.top(), r.top(), qMax(avail.top(), avail.bottom() + 1 - r.height())));
    }
    move(r.topLeft());
}

void FormBase::HideForm()
{
    if (m_sub) m_sub->hide();
    else hide();
}

void FormBase::Unload()
{
    if (m_unloaded) return;
    if (m_sub) m_sub->close();
    else close();
}

void FormBase::RunUnload()
{
    if (m_unloaded) return;
    m_unloaded = true;
    Form_Unload();
}

void FormBase::BringToFront()
{
    ShowForm();
    if (IsMinimized()) Restore();
    if (m_sub) {
        Main().MdiArea()->setActiveSubWindow(m_sub);
    } else {
        raise();
        activateWindow();
    }
}

void FormBase::Minimize()
{
    if (m_sub) m_sub->showMinimized();
    else showMinimized();
}

void FormBase::Restore()
{
    if (m_sub) m_sub->showNormal();
    else showNormal();
}

bool FormBase::IsMinimized() const { return m_sub ? m_sub->isMinimized() : isMinimized(); }

QWidget *FormBase::Frame() const { return m_sub ? static_cast<QWidget *>(m_sub) : const_cast<FormBase *>(this); }

void FormBase::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void FormBase::closeEvent(QCloseEvent *e)
{
    if (!m_sub) {
        RunUnload();
        setAttribute(Qt::WA_DeleteOnClose);
    }
    QWidget::closeEvent(e);
}
