#include "DatePropPages.h"

#include "LzDateEdit.h"

#include "com/activation.h"
#include "com/bstr.h"
#include "com/dispimpl.h"
#include "com/object.h"
#include "com/variant.h"
#include "ole/handles.h"
#include "ole/propframe.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstring>
#include <set>
#include <vector>

namespace lzdate {
namespace {

const QString kHelpFile = QStringLiteral("lzDateEdit.chm");
const QSize kPageSize(380, 190); // 250 x 110 dialog units

LPOLESTR taskString(const QString &s)
{
    const std::u16string w = s.toStdU16String();
    auto *p = static_cast<LPOLESTR>(CoTaskMemAlloc((w.size() + 1) * sizeof(OLECHAR)));
    if (p) {
        std::memcpy(p, w.c_str(), (w.size() + 1) * sizeof(OLECHAR));
    }
    return p;
}

// What every page does: site, objects, its widget, the dirty state and the exchange frame.
class PropertyPage : public com::ComObject<IPropertyPage>
{
public:
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite *site) override
    {
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL) override
    {
        QWidget *holder = ole::widgetFromHandle(parent);
        if (!holder)
            return E_INVALIDARG;
        delete widget_.data();
        widget_ = new QWidget(holder);
        widget_->setObjectName(objectName());
        build(widget_);
        if (rect)
            widget_->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
        else
            widget_->resize(kPageSize);
        ole::fitPropertyPage(widget_);
        load();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override
    {
        delete widget_.data();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO *info) override
    {
        if (!info)
            return E_POINTER;
        info->cb = sizeof(PROPPAGEINFO);
        info->pszTitle = taskString(title());
        info->size = {kPageSize.width(), kPageSize.height()};
        info->pszDocString = helpCaption().isEmpty() ? nullptr : taskString(helpCaption());
        info->pszHelpFile = helpCaption().isEmpty() ? nullptr : taskString(kHelpFile);
        info->dwHelpContext = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown **objects) override
    {
        if (count && !objects)
            return E_POINTER;
        objects_.clear();
        for (ULONG i = 0; i < count; ++i) {
            com::ComPtr<IDispatch> d;
            if (objects[i] && SUCCEEDED(objects[i]->QueryInterface(IID_IDispatch, d.putVoid())) && d)
                objects_.push_back(d);
        }
        if (widget_)
            load();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Show(UINT cmd) override
    {
        if (!widget_)
            return E_UNEXPECTED;
        widget_->setVisible(cmd != SW_HIDE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override
    {
        if (!rect)
            return E_POINTER;
        if (widget_)
            widget_->setGeometry(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsPageDirty() override { return changed_.empty() ? S_FALSE : S_OK; }
    HRESULT STDMETHODCALLTYPE Apply() override
    {
        if (!widget_)
            return S_OK;
        for (const com::ComPtr<IDispatch> &o : objects_)
            save(o.get());
        changed_.clear();
        if (site_)
            site_->OnStatusChange(PROPPAGESTATUS_CLEAN);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *) override { return S_FALSE; }

protected:
    virtual QString objectName() const = 0;
    virtual QString title() const = 0;
    virtual QString helpCaption() const = 0;
    virtual void build(QWidget *page) = 0;
    // Reads the first object's properties into the controls.
    virtual void loadFrom(IDispatch *object) = 0;
    // Writes the properties whose controls changed, in the page's exchange order.
    virtual void save(IDispatch *object) = 0;

    void load()
    {
        loading_ = true;
        if (!objects_.empty())
            loadFrom(objects_.front().get());
        loading_ = false;
        changed_.clear();
    }
    // A control of the page changed: its property is written at the next Apply.
    void changed(const QString &property)
    {
        if (loading_)
            return;
        changed_.insert(property);
        if (site_)
            site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
    }
    bool isChanged(const QString &property) const { return changed_.count(property) != 0; }

    static LONG readInt(IDispatch *o, const QString &name, LONG def)
    {
        com::Variant v;
        return SUCCEEDED(com::dispGet(o, name, &v)) ? com::variantToInt(v, def) : def;
    }
    static QString readString(IDispatch *o, const QString &name)
    {
        com::Variant v;
        return SUCCEEDED(com::dispGet(o, name, &v)) ? com::variantToString(v) : QString();
    }
    static void write(IDispatch *o, const QString &name, const VARIANT &v) { com::dispPut(o, name, v); }

    // Drop-down lists whose index is the property's value; -1 (nothing chosen) until loaded.
    QComboBox *list(QWidget *page, int id, const QString &property, const QStringList &texts)
    {
        auto *c = new QComboBox(page);
        c->setObjectName(QStringLiteral("id%1").arg(id));
        c->addItems(texts);
        c->setCurrentIndex(-1);
        QObject::connect(c, &QComboBox::currentIndexChanged, c, [this, property] { changed(property); });
        return c;
    }
    QCheckBox *check(QWidget *page, int id, const QString &text, const QString &property)
    {
        auto *c = new QCheckBox(text, page);
        c->setObjectName(QStringLiteral("id%1").arg(id));
        QObject::connect(c, &QCheckBox::toggled, c, [this, property] { changed(property); });
        return c;
    }
    static QLabel *label(QWidget *page, const QString &text, QWidget *buddy)
    {
        auto *l = new QLabel(text, page);
        l->setBuddy(buddy);
        return l;
    }
    static void loadList(QComboBox *c, LONG value)
    {
        c->setCurrentIndex(value >= 0 && value < c->count() ? int(value) : -1);
    }
    void saveList(IDispatch *o, QComboBox *c, const QString &property)
    {
        if (isChanged(property) && c->currentIndex() >= 0)
            write(o, property, com::Variant::i2(SHORT(c->currentIndex())));
    }
    void saveCheck(IDispatch *o, QCheckBox *c, const QString &property)
    {
        if (isChanged(property))
            write(o, property, com::Variant::boolean(c->isChecked()));
    }

    QPointer<QWidget> widget_;

private:
    com::ComPtr<IPropertyPageSite> site_;
    std::vector<com::ComPtr<IDispatch>> objects_;
    std::set<QString> changed_;
    bool loading_ = false;
};

// ---------------------------------------------------------------- Styles

class CDate0PPage final : public PropertyPage
{
protected:
    QString objectName() const override { return QStringLiteral("LzDatePPage"); }
    QString title() const override { return QStringLiteral("Styles"); }
    QString helpCaption() const override { return QStringLiteral("DateEdit Styles Property Page"); }

    void build(QWidget *page) override
    {
        auto *grid = new QGridLayout(page);
        display_ = list(page, 201, QStringLiteral("DisplayFormat"),
                        {"0 - Normal", "1 - Formatted", "2 - Odometer", "3 - Odometer Light", "4 - Odometer Inverted",
                         "5 - LED", "6 - LED Bold"});
        border_ = list(page, 202, QStringLiteral("Border"), {"0 - No Border", "1 - Flat", "2 - 3D Border"});
        mode_ = list(page, 216, QStringLiteral("EditMode"), {"0 - Overwrite", "1 - Insert"});
        align_ = list(page, 203, QStringLiteral("Alignment"),
                      {"0 - Left Justified", "1 - Center Justified", "2 - Right Justified"});
        selection_ = list(page, 221, QStringLiteral("SelectionPersistance"),
                          {"0 - No Selection On Focus", "1 - Restore Old Selection", "2 - Select Whole Text"});
        toggles_ = check(page, 217, QStringLiteral("Insert &Key toggles Mode"), QStringLiteral("EditModeChange"));
        enabled_ = check(page, 213, QStringLiteral("&Enabled"), QStringLiteral("Enabled"));
        freeForm_ = check(page, 222, QStringLiteral("Free Form Entry"), QStringLiteral("FreeFormEntry"));
        grid->addWidget(label(page, QStringLiteral("&Display Format"), display_), 0, 0);
        grid->addWidget(display_, 0, 1);
        grid->addWidget(label(page, QStringLiteral("&Border Style"), border_), 1, 0);
        grid->addWidget(border_, 1, 1);
        grid->addWidget(label(page, QStringLiteral("Edit &Mode"), mode_), 2, 0);
        grid->addWidget(mode_, 2, 1);
        grid->addWidget(label(page, QStringLiteral("Text &Alignment"), align_), 3, 0);
        grid->addWidget(align_, 3, 1);
        grid->addWidget(label(page, QStringLiteral("&Selection Persistance"), selection_), 4, 0);
        grid->addWidget(selection_, 4, 1);
        grid->addWidget(toggles_, 0, 2);
        grid->addWidget(enabled_, 1, 2);
        grid->addWidget(freeForm_, 2, 2);
    }
    void loadFrom(IDispatch *o) override
    {
        loadList(align_, readInt(o, QStringLiteral("Alignment"), -1));
        loadList(display_, readInt(o, QStringLiteral("DisplayFormat"), -1));
        enabled_->setChecked(readInt(o, QStringLiteral("Enabled"), 0) != 0);
        loadList(border_, readInt(o, QStringLiteral("Border"), -1));
        loadList(mode_, readInt(o, QStringLiteral("EditMode"), -1));
        toggles_->setChecked(readInt(o, QStringLiteral("EditModeChange"), 0) != 0);
        loadList(selection_, readInt(o, QStringLiteral("SelectionPersistance"), -1));
        freeForm_->setChecked(readInt(o, QStringLiteral("FreeFormEntry"), 0) != 0);
    }
    void save(IDispatch *o) override
    {
        saveList(o, align_, QStringLiteral("Alignment"));
        saveList(o, display_, QStringLiteral("DisplayFormat"));
        saveCheck(o, enabled_, QStringLiteral("Enabled"));
        saveList(o, border_, QStringLiteral("Border"));
        saveList(o, mode_, QStringLiteral("EditMode"));
        saveCheck(o, toggles_, QStringLiteral("EditModeChange"));
        saveList(o, selection_, QStringLiteral("SelectionPersistance"));
        saveCheck(o, freeForm_, QStringLiteral("FreeFormEntry"));
    }

private:
    QComboBox *display_ = nullptr, *border_ = nullptr, *mode_ = nullptr, *align_ = nullptr, *selection_ = nullptr;
    QCheckBox *toggles_ = nullptr, *enabled_ = nullptr, *freeForm_ = nullptr;
};

// ---------------------------------------------------------------- Format

class CFormatPPage final : public PropertyPage
{
protected:
    QString objectName() const override { return QStringLiteral("CFormatPPage"); }
    QString title() const override { return QStringLiteral("Format"); }
    QString helpCaption() const override { return QStringLiteral("DateEdit Styles Property Page"); }

    void build(QWidget *page) override
    {
        auto *grid = new QGridLayout(page);
        format_ = list(page, 210, QStringLiteral("DateFormat"),
                       {"0 - Default Short Date",
                        "1 - Default Long Date (read only)",
                        "2 - m/d",
                        "3 - mm/dd",
                        "4 - d/m",
                        "5 - dd/mm",
                        "6 - m/d/yy",
                        "7 - mm/dd/yy",
                        "8 - d/m/yy",
                        "9 - dd/mm/yy",
                        "10 - m/d/yyyy",
                        "11 - mm/dd/yyyy",
                        "12 - d/m/yyyy",
                        "13 - dd/mm/yyyy",
                        "14 - mmmm d, yyyy (read only)",
                        "15 - mmmm dd, yyyy (read only)",
                        "16 - d mmmm, yyyy (read only)",
                        "17 - dd mmmm, yyyy (read only)",
                        "18 - dow, mmmm d, yyyy (read only)",
                        "19 - dow, mmmm dd, yyyy (read only)",
                        "20 - dow, d mmmm, yyyy (read only)",
                        "21 - dow, dd mmmm, yyyy (read only)",
                        "22 - yy/m/d",
                        "23 - yy/mm/dd",
                        "24 - yy/d/m",
                        "25 - yy/dd/mm",
                        "26 - yyyy/m/d",
                        "27 - yyyy/mm/dd",
                        "28 - yyyy/d/m",
                        "29 - yyyy/dd/mm"});
        separator_ = new QLineEdit(page);
        separator_->setObjectName(QStringLiteral("id207"));
        separator_->setMaxLength(2); // the page's length check
        QObject::connect(separator_, &QLineEdit::textEdited, separator_,
                         [this] { changed(QStringLiteral("Separator")); });
        useDefault_ = check(page, 209, QStringLiteral("Use &Default Separator"), QStringLiteral("SeparatorDefault"));
        initial_ =
            list(page, 211, QStringLiteral("ValueReset"), {"0 - Current date", "1 - Custom date", "2 - NULL date"});
        time_ = check(page, 212, QStringLiteral("Store &Time in date Value (time is not displayed)"),
                      QStringLiteral("TimeStore"));
        grid->addWidget(label(page, QStringLiteral("Date &Format"), format_), 0, 0);
        grid->addWidget(format_, 0, 1, 1, 5);
        grid->addWidget(label(page, QStringLiteral("&Separator:"), separator_), 1, 0);
        grid->addWidget(separator_, 1, 1);
        int column = 2;
        for (const char *allowed : {"/", "\\", "-", "."})
            grid->addWidget(new QLabel(QString::fromLatin1(allowed), page), 1, column++);
        grid->addWidget(useDefault_, 2, 0, 1, 6);
        grid->addWidget(label(page, QStringLiteral("&Initial date Value on creation of control"), initial_), 3, 0, 1,
                        6);
        grid->addWidget(initial_, 4, 0, 1, 6);
        grid->addWidget(time_, 5, 0, 1, 6);
    }
    void loadFrom(IDispatch *o) override
    {
        separator_->setText(readString(o, QStringLiteral("Separator")).left(2));
        useDefault_->setChecked(readInt(o, QStringLiteral("SeparatorDefault"), 0) != 0);
        loadList(format_, readInt(o, QStringLiteral("DateFormat"), -1));
        time_->setChecked(readInt(o, QStringLiteral("TimeStore"), 0) != 0);
        loadList(initial_, readInt(o, QStringLiteral("ValueReset"), -1));
    }
    void save(IDispatch *o) override
    {
        if (isChanged(QStringLiteral("Separator")))
            write(o, QStringLiteral("Separator"), com::Variant::string(separator_->text().left(2)));
        saveCheck(o, useDefault_, QStringLiteral("SeparatorDefault"));
        saveList(o, format_, QStringLiteral("DateFormat"));
        saveCheck(o, time_, QStringLiteral("TimeStore"));
        saveList(o, initial_, QStringLiteral("ValueReset"));
    }

private:
    QComboBox *format_ = nullptr, *initial_ = nullptr;
    QLineEdit *separator_ = nullptr;
    QCheckBox *useDefault_ = nullptr, *time_ = nullptr;
};

// ---------------------------------------------------------------- Calendar

class CCalendarFormatPropPage final : public PropertyPage
{
protected:
    QString objectName() const override { return QStringLiteral("CCalendarFormatPropPage"); }
    QString title() const override { return QStringLiteral("Calendar"); }
    QString helpCaption() const override { return QStringLiteral("DateEdit Calendar Property Page"); }

    void build(QWidget *page) override
    {
        auto *v = new QVBoxLayout(page);
        auto *kinds = new QGroupBox(QStringLiteral("Use Drop-Down Calendar"), page);
        auto *kl = new QVBoxLayout(kinds);
        auto *months = new QGroupBox(QStringLiteral("Calendar Format"), page);
        auto *ml = new QVBoxLayout(months);
        kind_ = new QButtonGroup(page);
        months_ = new QButtonGroup(page);
        const std::pair<int, const char *> kindButtons[] = {
            {234, "&No Drop-Down Calendar"}, {235, "Use &Orvex Calendar"}, {236, "Use &Corvane Calendar"}};
        int n = 0;
        for (const auto &[id, text] : kindButtons) {
            auto *b = new QRadioButton(QString::fromUtf8(text), kinds);
            b->setObjectName(QStringLiteral("id%1").arg(id));
            kind_->addButton(b, n++);
            kl->addWidget(b);
        }
        const std::pair<int, const char *> monthButtons[] = {
            {231, "&One Month"}, {232, "&Three Months"}, {233, "Si&x Months"}};
        n = 0;
        for (const auto &[id, text] : monthButtons) {
            auto *b = new QRadioButton(QString::fromUtf8(text), months);
            b->setObjectName(QStringLiteral("id%1").arg(id));
            months_->addButton(b, n++);
            ml->addWidget(b);
        }
        auto *row = new QHBoxLayout;
        row->addWidget(kinds);
        row->addWidget(months);
        v->addLayout(row);
        v->addWidget(
            new QLabel(QStringLiteral("Note:  Orvex Calendar is available if lzCalCtl.ocx is registered."), page));
        v->addWidget(
            new QLabel(QStringLiteral("Corvane Calendar is available if lzCalendar.ocx is registered."), page));
        value_ = new QLineEdit(page);
        value_->setObjectName(QStringLiteral("id218"));
        value_->setVisible(false);
        QObject::connect(kind_, &QButtonGroup::idClicked, page, [this] { buttonsClicked(); });
        QObject::connect(months_, &QButtonGroup::idClicked, page, [this] { buttonsClicked(); });
    }
    void loadFrom(IDispatch *o) override
    {
        const LONG value = readInt(o, QStringLiteral("CalendarFormat"), -1);
        value_->setText(QString::number(value));
        int kind = -1, months = -1;
        if (value >= 1 && value <= 3) {
            kind = 1;
            months = int(value) - 1;
        } else if (value >= 4 && value <= 6) {
            kind = 2;
            months = int(value) - 4;
        } else if (value == 0) {
            kind = 0;
            months = 0;
        }
        choose(kind_, kind);
        choose(months_, months);
    }
    void save(IDispatch *o) override
    {
        if (isChanged(QStringLiteral("CalendarFormat")))
            write(o, QStringLiteral("CalendarFormat"), com::Variant::i2(SHORT(value_->text().toInt())));
    }

private:
    // Sets one button of a group, or none for -1.
    static void choose(QButtonGroup *group, int id)
    {
        group->setExclusive(false);
        for (QAbstractButton *b : group->buttons())
            b->setChecked(group->id(b) == id);
        group->setExclusive(true);
    }
    void buttonsClicked()
    {
        const int months = std::max(months_->checkedId(), 0);
        int value = 0;
        if (kind_->checkedId() == 1)
            value = 1 + months;
        else if (kind_->checkedId() == 2)
            value = 4 + months;
        value_->setText(QString::number(value));
        changed(QStringLiteral("CalendarFormat"));
    }

    QButtonGroup *kind_ = nullptr;
    QButtonGroup *months_ = nullptr;
    QLineEdit *value_ = nullptr;
};

// ---------------------------------------------------------------- Info

class CInfoPage final : public PropertyPage
{
protected:
    QString objectName() const override { return QStringLiteral("CInfoPage"); }
    QString title() const override { return QStringLiteral("Info"); }
    QString helpCaption() const override { return QString(); }

    void build(QWidget *page) override
    {
        auto *v = new QVBoxLayout(page);
        auto *text = new QLabel(QStringLiteral("Larkspire Date Edit Control\nVersion 8.0.0.0\n\n"
                                               "A field for entering one date, with several display styles "
                                               "and a drop-down calendar."),
                                page);
        text->setWordWrap(true);
        v->addWidget(text);
        v->addStretch(1);
    }
    void loadFrom(IDispatch *) override {}
    void save(IDispatch *) override {}
};

} // namespace

HRESULT createStylesPage(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<CDate0PPage>(outer, riid, ppv);
}

HRESULT createFormatPage(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<CFormatPPage>(outer, riid, ppv);
}

HRESULT createCalendarPage(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<CCalendarFormatPropPage>(outer, riid, ppv);
}

HRESULT createInfoPage(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<CInfoPage>(outer, riid, ppv);
}

void showAboutBox(QWidget *parent)
{
    QDialog box(parent);
    box.setObjectName(QStringLiteral("LzDateAboutBox"));
    box.setWindowTitle(QStringLiteral("About Larkspire Date Edit Control"));
    auto *v = new QVBoxLayout(&box);
    v->addWidget(new QLabel(QStringLiteral("Larkspire Date Edit Control"), &box));
    auto *version = new QLabel(QStringLiteral("%1 8.0.0.0").arg(QStringLiteral("Version")), &box);
    version->setObjectName(QStringLiteral("id239"));
    v->addWidget(version);
    v->addWidget(new QLabel(QStringLiteral("All rights to this control are reserved by its maker."), &box));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    v->addWidget(buttons);
    box.adjustSize();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        box.move(screen->geometry().center() - QPoint(box.width() / 2, box.height() / 2));
    box.exec();
}

} // namespace lzdate
