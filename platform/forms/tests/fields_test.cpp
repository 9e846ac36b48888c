#include "forms/fields.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Clicks the window where the widget is, as a user does.
void klicke(QWidget &fenster, QWidget *widget)
{
    const QPoint punkt = widget->mapTo(&fenster, widget->rect().center());
    QTest::mouseClick(fenster.windowHandle(), Qt::LeftButton, {}, punkt);
    QApplication::processEvents();
}

} // namespace

// Two pairs on one parent: a click sets the button and clears only its partner, not the
// button set in the other pair.
TEST(Fields, AnOptionPairExcludesOnlyWithinItself)
{
    QWidget fenster;
    auto *mann = forms::option(QStringLiteral("optMann"), QStringLiteral("männlich"), &fenster);
    auto *frau = forms::option(QStringLiteral("optFrau"), QStringLiteral("weiblich"), &fenster);
    QGroupBox *geschlecht =
        forms::optionPair(QStringLiteral("fraGeschlecht"), QStringLiteral("Geschlecht..."), mann, frau, &fenster);
    auto *ja = forms::option(QStringLiteral("optBefreit"), QStringLiteral("befreit"), &fenster);
    auto *nein = forms::option(QStringLiteral("optNBefreit"), QStringLiteral("nicht befreit"), &fenster);
    QGroupBox *befreit = forms::optionPair(QStringLiteral("fraBefreit"), QString(), ja, nein, &fenster);
    auto *layout = new QVBoxLayout(&fenster);
    layout->addWidget(geschlecht);
    layout->addWidget(befreit);
    EXPECT_EQ(mann->parent(), geschlecht);
    EXPECT_EQ(nein->parent(), befreit);
    EXPECT_FALSE(mann->isChecked() || frau->isChecked() || ja->isChecked() || nein->isChecked());

    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    const struct
    {
        const char *name;
        QRadioButton *klick, *partner, *andererSatz;
    } faelle[] = {
        {"first pair", frau, mann, nein},
        {"second pair", ja, nein, frau},
        {"first pair again", mann, frau, ja},
    };
    mann->setChecked(true);
    nein->setChecked(true);
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        f.partner->setChecked(true);
        klicke(fenster, f.klick);
        EXPECT_TRUE(f.klick->isChecked());
        EXPECT_FALSE(f.partner->isChecked());
        EXPECT_TRUE(f.andererSatz->isChecked());
    }
}

// An editable list takes what the user types without adding it as an entry; both styles
// filled from code show no entry.
TEST(Fields, AnEntryListTakesTypedTextOnlyWhenEditableAndNeverAddsIt)
{
    const QStringList fische{QStringLiteral("Hecht"), QStringLiteral("Zander")};
    for (forms::ComboStyle stil : {forms::PickList, forms::Editable}) {
        SCOPED_TRACE(stil == forms::Editable ? "editable" : "pick list");
        QWidget fenster;
        forms::ComboBox *cbo = forms::comboBox(QStringLiteral("cboFArt"), &fenster, stil);
        new QHBoxLayout(&fenster);
        fenster.layout()->addWidget(cbo);
        cbo->addItems(fische);
        EXPECT_EQ(cbo->currentIndex(), -1);
        EXPECT_EQ(cbo->currentText(), QString());

        fenster.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
        QWidget *eingabe = cbo->isEditable() ? static_cast<QWidget *>(cbo->lineEdit()) : cbo;
        QTest::keyClicks(eingabe, QStringLiteral("Wels"));
        QTest::keyClick(eingabe, Qt::Key_Return);
        EXPECT_EQ(cbo->count(), 2);
        if (stil == forms::Editable)
            EXPECT_EQ(cbo->currentText(), QStringLiteral("Wels"));
        else
            EXPECT_NE(cbo->currentText(), QStringLiteral("Wels"));
    }
}

TEST(Fields, ATextBoxStopsAtItsLengthAndMasksAPassword)
{
    const struct
    {
        const char *name;
        int maxLength;
        QLineEdit::EchoMode echo;
        int behalten;
        bool maske;
    } faelle[] = {
        {"Qt's limit", 0, QLineEdit::Normal, 12, false},
        {"ten characters", 10, QLineEdit::Normal, 10, false},
        {"password", 50, QLineEdit::Password, 12, true},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        QWidget fenster;
        QLineEdit *t = forms::textBox(QStringLiteral("txtFeld"), &fenster, f.maxLength, f.echo);
        EXPECT_EQ(t->objectName(), QStringLiteral("txtFeld"));
        QTest::keyClicks(t, QStringLiteral("Angelverein1"));
        EXPECT_EQ(t->text().size(), f.behalten);
        EXPECT_EQ(t->displayText() != t->text(), f.maske);
    }
}

TEST(Fields, AGridHasExactlyItsColumnsWithGivenOrDefaultWidths)
{
    QWidget fenster;
    forms::ListGrid *g =
        forms::grid(QStringLiteral("tblKatego"), &fenster,
                    {QStringLiteral("Nr."), {QStringLiteral("Kategorie"), 4000}, {QStringLiteral("Leer"), 0}});
    EXPECT_EQ(g->objectName(), QStringLiteral("tblKatego"));
    const forms::GridList &top = g->top();
    ASSERT_EQ(top.columnCount(), 3);
    EXPECT_EQ(top.columnCaption(1), QStringLiteral("Kategorie"));
    EXPECT_EQ(top.columnWidth(0), 1200);
    EXPECT_EQ(top.columnWidth(1), 4000);
    EXPECT_EQ(top.columnWidth(2), 0);
    EXPECT_EQ(top.rowCount(), 0);
}

TEST(Fields, AHeadingIsBoldAndSixPointsLarger)
{
    QWidget fenster;
    const int basis = forms::label(QString(), QString(), &fenster)->font().pointSize();
    const struct
    {
        const char *name;
        QString familie;
    } faelle[] = {
        {"the window's family", QString()},
        {"a family of its own", QStringLiteral("Comic Sans MS")},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        QLabel *h = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("FANGBUCH"), &fenster, f.familie);
        EXPECT_EQ(h->text(), QStringLiteral("FANGBUCH"));
        EXPECT_TRUE(h->font().bold());
        EXPECT_EQ(h->font().pointSize(), basis + 6);
        EXPECT_EQ(h->font().family(), f.familie.isEmpty() ? fenster.font().family() : f.familie);
    }
}

TEST(Fields, ALabelShowsARecordNumberOrNone)
{
    QWidget w;
    QLabel *l = forms::label(QStringLiteral("lblNr"), QString(), &w);
    const struct
    {
        const char *text;
        qlonglong nr;
    } cases[] = {
        {"42", 42}, {" 42 ", 42}, {"", 0}, {"4a", 0}, {"12,5", 0}, {"9999999999", 9999999999LL},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        l->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(forms::labelNumber(*l), c.nr);
    }
}

// Whatever changes the number of rows, the count label shows it at once; a change that leaves
// the number as it was (emptying an empty list) leaves the label alone.
TEST(Fields, ACountFollowsItsListAtEveryChangeOfTheRowCount)
{
    QWidget w;
    forms::ListGrid *grid = forms::grid(QStringLiteral("tbl"), &w, {QStringLiteral("Nr."), QStringLiteral("Name")});
    QLabel *anzahl = forms::label(QStringLiteral("lblAnzahl"), QString(), &w);
    QLabel *gefunden = forms::label(QStringLiteral("lblGefDS"), QString(), &w);
    forms::followRowCount(anzahl, grid->top());
    forms::followRowCount(gefunden, grid->top(), forms::NoRows::Nothing);
    EXPECT_EQ(anzahl->text(), QString()); // not set by the call
    forms::GridList &liste = grid->top();
    const struct
    {
        const char *was;
        std::function<void()> tue;
        const char *anzahl;
        const char *gefunden;
    } faelle[] = {
        {"appended",
         [&] {
             liste.addRow(QStringList{"1", "a"});
         },
         "1", "1"},
        {"appended again",
         [&] {
             liste.addRow(QStringList{"2", "b"});
         },
         "2", "2"},
        {"inserted",
         [&] {
             liste.insertRow(0, QVariantList{0, "z"});
         },
         "3", "3"},
        {"a cell changed", [&] { liste.setText(0, 1, "y"); }, "3", "3"},
        {"removed", [&] { liste.removeRow(1); }, "2", "2"},
        {"emptied", [&] { liste.clear(); }, "0", ""},
        {"label cleared by its window, empty list emptied again",
         [&] {
             anzahl->clear();
             liste.clear();
         },
         "", ""},
        {"appended after",
         [&] {
             liste.addRow(QStringList{"3", "c"});
         },
         "1", "1"},
        {"set anew at once",
         [&] {
             std::vector<QVariantList> zeilen{{4, "d"}, {5, "e"}, {6, "f"}};
             liste.setRows(std::move(zeilen));
         },
         "3", "3"},
        {"set anew empty", [&] { liste.setRows({}); }, "0", ""},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.was);
        f.tue();
        EXPECT_EQ(anzahl->text(), QString(f.anzahl));
        EXPECT_EQ(gefunden->text(), QString(f.gefunden));
    }
}
