// Keyboard editing on the date core: typing field by field, the separator and auto-advance rules,
// deleting, the spin keys, selection keys, the clipboard and the commits.
#include "DateEditor.h"
#include "fake_intl.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <vector>

using namespace lzdate;

namespace {

struct EditHost : DateModelHost, DateEditorHost
{
    // control settings
    bool enabled = true;
    int mode = 1;
    bool modeChange = true;
    bool freeForm = false;
    bool caret = true;
    bool allowEdit = true;
    // what happened
    int beeps = 0;
    int changes = 0;
    int boundNotes = 0;
    int calendarOpens = 0;
    std::vector<std::pair<int, long>> centuries;
    std::function<long(int year, long century)> centuryAnswer;
    std::optional<QString> clipboard = QString();

    bool requestBoundEdit() override { return allowEdit; }
    void boundChanged() override { ++boundNotes; }
    void changeEvent() override { ++changes; }

    bool editEnabled() const override { return enabled; }
    int editMode() const override { return mode; }
    bool editModeChange() const override { return modeChange; }
    bool freeFormEntry() const override { return freeForm; }
    bool caretExists() const override { return caret; }
    void toggleEditMode() override { mode = mode ? 0 : 1; }
    void beep() override { ++beeps; }
    void getCentury(int year, long &century) override
    {
        centuries.emplace_back(year, century);
        if (centuryAnswer)
            century = centuryAnswer(year, century);
    }
    void openCalendar() override { ++calendarOpens; }
    bool copyText(const QString &text) override
    {
        if (!clipboard)
            return false;
        clipboard = text;
        return true;
    }
    std::optional<QString> pasteText() override { return clipboard; }
};

class Editing : public ::testing::Test
{
protected:
    FakeIntl intl;
    EditHost host;
    DateModel model{&host, &intl};
    DateEditor editor{model, host};

    // A focused control in a format, holding a value; selection policy 0 puts the caret at 0.
    void start(int dateFormat, double value, Status status = Status::Valid, int selectionPolicy = 0,
               const QString &separator = QStringLiteral("."))
    {
        model.putSeparator(separator);
        model.putDateFormat(dateFormat);
        model.setSelectionPersistence(selectionPolicy);
        model.setRaw(value, status);
        model.setFocusFlag(true);
        editor.focusGained();
        model.rebuild(true);
        host.beeps = host.changes = host.boundNotes = 0;
        host.centuries.clear();
    }
    void caretAt(int pos) { model.setCaretAndSelection(pos, pos, pos); }
    void type(const QString &s)
    {
        for (QChar c : s)
            editor.character(c);
    }
    void key(int k, bool shift = false, bool ctrl = false) { editor.keyDown(k, shift, ctrl); }
    void blur()
    {
        model.setFocusFlag(false);
        editor.focusCommit();
        model.rebuild(false);
    }
};

// ------------------------------------------------------------------ typing

TEST_F(Editing, TypingAGermanDateFieldByField)
{
    start(0, oleDate(2031, 6, 15), Status::Valid, 2); // the system short date dd.MM.yyyy, all selected
    ASSERT_EQ(model.text(), "15.06.2031");
    type("24122026");
    EXPECT_EQ(model.text(), "24.12.2026");
    EXPECT_EQ(model.value(), oleDate(2026, 12, 24));
    EXPECT_EQ(model.status(), Status::Valid);
    EXPECT_EQ(model.caret(), 10);
    EXPECT_EQ(host.beeps, 0);
    EXPECT_GT(host.changes, 0);
    blur();
    EXPECT_EQ(model.text(), "24.12.2026");
    EXPECT_EQ(model.value(), oleDate(2026, 12, 24));
}

TEST_F(Editing, TypingIntoTheBlanksOfANullControl)
{
    start(0, 0.0, Status::Null);
    ASSERT_EQ(model.text(), "  .  .    ");
    type("0103");
    EXPECT_EQ(model.text(), "01.03.    ");
    type("1999");
    EXPECT_EQ(model.text(), "01.03.1999");
    EXPECT_EQ(model.value(), oleDate(1999, 3, 1));
}

TEST_F(Editing, AMonthAboveTwelveBecomesTwelveWithABeep)
{
    start(7, 0.0, Status::Null, 0, "/"); // lzdMmddyy
    host.mode = 0;                       // overwrite
    ASSERT_EQ(model.text(), "  /  /  ");
    type("4");
    EXPECT_EQ(host.beeps, 0);
    type("5");
    EXPECT_EQ(model.text(), "12/  /  ");
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(model.caret(), 3) << "on into the day field";
}

TEST_F(Editing, FreeFormEntryKeepsTheTypedMonth)
{
    start(7, 0.0, Status::Null, 0, "/");
    host.mode = 0;
    host.freeForm = true;
    type("45");
    EXPECT_EQ(model.text(), "45/  /  ");
    EXPECT_EQ(host.beeps, 0);
    EXPECT_EQ(model.status(), Status::Invalid);
}

TEST_F(Editing, ThirtyFirstOfAprilBecomesTheThirtiethOnLeaving)
{
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode ? "insert" : "overwrite");
        start(13, oleDate(2024, 4, 15)); // dd/mm/yyyy
        host.mode = mode;
        type("31");
        EXPECT_EQ(model.text(), "31.04.2024");
        EXPECT_EQ(model.status(), Status::Invalid) << "no 31 April while typing";
        blur();
        EXPECT_EQ(model.status(), Status::Valid);
        EXPECT_EQ(model.value(), oleDate(2024, 4, 30));
        EXPECT_EQ(model.text(), "30.04.2024");
    }
}

// What the user sees after leaving an impossible entry: a day below 28 or a month below 1 empties
// the field; a day of 28 or more is lowered to the month's last day, no further.
TEST_F(Editing, ImpossibleEntriesBecomeNullOnLeaving)
{
    struct Case
    {
        const char *typed; // over the whole text, in dd.mm.yyyy
        Status status;
        const char *shown;
        double value;
    };
    const Case cases[] = {
        {"00122024", Status::Null, "", 0.0},                             // day below 28
        {"31002024", Status::Null, "", 0.0},                             // month below 1
        {"30022024", Status::Valid, "29.02.2024", oleDate(2024, 2, 29)}, // lowered to 29 February
        {"31022023", Status::Valid, "28.02.2023", oleDate(2023, 2, 28)}, // lowered to 28 February
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        start(13, oleDate(2024, 6, 1), Status::Valid, 2);
        type(QString::fromLatin1(c.typed));
        blur();
        EXPECT_EQ(model.status(), c.status);
        EXPECT_EQ(model.text(), QString::fromLatin1(c.shown));
        if (c.status == Status::Valid) {
            EXPECT_EQ(model.value(), c.value);
        }
    }
}

TEST_F(Editing, TheSeparatorJumpsToTheNextField)
{
    start(12, 0.0, Status::Null); // d/m/yyyy, unpadded
    ASSERT_EQ(model.text(), " . .    ");
    type("1.5.2024");
    EXPECT_EQ(model.text(), "1.5.2024");
    EXPECT_EQ(model.value(), oleDate(2024, 5, 1));
    EXPECT_EQ(host.beeps, 0);

    start(13, 0.0, Status::Null); // padded: the rest of the field stays blank
    type("1.5.2024");
    EXPECT_EQ(model.text(), "1 .5 .2024");
    EXPECT_EQ(model.value(), oleDate(2024, 5, 1));
}

TEST_F(Editing, TwoDigitYearAsksForTheCentury)
{
    start(9, oleDate(1999, 5, 5)); // dd/mm/yy
    ASSERT_EQ(model.text(), "05.05.99");
    host.centuryAnswer = [](int year, long century) { return year == 24 ? 2000L : century; };
    caretAt(6);
    type("24"); // insert mode: 2 makes 29, then 24
    ASSERT_FALSE(host.centuries.empty());
    EXPECT_EQ(host.centuries.back(), (std::pair<int, long>(24, 1900)));
    EXPECT_EQ(model.value(), oleDate(2024, 5, 5));
}

TEST_F(Editing, FourDigitYearBelowOneHundredTakesTheCurrentCentury)
{
    start(13, oleDate(1950, 1, 2), Status::Valid, 2);
    type("020324");
    ASSERT_FALSE(host.centuries.empty());
    EXPECT_EQ(host.centuries.back(), (std::pair<int, long>(24, 2000))); // the fake clock stands in 2031
    EXPECT_EQ(model.value(), oleDate(2024, 3, 2));
}

TEST_F(Editing, BlankAndDeleteClearFields)
{
    start(13, oleDate(2024, 12, 24));
    caretAt(4);
    type(" ");
    EXPECT_EQ(model.text(), "24.  .2024");
    EXPECT_EQ(model.caret(), 3);
    EXPECT_EQ(model.status(), Status::Invalid);
    caretAt(7);
    key(vk::Delete); // the four-digit year closes up
    EXPECT_EQ(model.text(), "24.  .224");
    caretAt(0);
    key(vk::Delete); // a padded day digit becomes a blank
    EXPECT_EQ(model.text(), " 4.  .224");
    caretAt(2);
    key(vk::Back); // Backspace deletes the character before the caret
    EXPECT_EQ(model.text(), "  .  .224");
    EXPECT_EQ(model.caret(), 1);
}

TEST_F(Editing, ReplacingASelectionFiresOneChange)
{
    start(13, oleDate(2024, 12, 24), Status::Valid, 2);
    type("1");
    EXPECT_EQ(model.text(), "1 .  ."); // the four-digit year closes up

    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(model.caret(), 1);
}

// ------------------------------------------------------------------ refused keys

TEST_F(Editing, RefusedKeysBeepAndChangeNothing)
{
    struct Case
    {
        const char *name;
        int dateFormat;
        bool enabled;
        int caret;
        int selEnd; // a selection from the caret to here when different
        QString typed;
        int beeps;
    };
    const Case cases[] = {
        {"digit in a disabled control", 13, false, 0, 0, "5", 1},
        {"digit in a long format", 19, true, 0, 0, "5", 1},
        {"letter in a numeric format", 13, true, 0, 0, "x", 0},
        {"letter over a selection", 13, true, 0, 4, "x", 1},
        {"separator at the start", 13, true, 0, 0, ".", 1},
        {"separator before the last character", 13, true, 9, 9, ".", 1},
        {"separator inside a field", 13, true, 0, 0, "..", 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start(c.dateFormat, oleDate(2024, 12, 24));
        host.enabled = c.enabled;
        model.setCaretAndSelection(c.selEnd, c.caret, c.selEnd);
        const QString before = model.text();
        type(c.typed);
        EXPECT_EQ(host.beeps, c.beeps);
        EXPECT_EQ(model.text(), before);
        EXPECT_EQ(model.value(), oleDate(2024, 12, 24));
        EXPECT_EQ(host.changes, 0);
        host.enabled = true;
    }
}

// ------------------------------------------------------------------ spin keys

TEST_F(Editing, SpinKeysStopAtMonthAndYearEnds)
{
    struct Case
    {
        const char *name;
        double value;
        int caret;
        int key;
        double expected; // 0: unchanged
    };
    const Case cases[] = {
        {"31 January, month up", oleDate(2024, 1, 31), 3, vk::Up, 0},
        {"28 February of a leap year, day up", oleDate(2024, 2, 28), 0, vk::Up, oleDate(2024, 2, 29)},
        {"28 February of a common year, day up", oleDate(2023, 2, 28), 0, vk::Up, 0},
        {"29 February, year up", oleDate(2024, 2, 29), 6, vk::Up, 0},
        {"29 February, year down by four", oleDate(2024, 2, 29), 7, vk::Down, 0},
        {"31 March, month down", oleDate(2024, 3, 31), 4, vk::Down, 0},
        {"31 December, day up", oleDate(2024, 12, 31), 1, vk::Up, 0},
        {"December, month up", oleDate(2024, 12, 15), 3, vk::Up, 0},
        {"1 January, day down", oleDate(2024, 1, 1), 0, vk::Down, 0},
        {"January, month down", oleDate(2024, 1, 15), 3, vk::Down, 0},
        {"30 November, month up", oleDate(2024, 11, 30), 3, vk::Up, oleDate(2024, 12, 30)},
        {"caret at the end spins the year", oleDate(2024, 6, 15), 10, vk::Up, oleDate(2025, 6, 15)},
        {"caret on a separator spins the field before", oleDate(2024, 6, 15), 2, vk::Up, oleDate(2024, 6, 16)},
        {"year down", oleDate(2024, 6, 15), 8, vk::Down, oleDate(2023, 6, 15)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start(13, c.value);
        caretAt(c.caret);
        key(c.key);
        const double expected = c.expected == 0 ? c.value : c.expected;
        EXPECT_EQ(model.value(), expected);
        EXPECT_EQ(host.changes, c.expected == 0 ? 0 : 1);
        EXPECT_EQ(host.beeps, 0);
    }
}

TEST_F(Editing, SpinInALongFormatChangesTheDay)
{
    start(19, oleDate(2024, 6, 15));
    caretAt(0);
    key(vk::Up);
    EXPECT_EQ(model.value(), oleDate(2024, 6, 16));
    EXPECT_EQ(model.text(), "Sunday, June 16, 2024");
}

TEST_F(Editing, NavigationKeysNeedTheContainersConsent)
{
    start(13, oleDate(2024, 6, 15));
    host.allowEdit = false;
    caretAt(0);
    key(vk::Up);
    key(vk::End);
    EXPECT_EQ(model.value(), oleDate(2024, 6, 15));
    EXPECT_EQ(model.caret(), 0);
    host.allowEdit = true;
    key(vk::End);
    EXPECT_EQ(model.caret(), 10);
    EXPECT_EQ(host.boundNotes, 1) << "asked once per focus";
    key(vk::Home);
    EXPECT_EQ(host.boundNotes, 1);
}

TEST_F(Editing, SpinOnANullValueDoesNothing)
{
    start(13, 0.0, Status::Null);
    key(vk::Up);
    EXPECT_EQ(model.status(), Status::Null);
    EXPECT_EQ(host.changes, 0);
}

// ------------------------------------------------------------------ other keys

TEST_F(Editing, InsertTogglesOnlyWhenAllowed)
{
    start(13, oleDate(2024, 6, 15));
    key(vk::Insert);
    EXPECT_EQ(host.mode, 0);
    host.modeChange = false;
    key(vk::Insert);
    EXPECT_EQ(host.mode, 0);
    host.modeChange = true;
    host.caret = false;
    key(vk::Insert);
    EXPECT_EQ(host.mode, 0) << "no caret, no toggle";
}

TEST_F(Editing, SelectionKeys)
{
    start(13, oleDate(2024, 6, 15));
    caretAt(5);
    key(vk::Left, true);
    EXPECT_EQ(std::make_pair(model.selStart(), model.selEnd()), std::make_pair(4, 5));
    key(vk::Left, true);
    EXPECT_EQ(std::make_pair(model.selStart(), model.selEnd()), std::make_pair(3, 5));
    key(vk::Right, true);
    EXPECT_EQ(std::make_pair(model.selStart(), model.selEnd()), std::make_pair(4, 5));
    key(vk::End, true);
    EXPECT_EQ(std::make_pair(model.selStart(), model.selEnd()), std::make_pair(5, 10));
    key(vk::Home, true);
    EXPECT_EQ(std::make_pair(model.selStart(), model.selEnd()), std::make_pair(0, 5));
    key(vk::Left); // without Shift: to the selection's start, the selection collapses
    EXPECT_EQ(std::make_pair(model.selStart(), model.selEnd()), std::make_pair(0, 0));
}

TEST_F(Editing, FourAndAltDownOpenTheCalendar)
{
    start(13, oleDate(2024, 6, 15));
    key(vk::F4);
    EXPECT_EQ(host.calendarOpens, 1);
}

// ------------------------------------------------------------------ clipboard

TEST_F(Editing, CopyWithoutASelectionBeeps)
{
    start(13, oleDate(2024, 6, 15));
    key(vk::KeyC, false, true);
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(host.clipboard, QString());
}

TEST_F(Editing, CopyAndPasteRoundTrip)
{
    start(13, oleDate(2026, 12, 24), Status::Valid, 2);
    key(vk::KeyC, false, true);
    EXPECT_EQ(host.clipboard, QStringLiteral("24.12.2026"));
    model.putValue(oleDate(2000, 1, 1));
    host.changes = 0;
    key(vk::KeyV, false, true);
    EXPECT_EQ(model.value(), oleDate(2026, 12, 24));
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(host.beeps, 0);

    model.setCaretAndSelection(5, 3, 5); // a part of the text
    key(vk::KeyC, false, true);
    EXPECT_EQ(host.clipboard, QStringLiteral("12"));
}

TEST_F(Editing, PastingActsAsTheDateStringPut)
{
    QString huge;
    for (int i = 0; i < 100000; ++i)
        huge += QChar(char16_t(u'0' + i % 10));
    QString noise; // any characters but digits
    auto *rng = QRandomGenerator::global();
    while (noise.size() < 5000) {
        const QChar c(char16_t(rng->bounded(1, 0xD7FF)));
        if (!c.isDigit())
            noise += c;
    }
    const double held = oleDate(2024, 6, 15);
    struct Case
    {
        const char *name;
        QString text;
        Status status;
        double value;      // Value as read afterwards
        const char *shown; // the text of a valid value
        int changes;
    };
    const Case cases[] = {
        {"a date", QStringLiteral("24.12.2026"), Status::Valid, oleDate(2026, 12, 24), "24.12.2026", 1},
        {"words", QStringLiteral("kein Datum"), Status::Null, 0.0, "", 1},
        {"impossible day", QStringLiteral("31.02.2024"), Status::Valid, held, "15.06.2024", 1},
        {"month 13", QStringLiteral("01.13.2024"), Status::Null, 0.0, "", 1},
        {"huge digits", huge, Status::Null, 0.0, "", 1},
        {"noise", noise, Status::Null, 0.0, "", 1},
        {"empty clipboard", QString(), Status::Valid, held, "15.06.2024", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start(13, held, Status::Valid, 2);
        host.clipboard = c.text;
        key(vk::KeyV, false, true);
        EXPECT_EQ(model.status(), c.status);
        EXPECT_EQ(model.value(), c.value);
        if (c.status == Status::Valid) {
            EXPECT_EQ(model.text(), c.shown);
        }
        EXPECT_EQ(host.changes, c.changes);
        EXPECT_EQ(host.beeps, 0);
    }
    start(13, oleDate(2024, 6, 15));
    host.clipboard.reset(); // the clipboard cannot be used
    key(vk::KeyV, false, true);
    key(vk::KeyC, false, true);
    EXPECT_EQ(host.beeps, 2);
}

// ------------------------------------------------------------------ every key everywhere

TEST_F(Editing, EveryKeyOnEveryFieldInEveryFormat)
{
    const std::vector<int> keys{vk::Back,  vk::Prior, vk::Next, vk::End,    vk::Home,   vk::Left,
                                vk::Right, vk::Up,    vk::Down, vk::Insert, vk::Delete, vk::F4};
    const QString chars = QStringLiteral("0159 .x/-\\") + QChar(0xFF15) + QChar(0xFF0E);
    for (int df = 0; df < kDateFormatCount; ++df) {
        for (int variant = 0; variant < 8; ++variant) {
            const bool freeForm = variant & 1;
            const int mode = (variant >> 1) & 1;
            const bool null = variant & 4;
            start(df, oleDate(2024, 2, 29), null ? Status::Null : Status::Valid);
            const QString initial = model.text();
            const int len = int(initial.size());
            for (int pos = 0; pos <= len; ++pos) {
                for (int sel = 0; sel < 2; ++sel) {
                    for (int k = 0; k < int(keys.size() + chars.size() + 2); ++k) {
                        SCOPED_TRACE(testing::Message() << "format " << df << " variant " << variant << " pos " << pos
                                                        << " sel " << sel << " key " << k);
                        start(df, oleDate(2024, 2, 29), null ? Status::Null : Status::Valid);
                        host.freeForm = freeForm;
                        host.mode = mode;
                        model.setCaretAndSelection(sel ? len : pos, pos, sel ? len : pos);
                        if (k < int(keys.size()))
                            key(keys[k]);
                        else if (k < int(keys.size() + chars.size()))
                            editor.character(chars[k - int(keys.size())]);
                        else
                            key(k == int(keys.size() + chars.size()) ? vk::Left : vk::Right, true);
                        const int n = int(model.text().size());
                        ASSERT_LE(n, 100);
                        ASSERT_GE(model.caret(), 0);
                        ASSERT_LE(model.caret(), n);
                        ASSERT_LE(model.selStart(), model.selEnd());
                        ASSERT_LE(model.selEnd(), n);
                        if (model.status() == Status::Valid) {
                            Ymd d;
                            ASSERT_TRUE(ymdFromOle(model.date(), d));
                        }
                        // typing on: two more digits, then leaving
                        editor.character(u'9');
                        editor.character(u'3');
                        blur();
                        if (model.status() == Status::Valid) {
                            Ymd d;
                            ASSERT_TRUE(ymdFromOle(model.date(), d));
                        }
                    }
                }
            }
        }
    }
}

} // namespace
