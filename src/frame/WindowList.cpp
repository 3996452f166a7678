// The window list, the window bar and the Show items: the frame keeps them in step with
// its windows as they load, unload and take turns in front.
#include "connection/frmOrvelIRC.h"
#include "frame/frmOrvelMain.h"
#include "platform/Forms.h"
#include "windows/frmChan.h"
#include "windows/frmInData.h"
#include "windows/frmOrvelChat.h"
#include "windows/frmOutData.h"
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {
void focusAndRestore(FormBase *f)
{
    if (!f || !f->SubWindow() || !f->SubWindow()->isVisible()) return;
    Main().MdiArea()->setActiveSubWindow(f->SubWindow());
    f->Restore();
}

// A bar button acts only while its window is loaded (its Show item is then disabled).
void raiseFromBar(QAction *twin, FormBase *f)
{
    if (twin->isEnabled() || !f || !f->SubWindow()) return;
    if (f->IsMinimized()) f->Restore();
    Main().MdiArea()->setActiveSubWindow(f->SubWindow());
}

// A Show item opens its window (loading it when it is not) and puts it in front.
template <class Window> void showInFront(QMdiArea *area)
{
    Window &w = form<Window>();
    w.ShowForm();
    area->setActiveSubWindow(w.SubWindow());
}
} // namespace

void frmOrvelMain::mnuWindowEntry_Click(int n)
{
    if (n < 1 || n > 3) return;
    const QString caption = mnuWindowEntry[n - 1]->text();
    const QString num = QLatin1Char('&') + QString::number(n) + QLatin1Char(' ');
    // The sent-data view takes no entry.
    if (caption == num + QLatin1String("Server Connection")) focusAndRestore(loaded<frmOrvelIRC>());
    else if (caption == num + QLatin1String("Channel Window")) focusAndRestore(loaded<frmChan>());
    else if (caption == num + QLatin1String("Query Window")) focusAndRestore(loaded<frmOrvelChat>());
    else if (caption == num + QLatin1String("InData Window")) focusAndRestore(loaded<frmInData>());
}

void frmOrvelMain::Command2_Click() { raiseFromBar(mnuShowServerWindow, loaded<frmOrvelIRC>()); }
void frmOrvelMain::Command3_Click() { raiseFromBar(mnuShowChannelWindow, loaded<frmChan>()); }

void frmOrvelMain::Command4_Click()
{
    // The nick list's Query brings the chat to the front the same way.
    if (mnuShowQueryWindow->isEnabled()) return;
    if (frmOrvelChat *c = loaded<frmOrvelChat>()) c->BringToFront();
}

void frmOrvelMain::mnuShowServerWindow_Click() { showInFront<frmOrvelIRC>(m_mdi); }
void frmOrvelMain::mnuShowChannelWindow_Click() { showInFront<frmChan>(m_mdi); }
void frmOrvelMain::mnuShowQueryWindow_Click() { showInFront<frmOrvelChat>(m_mdi); }

void frmOrvelMain::mnuCloseWindows_Click()
{
    if (QMdiSubWindow *w = m_mdi->activeSubWindow()) w->close();
}

void frmOrvelMain::mnuCloseAll_Click()
{
    // Each unload lets the frame activate the next child, which is closed in turn.
    for (int guard = 0; guard < 64; ++guard) {
        QMdiSubWindow *w = m_mdi->activeSubWindow();
        if (!w) {
            const QList<QMdiSubWindow *> rest = m_mdi->subWindowList();
            for (QMdiSubWindow *c : rest)
                if (auto *f = qobject_cast<FormBase *>(c->widget()); f && !f->IsUnloaded()) { w = c; break; }
            if (!w) return;
        }
        w->close();
    }
}

// A window that opens: its bar button and Show item, and the pop-up menu of its pane,
// which is the frame's.
void frmOrvelMain::FormLoading(FormBase &form)
{
    if (auto *s = qobject_cast<frmOrvelIRC *>(&form)) {
        Command2->setEnabled(true);
        mnuShowServerWindow->setEnabled(false);
        connect(s, &frmOrvelIRC::PaneMenuRequested, this, [this] { mnuServer->exec(QCursor::pos()); });
    } else if (auto *c = qobject_cast<frmChan *>(&form)) {
        connect(c, &frmChan::PaneMenuRequested, this, [this] { mnuIncoming->exec(QCursor::pos()); });
        Command3->setEnabled(true);
        mnuStartTeleTrivia->setEnabled(true);
        mnuShowChannelWindow->setEnabled(false);
    } else if (qobject_cast<frmOrvelChat *>(&form)) {
        Command4->setEnabled(true);
        mnuShowQueryWindow->setEnabled(false);
        PlaySnd(QStringLiteral("chat.wav"));
    }
}

// The entry is claimed once the window's own load has run: the server window's load may
// run the setup wizard first.
void frmOrvelMain::FormLoaded(FormBase &form)
{
    const FormBase::ListEntry e = form.WindowListEntry();
    for (int n = 1; n <= e.entries; ++n) {
        QAction *a = mnuWindowEntry[n - 1];
        if (!a->isVisible()) {
            a->setText(entryCaption(n, e.kind));
            a->setVisible(true);
            return;
        }
    }
}

void frmOrvelMain::FormUnloaded(FormBase &form)
{
    if (qobject_cast<frmOrvelIRC *>(&form)) {
        mnuShowServerWindow->setEnabled(true);
        Command2->setEnabled(false);
    } else if (qobject_cast<frmChan *>(&form)) {
        Command3->setEnabled(false);
        mnuStartTeleTrivia->setEnabled(false);
        mnuShowChannelWindow->setEnabled(true);
    } else if (qobject_cast<frmOrvelChat *>(&form)) {
        Command4->setEnabled(false);
        mnuShowQueryWindow->setEnabled(true);
    } else if (qobject_cast<frmInData *>(&form)) {
        mnuIndataWindow->setChecked(false);
    } else if (qobject_cast<frmOutData *>(&form)) {
        mnuOutDataWindow->setChecked(false);
    }
    if (QAction *a = heldEntry(form)) {
        a->setText(QString());
        a->setVisible(false);
    }
}

QString frmOrvelMain::entryCaption(int n, const QString &kind) const
{
    return QLatin1Char('&') + QString::number(n) + QLatin1Char(' ') + kind;
}

QAction *frmOrvelMain::heldEntry(const FormBase &form) const
{
    const FormBase::ListEntry e = form.WindowListEntry();
    for (int n = 1; n <= e.entries; ++n)
        if (mnuWindowEntry[n - 1]->text() == entryCaption(n, e.kind)) return mnuWindowEntry[n - 1];
    return nullptr;
}

void frmOrvelMain::markWindowEntry(const FormBase &form, bool checked)
{
    if (QAction *a = heldEntry(form)) a->setChecked(checked);
}

namespace {
// A raw view's item shows it and sets its mark, or hides it and clears the mark.
template <class View> void toggleView(QAction *item)
{
    if (item->isChecked()) {
        if (View *v = loaded<View>()) v->HideForm();
        item->setChecked(false);
        return;
    }
    View &v = form<View>();
    v.ShowForm();
    item->setChecked(true);
}
} // namespace

void frmOrvelMain::mnuIndataWindow_Click() { toggleView<frmInData>(mnuIndataWindow); }
void frmOrvelMain::mnuOutDataWindow_Click() { toggleView<frmOutData>(mnuOutDataWindow); }
