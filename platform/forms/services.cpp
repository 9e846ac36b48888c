#include "forms/services.h"
#include "forms/form.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>

namespace forms {

namespace {

MsgBoxService *g_msgBox = nullptr;

MsgBoxService &defaultMsgBox()
{
    static QtMsgBoxService qtService;
    return qtService;
}

struct Buttons
{
    std::vector<int> answers;
};

Buttons buttonsOf(int flags)
{
    switch (flags & 7) {
    case vbOKCancel: return {{vbOK, vbCancel}};
    case vbAbortRetryIgnore: return {{vbAbort, vbRetry, vbIgnore}};
    case vbYesNoCancel: return {{vbYes, vbNo, vbCancel}};
    case vbYesNo: return {{vbYes, vbNo}};
    case vbRetryCancel: return {{vbRetry, vbCancel}};
    default: return {{vbOK}};
    }
}

QString buttonText(int answer)
{
    switch (answer) {
    case vbOK: return QStringLiteral("OK");
    case vbCancel: return QStringLiteral("Abbrechen");
    case vbAbort: return QStringLiteral("Abbrechen");
    case vbRetry: return QStringLiteral("Wiederholen");
    case vbIgnore: return QStringLiteral("Ignorieren");
    case vbYes: return QStringLiteral("Ja");
    case vbNo: return QStringLiteral("Nein");
    }
    return QString();
}

QMessageBox::ButtonRole roleOf(int answer)
{
    switch (answer) {
    case vbYes:
    case vbOK:
    case vbRetry: return QMessageBox::AcceptRole;
    case vbNo: return QMessageBox::NoRole;
    case vbIgnore: return QMessageBox::ActionRole;
    default: return QMessageBox::RejectRole;
    }
}

class SystemBeep : public BeepPort
{
public:
    void beep() override { QApplication::beep(); }
};

BeepPort *g_beep = nullptr;

BeepPort &beepPort()
{
    static SystemBeep system;
    return g_beep ? *g_beep : system;
}

int g_pointer = vbDefault;

} // namespace

QString displayText(const QString &raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == u'\n' || c == u'\r') {
            const QChar other = c == u'\n' ? u'\r' : u'\n';
            if (i + 1 < raw.size() && raw.at(i + 1) == other)
                ++i;
            out += u'\n';
        } else {
            out += c;
        }
    }
    return out;
}

int defaultAnswer(int flags)
{
    const Buttons b = buttonsOf(flags);
    std::size_t index = 0;
    if (flags & vbDefaultButton3)
        index = 2;
    else if (flags & vbDefaultButton2)
        index = 1;
    if (index >= b.answers.size())
        index = 0;
    return b.answers[index];
}

int QtMsgBoxService::show(const QString &text, int flags, const QString &title)
{
    // Over the window the user works in; when the window manager has made none active yet, over
    // the main window.
    QWidget *owner = QApplication::activeWindow();
    QMessageBox box(owner ? owner : dialogOwner());
    box.setText(displayText(text));
    box.setWindowTitle(title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
    switch (flags & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const Buttons b = buttonsOf(flags);
    const int def = defaultAnswer(flags);
    std::vector<std::pair<QPushButton *, int>> made;
    for (int answer : b.answers) {
        QPushButton *button = box.addButton(buttonText(answer), roleOf(answer));
        made.emplace_back(button, answer);
        if (answer == def)
            box.setDefaultButton(button);
        if (answer == vbCancel || (b.answers.size() == 1))
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto &[button, answer] : made)
        if (box.clickedButton() == button)
            return answer;
    // Closed without a button (only possible where an escape button exists).
    return b.answers.size() == 1 ? vbOK : vbCancel;
}

MsgBoxService &msgBoxService()
{
    return g_msgBox ? *g_msgBox : defaultMsgBox();
}

MsgBoxService *setMsgBoxService(MsgBoxService *service)
{
    MsgBoxService *old = g_msgBox;
    g_msgBox = service;
    return old;
}

int MsgBox(const QString &text, int flags, const QString &title)
{
    return msgBoxService().show(text, flags, title);
}

ScriptedMsgBox::ScriptedMsgBox() : previous_(setMsgBoxService(this))
{}

ScriptedMsgBox::~ScriptedMsgBox()
{
    setMsgBoxService(previous_);
}

int ScriptedMsgBox::show(const QString &text, int flags, const QString &title)
{
    Box box{text, flags, title, 0, !answers_.empty()};
    if (box.scripted) {
        box.answer = answers_.front();
        answers_.pop_front();
    } else {
        box.answer = defaultAnswer(flags);
    }
    boxes_.push_back(box);
    seen_.push_back(false);
    return box.answer;
}

const ScriptedMsgBox::Box &ScriptedMsgBox::lookAt(std::size_t i) const
{
    const Box &box = boxes_.at(i);
    seen_[i] = true;
    return box;
}

std::size_t ScriptedMsgBox::count(const QString &titleOrText) const
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        if (boxes_[i].title == titleOrText || boxes_[i].text == titleOrText) {
            seen_[i] = true;
            ++n;
        }
    }
    return n;
}

void ScriptedMsgBox::clear()
{
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (!boxes_[i].scripted && !seen_[i])
            clearedUnchecked_.push_back(boxes_[i]);
    boxes_.clear();
    seen_.clear();
    answers_.clear();
}

std::vector<ScriptedMsgBox::Box> ScriptedMsgBox::unchecked() const
{
    std::vector<Box> out = clearedUnchecked_;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (!boxes_[i].scripted && !seen_[i])
            out.push_back(boxes_[i]);
    return out;
}

void Beep()
{
    beepPort().beep();
}

BeepPort *setBeepPort(BeepPort *port)
{
    BeepPort *old = g_beep;
    g_beep = port;
    return old;
}

RecordingBeep::RecordingBeep() : previous_(setBeepPort(this))
{}

RecordingBeep::~RecordingBeep()
{
    setBeepPort(previous_);
}

void setMousePointer(int pointer)
{
    if (pointer == g_pointer)
        return;
    if (g_pointer != vbDefault && qApp)
        QApplication::restoreOverrideCursor();
    g_pointer = pointer;
    if (pointer == vbDefault || !qApp)
        return;
    QApplication::setOverrideCursor(pointer == vbHourglass ? QCursor(Qt::WaitCursor) : QCursor(Qt::ArrowCursor));
}

int mousePointer()
{
    return g_pointer;
}

Hourglass::Hourglass() : previous_(mousePointer())
{
    setMousePointer(vbHourglass);
}

Hourglass::~Hourglass()
{
    setMousePointer(previous_);
}

} // namespace forms
