#include "forms/fields.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace forms {

namespace {

// A control of class T with a caption, named.
template <class T>
T *benannt(const QString &name, const QString &caption, QWidget *parent)
{
    auto *w = new T(caption, parent);
    w->setObjectName(name);
    return w;
}

} // namespace

QLabel *label(const QString &name, const QString &caption, QWidget *parent)
{
    return benannt<QLabel>(name, caption, parent);
}

QLabel *heading(const QString &name, const QString &caption, QWidget *parent, const QString &family)
{
    // The program's informal heading face is not on this platform: the informal upright sans of
    // the same kind that the install step brings (fonts-comic-neue) stands for it, instead of
    // whatever script face the font matching would pick.
    static const bool ersetzt = [] {
        QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
        return true;
    }();
    (void)ersetzt;
    QLabel *l = label(name, caption, parent);
    QFont font = family.isEmpty() ? l->font() : QFont(family);
    font.setBold(true);
    font.setPointSize(l->font().pointSize() + 6);
    l->setFont(font);
    return l;
}

QLineEdit *textBox(const QString &name, QWidget *parent, int maxLength, QLineEdit::EchoMode echo)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(name);
    if (maxLength > 0)
        t->setMaxLength(maxLength);
    if (echo != QLineEdit::Normal)
        t->setEchoMode(echo);
    // A paste cut at the limit can end in the first half of a character (a surrogate pair, as of
    // an emoji), which the database would keep as "?": that half goes, the cut falls before the
    // character.
    QObject::connect(t, &QLineEdit::textEdited, t, [t] {
        const QString text = t->text();
        const int c = t->cursorPosition();
        if (c > 0 && text.at(c - 1).isHighSurrogate() && (c == text.size() || !text.at(c).isLowSurrogate()))
            t->backspace();
    });
    return t;
}

ComboBox *comboBox(const QString &name, QWidget *parent, ComboStyle style)
{
    auto *c = new ComboBox(parent);
    c->setObjectName(name);
    if (style == Editable) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    return c;
}

void fitToEntries(QComboBox *box)
{
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QCheckBox *checkBox(const QString &name, const QString &caption, QWidget *parent)
{
    return benannt<QCheckBox>(name, caption, parent);
}

QRadioButton *option(const QString &name, const QString &caption, QWidget *parent)
{
    return benannt<QRadioButton>(name, caption, parent);
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    return benannt<QPushButton>(name, caption, parent);
}

QGroupBox *frame(const QString &name, const QString &caption, QWidget *parent)
{
    return benannt<QGroupBox>(name, caption, parent);
}

QGroupBox *optionPair(const QString &name, const QString &caption, QRadioButton *first, QRadioButton *second,
                      QWidget *parent)
{
    QGroupBox *g = frame(name, caption, parent);
    auto *l = new QHBoxLayout(g);
    first->setParent(g);
    second->setParent(g);
    l->addWidget(first);
    l->addWidget(second);
    return g;
}

ListGrid *grid(const QString &name, QWidget *parent, const QList<Spalte> &spalten)
{
    auto *g = new ListGrid(parent);
    g->setObjectName(name);
    GridList &top = g->top();
    top.setColumnCount(int(spalten.size()));
    for (int c = 0; c < spalten.size(); ++c) {
        top.setColumnCaption(c, spalten[c].caption);
        if (spalten[c].twips >= 0)
            top.setColumnWidth(c, spalten[c].twips);
    }
    return g;
}

QHBoxLayout *countRow(QLabel *caption, QLabel *count)
{
    auto *row = new QHBoxLayout;
    row->addWidget(caption);
    row->addWidget(count);
    row->addStretch(1);
    return row;
}

void followRowCount(QLabel *count, GridList &list, NoRows none)
{
    QObject::connect(&list, &GridList::rowCountChanged, count, [count, none](int n) {
        const QString text = n == 0 && none == NoRows::Nothing ? QString() : QString::number(n);
        // Set only when changed: a list filled row by row does not lay out the label each time.
        if (count->text() != text)
            count->setText(text);
    });
}

qlonglong labelNumber(const QLabel &label)
{
    bool ok = false;
    const qlonglong nr = label.text().trimmed().toLongLong(&ok);
    return ok ? nr : 0;
}

} // namespace forms
