#include "frame/Forms.h"
#include "frame/frmOrvelMain.h"
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

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
    m_sub = area->addSubWindow(this);
    m_sub->setAttribute(Qt::WA_DeleteOnClose);
    setCaption(m_caption);
    m_sub->installEventFilter(new UnloadFilter(this));
    // Start at the form's own size (a fresh sub-window would shrink to its minimum).
    const QSize inner = size().isValid() && width() > 100 ? size() : QSize(480, 280);
    m_sub->resize(inner + QSize(8, 30));
    m_sub->hide();
}

void FormBase::ShowForm()
{
    if (m_sub) m_sub->show();
    else show();
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
