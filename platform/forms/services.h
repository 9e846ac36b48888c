#pragma once
// The forms runtime's services behind ports: message boxes, the system beep and the mouse
// pointer. The program calls the free functions; tests install the scripted stand-ins.
#include "forms/vbconst.h"

#include <QString>
#include <deque>
#include <vector>

namespace forms {

// ---- message boxes ---------------------------------------------------------------------------

class MsgBoxService
{
public:
    virtual ~MsgBoxService() = default;
    // Shows one modal box. text and title are kept raw (line breaks LF CR as the caller wrote
    // them); flags are the button and icon styles. Returns the answer code (vbOK, vbYes, ...).
    virtual int show(const QString &text, int flags, const QString &title) = 0;
};

// The box as the user sees it: a QMessageBox with the text's line breaks normalised.
class QtMsgBoxService : public MsgBoxService
{
public:
    int show(const QString &text, int flags, const QString &title) override;
};

// Shows a message box through the installed service and returns its answer.
int MsgBox(const QString &text, int flags = vbOKOnly, const QString &title = QString());

// The answer a box gives when nobody chooses: its default button (vbDefaultButtonN honoured).
int defaultAnswer(int flags);

// Line breaks of any kind (LF CR, CR LF, LF, CR) become one "\n" each, for display.
QString displayText(const QString &raw);

MsgBoxService &msgBoxService();
// Installs a service (not owned); nullptr restores the default. Returns the one replaced.
MsgBoxService *setMsgBoxService(MsgBoxService *service);

// Test stand-in: answers from a queue (the default button when the queue is empty) and records
// every box. Installs itself on construction and restores the previous service on destruction.
// It also keeps which boxes the test has looked at, so that a test can be failed for a box it
// neither scripted nor saw. A test looks at a box by naming it (count(titleOrText)), by taking
// it from the list (boxes()[i], boxes().front(), boxes().back()) or as the last (last()). Counting
// them all (count(), boxes().size()) or going through the list looks at none: a count alone would
// pass on the wrong box.
//
//     ASSERT_EQ(boxes.count(), 2u);                                      // how many, no box seen
//     EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 91")), 1u); // these, seen
//     EXPECT_EQ(boxes.last().text, QStringLiteral("Vorgang von User abgebrochen !"));
class ScriptedMsgBox : public MsgBoxService
{
public:
    struct Box
    {
        QString text;
        int flags = 0;
        QString title;
        int answer = 0;
        bool scripted = false; // false: the queue was empty and the default button answered
    };

    ScriptedMsgBox();
    ~ScriptedMsgBox() override;
    ScriptedMsgBox(const ScriptedMsgBox &) = delete;
    ScriptedMsgBox &operator=(const ScriptedMsgBox &) = delete;

    void answer(int code) { answers_.push_back(code); }
    int show(const QString &text, int flags, const QString &title) override;

    // The boxes so far, in order. Taking one (operator[], front(), back()) looks at it; size(),
    // empty() and going through them (begin(), end()) look at none.
    class BoxList
    {
    public:
        using const_iterator = std::vector<Box>::const_iterator;
        explicit BoxList(const ScriptedMsgBox &owner) : owner_(owner) {}
        const Box &operator[](std::size_t i) const { return owner_.lookAt(i); }
        const Box &front() const { return owner_.lookAt(0); }
        const Box &back() const { return owner_.lookAt(size() - 1); }
        std::size_t size() const { return owner_.boxes_.size(); }
        bool empty() const { return owner_.boxes_.empty(); }
        const_iterator begin() const { return owner_.boxes_.begin(); }
        const_iterator end() const { return owner_.boxes_.end(); }

    private:
        const ScriptedMsgBox &owner_;
    };

    BoxList boxes() const { return BoxList(*this); }
    // The last box, looked at.
    const Box &last() const { return lookAt(boxes_.size() - 1); }
    // How many boxes came; looks at none.
    std::size_t count() const { return boxes_.size(); }
    // How many boxes came with this title or this text (raw, as the program wrote it); looks at
    // each of them.
    std::size_t count(const QString &titleOrText) const;
    std::size_t pendingAnswers() const { return answers_.size(); }
    // Forgets the boxes so far and the answers not used; a box answered by default that the test
    // had not looked at stays among the unchecked ones.
    void clear();
    // The boxes answered by default that the test had not looked at (cleared ones included).
    std::vector<Box> unchecked() const;

private:
    // Box i, marked as looked at; a box that never came fails with std::out_of_range.
    const Box &lookAt(std::size_t i) const;

    std::deque<int> answers_;
    std::vector<Box> boxes_;
    mutable std::vector<bool> seen_; // per box: looked at by the test
    std::vector<Box> clearedUnchecked_;
    MsgBoxService *previous_ = nullptr;
};

// ---- system beep -----------------------------------------------------------------------------

class BeepPort
{
public:
    virtual ~BeepPort() = default;
    virtual void beep() = 0;
};

void Beep();
BeepPort *setBeepPort(BeepPort *port); // not owned; nullptr restores the default

// Test stand-in: counts the beeps; installs itself while it lives.
class RecordingBeep : public BeepPort
{
public:
    RecordingBeep();
    ~RecordingBeep() override;
    RecordingBeep(const RecordingBeep &) = delete;
    RecordingBeep &operator=(const RecordingBeep &) = delete;
    void beep() override { ++count_; }
    int count() const { return count_; }
    void reset() { count_ = 0; }

private:
    int count_ = 0;
    BeepPort *previous_ = nullptr;
};

// ---- mouse pointer ---------------------------------------------------------------------------

// The application-wide pointer (vbDefault, vbHourglass, ...).
void setMousePointer(int pointer);
int mousePointer();

// Hourglass while it lives; restores the pointer that was set before.
class Hourglass
{
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;

private:
    int previous_;
};

} // namespace forms
