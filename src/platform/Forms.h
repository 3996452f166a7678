#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>
class FormBase;
class QMdiArea;
class QMdiSubWindow;

// What the forms need of the program's main window, which installs itself before any form
// is used: the MDI area the child windows live in, and word of each form's load and unload,
// so that the main window's own controls keep in step with its windows.
class FormHost
{
public:
    virtual ~FormHost() = default;
    // The main window itself: the parent of dialogs, and what windows of their own open over.
    virtual QWidget *Window() = 0;
    virtual QMdiArea *MdiArea() const = 0;
    // Moves, and where it must shrinks, a child window so that it lies wholly in the area.
    virtual void FitIntoClientArea(QMdiSubWindow *w) const = 0;
    // Around a form's load: just before it runs, and once it has run (only while the form
    // is still loaded). Then after its unload has run.
    virtual void FormLoading(FormBase &form) = 0;
    virtual void FormLoaded(FormBase &form) = 0;
    virtual void FormUnloaded(FormBase &form) = 0;
};

// Installs the host (nullptr: none, as when the main window has gone).
void SetFormHost(FormHost *host);
FormHost *formHost();
// The host's window; nullptr while there is none.
QWidget *mainWindow();

// Base of every window of the program. A child window lives in the host's MDI area;
// the event procedures are virtual methods that the registry and the host call.
class FormBase : public QWidget
{
    Q_OBJECT
public:
    explicit FormBase(QWidget *parent = nullptr);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);

    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    virtual bool IsMdiChild() const { return true; }

    // The entries a window of this kind may take in the main window's window list: the
    // kind's text, shown after the entry's number, and how many of the first entries it
    // may use. Zero entries: it takes none.
    struct ListEntry
    {
        QString kind;
        int entries = 0;
    };
    virtual ListEntry WindowListEntry() const { return {}; }

    // Puts the window into the host's area (child windows) without showing it.
    void Attach();
    // Runs Form_Load, telling the host before and after.
    void RunLoad();
    void ShowForm();
    void HideForm();
    // Runs Form_Unload and destroys the window; a later use creates a fresh one.
    void Unload();
    bool IsUnloaded() const { return m_unloaded; }
    // Shown, restored when minimised, raised and made the active window.
    void BringToFront();
    void Minimize();
    void Restore();
    bool IsMinimized() const;
    QMdiSubWindow *SubWindow() const { return m_sub; }
    QWidget *Frame() const;  // the sub-window for child windows, else the form itself
    // The size of a child window's frame around a form of the given inner size.
    static QSize SubWindowSizeFor(const QSize &inner) { return inner + QSize(8, 30); }
    // Puts a window of its own (not a child window) over the middle of the main window, on
    // the main window's screen.
    void CentreOverFrame();

    // Called by the closing machinery: runs Form_Unload once, then tells the host.
    void RunUnload();

protected:
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    QString m_caption;
    QMdiSubWindow *m_sub = nullptr;
    bool m_unloaded = false;
};

// One instance per window class: get() creates and loads it on first use (a child
// window is then shown), peek() never loads.
template <class T> class Form
{
public:
    static T *peek()
    {
        T *p = inst().data();
        return (p && !p->IsUnloaded()) ? p : nullptr;
    }
    static T &get()
    {
        if (T *p = peek()) return *p;
        T *p = new T();
        inst() = p;
        p->Attach();
        p->RunLoad();
        if (p->IsMdiChild() && !p->IsUnloaded()) p->ShowForm();
        return *p;
    }
private:
    static QPointer<T> &inst()
    {
        static QPointer<T> i;
        return i;
    }
};

template <class T> T &form() { return Form<T>::get(); }
template <class T> T *loaded() { return Form<T>::peek(); }
