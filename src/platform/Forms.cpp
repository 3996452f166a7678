#include "platform/Forms.h"
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

namespace {
FormHost *g_host = nullptr;

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

void SetFormHost(FormHost *host) { g_host = host; }

FormHost *formHost() { return g_host; }

QWidget *mainWindow() { return g_host ? g_host->Window() : nullptr; }

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
    // Without a host (there is no main window yet) a window stays one of its own.
    if (!IsMdiChild() || m_sub || !g_host) return;
    QMdiArea *area = g_host->MdiArea();
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

void FormBase::RunLoad()
{
    // The load may run event loops of its own (a message box) in which the window goes.
    const QPointer<FormBase> self(this);
    if (g_host) g_host->FormLoading(*this);
    Form_Load();
    if (self && !m_unloaded && g_host) g_host->FormLoaded(*this);
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
    if (opening && g_host) g_host->FitIntoClientArea(m_sub);
}

void FormBase::CentreOverFrame()
{
    const QWidget *frame = mainWindow();
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
    const QPointer<FormBase> self(this);
    Form_Unload();
    if (self && g_host) g_host->FormUnloaded(*this);
}

void FormBase::BringToFront()
{
    ShowForm();
    if (IsMinimized()) Restore();
    if (m_sub && g_host) {
        g_host->MdiArea()->setActiveSubWindow(m_sub);
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
