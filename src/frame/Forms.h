#pragma once
#include <QPointer>
#include <QWidget>
class QMdiSubWindow;

// Base of every window of the program. A child window lives in the frame's MDI area;
// the event procedures are virtual methods that the registry and the frame call.
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

    // Puts the window into the frame (child windows) without showing it.
    void Attach();
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
    // Puts a window of its own (not a child window) over the middle of the frame, on the
    // frame's screen.
    void CentreOverFrame();

    // Called by the closing machinery: runs Form_Unload once.
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
        p->Form_Load();
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
