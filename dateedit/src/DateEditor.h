#pragma once
// Field-wise keyboard editing of the date control: typing digits and blanks over the day, month
// and year fields of the display text, deleting, jumping to the next field, the navigation,
// selection and spin keys, the clipboard, and the commits that turn the typed text into the value
// (after every edit, and once more on losing the focus).
//
// The editor works on a DateModel; what it needs of the control (its settings, the beep, the
// GetCentury event, the clipboard, the calendar) goes through DateEditorHost.
#include "DateModel.h"

#include <optional>

namespace lzdate {

// Virtual key codes of the key events.
namespace vk {
inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Menu = 0x12; // Alt
inline constexpr int Capital = 0x14;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int Prior = 0x21;
inline constexpr int Next = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int KeyC = 0x43;
inline constexpr int KeyV = 0x56;
inline constexpr int F4 = 0x73;
inline constexpr int NumLock = 0x90;
} // namespace vk

class DateEditorHost
{
public:
    virtual ~DateEditorHost() = default;
    virtual bool editEnabled() const { return true; }
    virtual int editMode() const { return 1; } // 0 overwrite, 1 insert
    virtual bool editModeChange() const { return true; }
    virtual bool freeFormEntry() const { return false; }
    virtual bool caretExists() const { return true; }
    // The Insert key: EditMode toggles and the caret takes the new shape.
    virtual void toggleEditMode() {}
    virtual void beep() {}
    // GetCentury(Year, century byref): the handler may change the century.
    virtual void getCentury(int /*year*/, long & /*century*/) {}
    virtual void openCalendar() {}
    // False when the clipboard cannot be used.
    virtual bool copyText(const QString & /*text*/) { return false; }
    // The clipboard's text (empty when it holds none); no value when it cannot be used.
    virtual std::optional<QString> pasteText() { return std::nullopt; }
};

class DateEditor
{
public:
    DateEditor(DateModel &model, DateEditorHost &host);

    // A new focus: the container is asked again before the first navigation key.
    void focusGained()
    {
        editGranted_ = false;
        typed_ = false;
    }
    // A character the control handles (after its KeyPress events): digits, a blank, the separator.
    void character(QChar c);
    // A key down the control handles (after its KeyDown events), with the real modifier state.
    void keyDown(int key, bool shift, bool ctrl);
    // The commit on losing the focus (end-of-month correction, text rebuilt from the fields),
    // when something was typed since the focus came.
    void focusCommit();

    // Exposed for tests: the commit after every edit.
    void liveCommit();

private:
    enum class Typed { Digit, Blank, Delete };
    struct Field
    {
        int start = 0;
        int end = 0;   // one past the last character
        int index = 0; // 0-based field number
        int kind = 0;  // FieldKind
        int length() const { return end - start; }
    };

    int code() const { return model_.displayCode(); }
    QChar sep() const;
    bool isSep(QChar c) const;
    bool numeric() const;
    Field fieldAt(const QString &text, int pos) const;
    int fieldMaxLength(const Field &f) const;
    int fieldMaxValue(const Field &f) const;

    // Typing one character at the caret (digit, blank or a deletion).
    void typeAt(Typed kind, QChar digit, bool forceInsert = false);
    void replaceSelection(std::optional<Typed> kind, QChar digit);
    void jumpToNextField();
    void navigate(int key);
    void selectWith(int key);
    void spin(int delta);
    void copy();
    void paste();
    bool grantEdit();

    struct Typed3
    {
        int year = -1; // after the century rules
        int typedYear = -1;
        int month = -1;
        int day = -1;
    };
    Typed3 readTyped();
    QString textFromNumbers(int year, int month, int day) const;
    void store(double day);

    DateModel &model_;
    DateEditorHost &host_;
    bool editGranted_ = false;
    bool typed_ = false; // the text was typed over since the focus came
};

} // namespace lzdate
