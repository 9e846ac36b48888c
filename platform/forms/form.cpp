#include "forms/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QHideEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>
#include <functional>
#include <unordered_map>
#include <vector>

namespace forms {

namespace {

struct Entry
{
    QPointer<QWidget> window;
    Lifecycle *lifecycle = nullptr;
};

struct Registry
{
    std::unordered_map<std::type_index, Entry> forms;
};

Registry &registry()
{
    static Registry r;
    return r;
}

ModalHook &modalHook()
{
    static ModalHook hook;
    return hook;
}

bool g_modalWaits = true;

// Line heights that a window frame's icon and buttons take beside the title.
constexpr int TitelRand = 10;

} // namespace

namespace detail {

QWidget *lookup(std::type_index type)
{
    auto &forms = registry().forms;
    auto it = forms.find(type);
    if (it == forms.end())
        return nullptr;
    if (!it->second.window) {
        forms.erase(it);
        return nullptr;
    }
    return it->second.window.data();
}

void remember(std::type_index type, QWidget *window, Lifecycle *lifecycle)
{
    registry().forms[type] = Entry{window, lifecycle};
}

void forget(const QWidget *window)
{
    auto &forms = registry().forms;
    for (auto it = forms.begin(); it != forms.end();) {
        if (it->second.window == window || !it->second.window)
            it = forms.erase(it);
        else
            ++it;
    }
}

// The unload of forms and the main window alike: the handler may cancel; otherwise the window
// is forgotten by the registry, hidden, finished (signals) and destroyed later.
bool unloadSequence(QWidget *window, bool &unloaded, bool &unloading, const std::function<void(bool &)> &handler,
                    const std::function<void()> &finish)
{
    if (unloaded || unloading)
        return true;
    unloading = true;
    bool cancel = false;
    handler(cancel);
    unloading = false;
    if (cancel)
        return false;
    unloaded = true;
    forget(window);
    window->hide();
    finish();
    window->deleteLater();
    return true;
}

bool unload(std::type_index type)
{
    if (!lookup(type))
        return true;
    return registry().forms[type].lifecycle->Unload();
}

} // namespace detail

bool setModalShowWaits(bool waits)
{
    const bool old = g_modalWaits;
    g_modalWaits = waits;
    return old;
}

ModalHook setModalHook(ModalHook hook)
{
    ModalHook old = std::move(modalHook());
    modalHook() = std::move(hook);
    return old;
}

void unloadOthers(const QWidget *keep)
{
    std::vector<std::pair<QPointer<QWidget>, Lifecycle *>> others;
    for (auto &[type, e] : registry().forms)
        if (e.window && e.window != keep)
            others.emplace_back(e.window, e.lifecycle);
    for (auto &[window, lifecycle] : others)
        if (window)
            lifecycle->Unload();
}

void unloadAll()
{
    std::vector<QPointer<QWidget>> all;
    for (auto &[type, e] : registry().forms)
        if (e.window)
            all.push_back(e.window);
    registry().forms.clear();
    for (auto &f : all) {
        if (f) {
            f->hide();
            delete f.data();
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget *dialogOwner()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<MainForm *>(w) && w->isVisible())
            return w;
    return QApplication::activeWindow();
}

void placeAsDialog(QWidget &w, QWidget *owner)
{
    if (owner)
        owner = owner->window();
    if (owner == &w || (owner && !owner->isVisible()))
        owner = nullptr;
    if (w.windowType() != Qt::Dialog)
        w.setWindowFlags((w.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    w.winId(); // the window the hint is given to
    if (QWindow *handle = w.windowHandle())
        handle->setTransientParent(owner ? owner->windowHandle() : nullptr);

    QScreen *screen = owner ? owner->screen() : w.screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // The window manager's frame is not known before the first show: the owner's stands for it.
    const QMargins rahmen = owner ? QMargins(owner->geometry().left() - owner->frameGeometry().left(),
                                             owner->geometry().top() - owner->frameGeometry().top(),
                                             owner->frameGeometry().right() - owner->geometry().right(),
                                             owner->frameGeometry().bottom() - owner->geometry().bottom())
                                  : QMargins();
    const QSize innen = room.marginsRemoved(rahmen).size();
    // The title shows whole in the frame: its text in a bold face beside the frame's icon and
    // buttons.
    QFont titelschrift = w.font();
    titelschrift.setBold(true);
    const QFontMetrics fm(titelschrift);
    const QSize titel(fm.horizontalAdvance(w.windowTitle()) + TitelRand * fm.height(), 0);
    // A window never sized takes its size hint at the show, as it does now.
    w.ensurePolished();
    if (!w.testAttribute(Qt::WA_Resized))
        w.adjustSize();
    QSize groesse = w.size().expandedTo(w.minimumSizeHint()).expandedTo(titel).boundedTo(innen);
    if (groesse != w.size())
        w.resize(groesse);
    QRect ziel(QPoint(), groesse.grownBy(rahmen));
    ziel.moveCenter(owner ? owner->frameGeometry().center() : room.center());
    ziel.moveLeft(qBound(room.left(), ziel.left(), qMax(room.left(), room.right() - ziel.width() + 1)));
    ziel.moveTop(qBound(room.top(), ziel.top(), qMax(room.top(), room.bottom() - ziel.height() + 1)));
    w.move(ziel.topLeft()); // a top-level window's position is that of its frame
}

Form::Form(QWidget *parent) : QWidget(parent)
{}

Form::~Form()
{
    detail::forget(this);
}

void Form::runLoad()
{
    if (loadRun_)
        return;
    loadRun_ = true;
    Form_Load();
}

void Form::Show(int style)
{
    if (unloaded_)
        return;
    if (style != vbModal) {
        show();
        raise();
        return;
    }
    if (!isVisible())
        placeAsDialog(*this, dialogOwner());
    setWindowModality(Qt::ApplicationModal);
    show();
    if (ModalHook &hook = modalHook()) {
        QPointer<Form> self(this);
        hook(*this);
        if (self && !self->unloaded_)
            self->setWindowModality(Qt::NonModal);
        return;
    }
    if (!g_modalWaits)
        return;
    QPointer<Form> self(this);
    QEventLoop loop;
    connect(this, &Form::hidden, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
    if (self && !self->unloaded_)
        self->setWindowModality(Qt::NonModal);
}

void Form::Hide()
{
    hide();
}

bool Form::Unload()
{
    return detail::unloadSequence(
        this, unloaded_, unloading_, [this](bool &cancel) { Form_Unload(cancel); },
        [this] {
            setActive(false);
            emit unloaded();
        });
}

void Form::setActive(bool on)
{
    if (on == active_)
        return;
    active_ = on;
    if (on) {
        Form_Activate();
        emit activated();
    } else {
        Form_Deactivate();
        emit deactivated();
    }
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous() && !unloaded_)
        setActive(true);
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    setActive(false);
    emit hidden();
}

void Form::closeEvent(QCloseEvent *event)
{
    // The close box unloads the form, unless its unload handler refuses.
    if (unloaded_ || Unload())
        event->accept();
    else
        event->ignore();
}

MainForm::MainForm(QWidget *parent) : QMainWindow(parent)
{}

MainForm::~MainForm()
{
    detail::forget(this);
}

void MainForm::runLoad()
{
    if (loadRun_)
        return;
    loadRun_ = true;
    MDIForm_Load();
}

bool MainForm::Unload()
{
    return detail::unloadSequence(
        this, unloaded_, unloading_, [this](bool &cancel) { Form_Unload(cancel); }, [this] { emit unloaded(); });
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (unloaded_ || Unload())
        event->accept();
    else
        event->ignore();
}

} // namespace forms
