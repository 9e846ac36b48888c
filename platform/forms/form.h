#pragma once
// The form: a window created on first use, whose load handler runs then, and which Unload
// destroys (the next use creates and loads it afresh).
//
// Activation: a form is activated when it becomes visible (shown on its own or displayed in a
// host pane) and deactivated when it is hidden, unloaded, or its pane hides it. Message boxes
// and modal dialogs over it do not hide it and so do not deactivate it.
#include "forms/vbconst.h"

#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <typeindex>

namespace forms {

// What the registry needs of a window: its load handler run once, and its unload.
class Lifecycle
{
public:
    virtual ~Lifecycle() = default;
    virtual void runLoad() = 0;
    virtual bool Unload() = 0;
};

class Form : public QWidget, public Lifecycle
{
    Q_OBJECT
public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // Shows the form: vbModeless returns at once, vbModal returns when the form is hidden or
    // unloaded (see setModalHook for tests). A modal form is a dialog of dialogOwner().
    void Show(int style = vbModeless);
    void Hide();
    // Runs the unload handler; unless it cancels, the form is hidden, forgotten by the
    // registry and destroyed. Returns false when the handler cancelled.
    bool Unload() override;

    bool isActive() const { return active_; }
    bool isUnloaded() const { return unloaded_; }

    // Called by form<T>() right after construction; runs Form_Load once.
    void runLoad() override;

signals:
    void activated();
    void deactivated();
    void hidden();
    void unloaded();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    // Set cancel to true to keep the form loaded.
    virtual void Form_Unload(bool &cancel) { (void)cancel; }

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setActive(bool on);

    bool loadRun_ = false;
    bool active_ = false;
    bool unloaded_ = false;
    bool unloading_ = false;
};

// The program's main window: a QMainWindow with the same load and unload as a form. Its load
// handler is MDIForm_Load; the close box unloads it.
class MainForm : public QMainWindow, public Lifecycle
{
    Q_OBJECT
public:
    explicit MainForm(QWidget *parent = nullptr);
    ~MainForm() override;

    void Show() { show(); }
    void Hide() { hide(); }
    bool Unload() override;
    bool isUnloaded() const { return unloaded_; }
    void runLoad() override;

signals:
    void unloaded();

protected:
    virtual void MDIForm_Load() {}
    virtual void Form_Unload(bool &cancel) { (void)cancel; }
    void closeEvent(QCloseEvent *event) override;

private:
    bool loadRun_ = false;
    bool unloaded_ = false;
    bool unloading_ = false;
};

// How a modal Show waits. Tests install a hook that drives the form (clicks, answers) instead
// of a nested event loop; the hook is called after the form is shown. Without a hook the
// modal show runs an event loop until the form is hidden or unloaded.
using ModalHook = std::function<void(Form &)>;
ModalHook setModalHook(ModalHook hook);
// Whether a modal Show without a hook waits for the form to go (true, the default). A test
// program turns it off so that no test can hang on a dialog. Returns the setting replaced.
bool setModalShowWaits(bool waits);

// ---- dialogs ------------------------------------------------------------------------------------

// The window dialogs belong to: the program's visible main window, else the active window, else
// none.
QWidget *dialogOwner();
// Makes the hidden top-level window w a dialog of owner before it is shown: the window manager's
// dialog type, transient for owner's window, placed over the middle of owner (of the screen
// without one) and, frame included, wholly on that screen. No owner, or w itself, places it over
// the middle of the screen.
void placeAsDialog(QWidget &w, QWidget *owner);

// ---- single-instance windows -----------------------------------------------------------------

namespace detail {
QWidget *lookup(std::type_index type);
void remember(std::type_index type, QWidget *window, Lifecycle *lifecycle);
void forget(const QWidget *window);
bool unload(std::type_index type);
} // namespace detail

// The one instance of window T, created (and its load handler run) on first use.
template <class T>
T &form()
{
    const std::type_index key(typeid(T));
    if (QWidget *w = detail::lookup(key))
        return static_cast<T &>(*w);
    T *made = new T();
    detail::remember(key, made, made);
    made->runLoad();
    return *made;
}

// True when window T exists now; never creates it.
template <class T>
bool isLoaded()
{
    return detail::lookup(std::type_index(typeid(T))) != nullptr;
}

// The instance of T if it exists, else nullptr; never creates it.
template <class T>
T *loadedForm()
{
    return static_cast<T *>(detail::lookup(std::type_index(typeid(T))));
}

// Unloads window T if it exists. Returns false only when its unload handler cancelled.
template <class T>
bool unload()
{
    return detail::unload(std::type_index(typeid(T)));
}

// Unloads every window but keep (each with its unload handler), in no particular order.
void unloadOthers(const QWidget *keep);

// Destroys every registered window at once, without unload handlers, and deletes the
// windows already unloaded (tests, end of the program).
void unloadAll();

} // namespace forms
