#pragma once
// The builders of a window's controls: each creates one control under parent, gives it its
// object name (the name the window's procedures and tests find it by) and the defaults the
// windows share. Captions are taken as given ("&" marks the access key). An empty name leaves the
// control unnamed (a control no procedure looks up).
//
//     Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Besatzung"), this);
//     lblFArt = forms::label(QStringLiteral("lblFArt"), QStringLiteral("Fischart:"), Frame1);
//     cboFArt = forms::comboBox(QStringLiteral("cboFArt"), Frame1, forms::Editable);
//     txtPLZ = forms::textBox(QStringLiteral("txtPLZ"), Frame1, 10);
//     tblKatego = forms::grid(QStringLiteral("tblKatego"), Frame1,
//                             {QStringLiteral("Nr."), {QStringLiteral("Kategorie"), 4000}});
//
// What one window alone does differently (a key filter, a width, a disabled start) it sets on the
// control it gets back.
#include "forms/combobox.h"
#include "forms/listgrid.h"

#include <QLineEdit>
#include <QList>
#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace forms {

// Whether the user may type into an entry list or only pick from it.
enum ComboStyle { PickList, Editable };

// One column of a grid: its caption and width in twips; a negative width (default) keeps the
// grid's default (1200 twips). A caption alone stands for its column.
struct Spalte
{
    Spalte(const QString &caption, int twips = -1) : caption(caption), twips(twips) {}
    QString caption;
    int twips;
};

// A label showing caption; an empty caption makes a label that code fills later (a number, a count).
QLabel *label(const QString &name, const QString &caption, QWidget *parent);

// A window's heading: a label showing caption in bold, 6 points above the label's font; an empty
// family keeps that font's family, another sets the heading in that family.
QLabel *heading(const QString &name, const QString &caption, QWidget *parent, const QString &family = QString());

// An empty one-line text box; maxLength 0 keeps Qt's limit (32767 UTF-16 units); echo Password
// shows a mask for every character typed. A text pasted beyond the limit is cut before the
// character that does not fit whole, never inside it.
QLineEdit *textBox(const QString &name, QWidget *parent, int maxLength = 0,
                   QLineEdit::EchoMode echo = QLineEdit::Normal);

// An empty entry list, as forms::ComboBox: filled from code it has no current entry. PickList
// (default) lets the user only pick; Editable also takes a typed text, which adds no entry.
ComboBox *comboBox(const QString &name, QWidget *parent, ComboStyle style = PickList);

// Makes an entry list as wide as its widest entry and keeps it so in any layout (it neither
// shrinks nor grows with its column); its drop-down list is then as wide too. For short fixed
// lists such as the comparison operators.
void fitToEntries(QComboBox *box);

// A check box showing caption, not ticked.
QCheckBox *checkBox(const QString &name, const QString &caption, QWidget *parent);

// An option button showing caption, not set; the option buttons of one parent exclude each other.
QRadioButton *option(const QString &name, const QString &caption, QWidget *parent);

// A push button showing caption.
QPushButton *button(const QString &name, const QString &caption, QWidget *parent);

// A frame (group box) with caption over its top line; an empty caption draws the line alone.
QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent);

// A frame with caption that takes over the option buttons first and second, side by side, so that
// they exclude each other and no button outside; neither is set by this call.
QGroupBox *optionPair(const QString &name, const QString &caption, QRadioButton *first, QRadioButton *second,
                      QWidget *parent);

// A list grid whose top level has exactly these columns, in this order, and no rows.
ListGrid *grid(const QString &name, QWidget *parent, const QList<Spalte> &spalten);

// The record number a label shows (blanks around it ignored); 0 when it shows none.
qlonglong labelNumber(const QLabel &label);

// A row for a window's layout: the label caption, the label count beside it ("Anzahl: 12"), the
// rest of the width empty. The row has no parent until the caller adds it to a layout.
QHBoxLayout *countRow(QLabel *caption, QLabel *count);

// What a count label shows for a list without rows.
enum class NoRows { Zero, Nothing };

// Makes the label count show how many rows list holds, at every change of that number from now
// on (a row appended, inserted or removed, the list emptied), whichever procedure makes it; a
// list without rows shows "0" or, with NoRows::Nothing, an empty label. The label is not set by
// this call: a window whose list was never filled may keep it empty.
void followRowCount(QLabel *count, GridList &list, NoRows none = NoRows::Zero);

} // namespace forms
