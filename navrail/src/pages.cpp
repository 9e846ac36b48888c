#include "pages.h"

#include "classes.h"
#include "ole/handles.h"
#include "ole/propframe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include <cstring>
#include <span>

namespace navrail {

namespace {

// Dialog units of the pages' font to pixels (four horizontal and eight vertical units to its
// average character width and height).
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
QSize dialogUnitsToPixels(int w, int h)
{
    return QSize((w * kBaseUnitX + 2) / 4, (h * kBaseUnitY + 4) / 8);
}

LPOLESTR taskString(const char16_t *s)
{
    const std::size_t bytes = (std::char_traits<char16_t>::length(s) + 1) * sizeof(char16_t);
    auto *copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (copy)
        std::memcpy(copy, s, bytes);
    return copy;
}

QString idName(int id)
{
    return QString::number(id);
}

} // namespace

// ==== PropertyPage ================================================================================

HRESULT PropertyPage::SetPageSite(IPropertyPageSite *pPageSite)
{
    if (!pPageSite) {
        site_.reset();
        return S_OK;
    }
    if (site_)
        return E_UNEXPECTED;
    site_ = pPageSite;
    return S_OK;
}

HRESULT PropertyPage::Activate(HWND hWndParent, LPCRECT pRect, BOOL)
{
    if (dialog_)
        return E_UNEXPECTED;
    QWidget *parent = ole::widgetFromHandle(ole::Handle(hWndParent));
    if (!parent)
        return E_INVALIDARG;
    auto *dialog = new QWidget(parent);
    dialog->setObjectName(QStringLiteral("propertyPage"));
    dialog->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    dialog_ = dialog;
    if (pRect) {
        size_ = QSize(pRect->right - pRect->left, pRect->bottom - pRect->top);
        dialog->setGeometry(pRect->left, pRect->top, size_.width(), size_.height());
    }
    buildControls(dialog);
    ole::fitPropertyPage(dialog);
    initialising_ = true;
    fill();
    initialising_ = false;
    return S_OK;
}

HRESULT PropertyPage::Deactivate()
{
    delete dialog_.data();
    dialog_ = nullptr;
    return S_OK;
}

HRESULT PropertyPage::GetPageInfo(PROPPAGEINFO *pPageInfo)
{
    if (!pPageInfo)
        return E_POINTER;
    const PageInfo info = pageInfo();
    const QSize size = dialogUnitsToPixels(info.widthDlu, info.heightDlu);
    pPageInfo->cb = sizeof(PROPPAGEINFO);
    pPageInfo->pszTitle = taskString(info.title);
    pPageInfo->size = SIZE{size.width(), size.height()};
    pPageInfo->pszDocString = taskString(info.docString);
    pPageInfo->pszHelpFile = taskString(info.helpFile);
    pPageInfo->dwHelpContext = 0;
    if (!pPageInfo->pszTitle || !pPageInfo->pszDocString || !pPageInfo->pszHelpFile) {
        CoTaskMemFree(pPageInfo->pszTitle);
        CoTaskMemFree(pPageInfo->pszDocString);
        CoTaskMemFree(pPageInfo->pszHelpFile);
        pPageInfo->pszTitle = pPageInfo->pszDocString = pPageInfo->pszHelpFile = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT PropertyPage::SetObjects(ULONG cObjects, IUnknown **ppUnk)
{
    if (cObjects && !ppUnk)
        return E_POINTER;
    objects_.clear();
    for (ULONG i = 0; i < cObjects; ++i)
        if (ppUnk[i])
            objects_.emplace_back(ppUnk[i]);
    return S_OK;
}

HRESULT PropertyPage::Show(UINT nCmdShow)
{
    if (!dialog_)
        return E_UNEXPECTED;
    dialog_->setVisible(nCmdShow != SW_HIDE);
    return S_OK;
}

HRESULT PropertyPage::Move(LPCRECT pRect)
{
    if (!pRect)
        return E_POINTER;
    if (!dialog_)
        return E_UNEXPECTED;
    dialog_->setGeometry(pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top);
    return S_OK;
}

HRESULT PropertyPage::IsPageDirty()
{
    return dirty_ ? S_OK : S_FALSE;
}

HRESULT PropertyPage::Apply()
{
    if (dialog_) {
        ComPtr<IPropertyPage> keep(this);
        for (const ComPtr<ILzNavrailBar> &bar : bars())
            applyTo(bar.get());
    }
    setDirty(false);
    return S_OK;
}

HRESULT PropertyPage::Help(LPCOLESTR)
{
    // There is no help engine to show the pages' help file.
    return E_NOTIMPL;
}

HRESULT PropertyPage::TranslateAccelerator(MSG *pMsg)
{
    // The page's own widgets handle their keys (mnemonics and focus movement included).
    return pMsg ? S_FALSE : E_POINTER;
}

std::vector<ComPtr<ILzNavrailBar>> PropertyPage::bars() const
{
    std::vector<ComPtr<ILzNavrailBar>> result;
    for (const ComPtr<IUnknown> &o : objects_) {
        ComPtr<ILzNavrailBar> bar;
        if (SUCCEEDED(o->QueryInterface(ILzNavrailBar::iid, bar.putVoid())) && bar)
            result.push_back(bar);
    }
    return result;
}

void PropertyPage::changed()
{
    if (!initialising_)
        setDirty(true);
}

void PropertyPage::setDirty(bool dirty)
{
    if (dirty_ == dirty)
        return;
    dirty_ = dirty;
    if (site_)
        site_->OnStatusChange(dirty ? PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE : 0);
}

void PropertyPage::report(HRESULT hr)
{
    if (SUCCEEDED(hr))
        return;
    QString text = com::currentErrorDescription();
    if (text.isEmpty())
        text = QStringLiteral("0x%1").arg(quint32(hr), 8, 16, QLatin1Char('0'));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok, dialog_);
    box.exec();
}

// ==== GeneralPropPage =============================================================================

PropertyPage::PageInfo GeneralPropPage::pageInfo() const
{
    return {u"General Properties", u"lzoNavrailBar.chm", u"General Control Properties for LzNavrailBar", 271, 123};
}

void GeneralPropPage::buildControls(QWidget *dialog)
{
    auto *outer = new QVBoxLayout(dialog);
    auto *group = new QGroupBox(QStringLiteral("Look And Feel"), dialog);
    outer->addWidget(group);
    auto *grid = new QGridLayout(group);

    appearance_ = new QComboBox(group);
    appearance_->setObjectName(idName(cboAppearance));
    borderWidth_ = new QLineEdit(group);
    borderWidth_->setObjectName(idName(txtBorderWidth));
    splitterWidth_ = new QLineEdit(group);
    splitterWidth_->setObjectName(idName(txtSplitterWidth));
    splitterWindow_ = new QCheckBox(QStringLiteral("&Show in Splitter Window"), group);
    splitterWindow_->setObjectName(idName(chkSplitterWindow));
    soundEffects_ = new QCheckBox(QStringLiteral("Use Sound &Effects"), group);
    soundEffects_->setObjectName(idName(chkSoundEffects));

    const struct
    {
        const char *text;
        QWidget *field;
    } rows[] = {{"&Appearance", appearance_}, {"&Border Width", borderWidth_}, {"&Splitter Width", splitterWidth_}};
    int row = 0;
    for (const auto &r : rows) {
        auto *label = new QLabel(QString::fromLatin1(r.text), group);
        label->setBuddy(r.field);
        grid->addWidget(label, row, 0);
        grid->addWidget(r.field, row, 1);
        ++row;
    }
    grid->addWidget(splitterWindow_, row++, 1);
    grid->addWidget(soundEffects_, row++, 1);
    outer->addStretch();

    QObject::connect(appearance_, &QComboBox::currentIndexChanged, dialog, [this] { changed(); });
    QObject::connect(borderWidth_, &QLineEdit::textChanged, dialog, [this] { changed(); });
    QObject::connect(splitterWidth_, &QLineEdit::textChanged, dialog, [this] { changed(); });
    for (QCheckBox *b : {splitterWindow_.data(), soundEffects_.data()})
        QObject::connect(b, &QCheckBox::clicked, dialog, [this] { changed(); });
}

void GeneralPropPage::fill()
{
    // The list keeps its entries sorted; these are in order already.
    appearance_->addItems({QStringLiteral("0 - Flat"), QStringLiteral("1 - Light 3D"), QStringLiteral("2 - Heavy 3D")});
    appearance_->setCurrentIndex(-1);
    // With several objects the last one's values stand.
    for (const ComPtr<ILzNavrailBar> &bar : bars()) {
        tagApearanceConstants look = lzoFlat;
        SHORT border = 0, splitter = 0;
        VARIANT_BOOL inSplitter = 0, sound = 0;
        bar->get_Appearance(&look);
        bar->get_BorderWidth(&border);
        bar->get_SplitterWidth(&splitter);
        bar->get_SplitterWindow(&inSplitter);
        bar->get_SoundEffects(&sound);
        appearance_->setCurrentIndex(look >= 0 && look < appearance_->count() ? int(look) : -1);
        borderWidth_->setText(QString::number(border));
        splitterWidth_->setText(QString::number(splitter));
        splitterWindow_->setChecked(inSplitter != 0);
        soundEffects_->setChecked(sound != 0);
    }
}

void GeneralPropPage::applyTo(ILzNavrailBar *bar)
{
    // A text that is no whole number gives 0.
    auto number = [](const QLineEdit *edit) {
        bool ok = false;
        const int v = edit->text().trimmed().toInt(&ok);
        return ok ? v : 0;
    };
    report(bar->put_SoundEffects(soundEffects_->isChecked() ? 1 : 0));
    report(bar->put_Appearance(tagApearanceConstants(appearance_->currentIndex())));
    report(bar->put_BorderWidth(SHORT(number(borderWidth_))));
    report(bar->put_SplitterWidth(SHORT(number(splitterWidth_))));
    report(bar->put_SplitterWindow(splitterWindow_->isChecked() ? 1 : 0));
}

// ==== MenuProp ====================================================================================

namespace {
// The five boxes each head box enables; "&Add New Item" sits in the left frame but goes with the
// item menu.
const int kLeftGroup[] = {MenuPropPage::chkSetIconSizes, MenuPropPage::chkAddGroups, MenuPropPage::chkRemoveGroups,
                          MenuPropPage::chkEditGroupLabels, MenuPropPage::chkHideNavrailBar};
const int kRightGroup[] = {MenuPropPage::chkOpenItem, MenuPropPage::chkAddItems, MenuPropPage::chkRemoveItems,
                           MenuPropPage::chkEditItemLabels, MenuPropPage::chkProperties};
} // namespace

PropertyPage::PageInfo MenuPropPage::pageInfo() const
{
    return {u"Popup Menu Options", u"lzoNavrailBar.chm", u"Your Help String", 257, 105};
}

QCheckBox *MenuPropPage::box(int id) const
{
    const auto it = boxes_.find(id);
    return it == boxes_.end() ? nullptr : it->second.data();
}

void MenuPropPage::buildControls(QWidget *dialog)
{
    boxes_.clear();
    auto *outer = new QHBoxLayout(dialog);
    const struct
    {
        int id;
        const char *text;
    } left[] = {{chkGroupPopupMenu, "Pane Popup Menu"}, {chkSetIconSizes, "&Set Icon Sizes"},
                {chkAddGroups, "&Add New Group"},       {chkAddItems, "&Add New Item"},
                {chkRemoveGroups, "&Remove Group"},     {chkEditGroupLabels, "&Rename Group"},
                {chkHideNavrailBar, "&Hide NavrailBar"}};
    const struct
    {
        int id;
        const char *text;
    } right[] = {{chkItemPopupMenu, "Item Popup Menu"},
                 {chkOpenItem, "&Open Folder"},
                 {chkRemoveItems, "&Remove Shortcut"},
                 {chkEditItemLabels, "&Rename Shortcut"},
                 {chkProperties, "&Properties"}};
    auto frame = [&](const auto &entries) {
        auto *group = new QGroupBox(dialog);
        auto *column = new QVBoxLayout(group);
        for (const auto &e : entries) {
            auto *b = new QCheckBox(QString::fromLatin1(e.text), group);
            b->setObjectName(idName(e.id));
            column->addWidget(b);
            boxes_[e.id] = b;
            const int id = e.id;
            QObject::connect(b, &QCheckBox::clicked, dialog, [this, id](bool checked) {
                if (initialising())
                    return;
                if (id == chkGroupPopupMenu || id == chkItemPopupMenu)
                    enableGroup(id, checked);
                changed();
            });
        }
        column->addStretch();
        outer->addWidget(group);
    };
    frame(left);
    frame(right);
}

void MenuPropPage::enableGroup(int headId, bool on)
{
    for (int id : headId == chkGroupPopupMenu ? std::span<const int>(kLeftGroup) : std::span<const int>(kRightGroup))
        if (QCheckBox *b = box(id))
            b->setEnabled(on);
}

void MenuPropPage::fill()
{
    const struct
    {
        int id;
        HRESULT (STDMETHODCALLTYPE ILzNavrailBar::*get)(VARIANT_BOOL *);
    } flags[] = {
        {chkSetIconSizes, &ILzNavrailBar::get_EnableSetIconSizes},
        {chkAddGroups, &ILzNavrailBar::get_EnableAddGroups},
        {chkRemoveGroups, &ILzNavrailBar::get_EnableRemoveGroups},
        {chkEditGroupLabels, &ILzNavrailBar::get_EnableEditGroupLabels},
        {chkHideNavrailBar, &ILzNavrailBar::get_EnableHideNavrailBar},
        {chkOpenItem, &ILzNavrailBar::get_EnableOpenItem},
        {chkAddItems, &ILzNavrailBar::get_EnableAddItems},
        {chkRemoveItems, &ILzNavrailBar::get_EnableRemoveItems},
        {chkEditItemLabels, &ILzNavrailBar::get_EnableEditItemLabels},
        {chkProperties, &ILzNavrailBar::get_EnableProperties},
    };
    for (const ComPtr<ILzNavrailBar> &bar : bars()) {
        VARIANT_BOOL paneMenu = 0, itemMenu = 0;
        bar->get_EnableGroupPopupMenu(&paneMenu);
        bar->get_EnableItemPopupMenu(&itemMenu);
        box(chkGroupPopupMenu)->setChecked(paneMenu != 0);
        if (!paneMenu)
            enableGroup(chkGroupPopupMenu, false);
        box(chkItemPopupMenu)->setChecked(itemMenu != 0);
        if (!itemMenu)
            enableGroup(chkItemPopupMenu, false);
        for (const auto &f : flags) {
            VARIANT_BOOL v = 0;
            (bar.get()->*f.get)(&v);
            box(f.id)->setChecked(v != 0);
        }
    }
}

void MenuPropPage::applyTo(ILzNavrailBar *bar)
{
    auto state = [this](int id) -> VARIANT_BOOL { return box(id)->isChecked() ? 1 : 0; };
    // Every box is written, enabled or not.
    report(bar->put_EnableGroupPopupMenu(state(chkGroupPopupMenu)));
    report(bar->put_EnableSetIconSizes(state(chkSetIconSizes)));
    report(bar->put_EnableAddGroups(state(chkAddGroups)));
    report(bar->put_EnableRemoveGroups(state(chkRemoveGroups)));
    report(bar->put_EnableEditGroupLabels(state(chkEditGroupLabels)));
    report(bar->put_EnableHideNavrailBar(state(chkHideNavrailBar)));
    report(bar->put_EnableItemPopupMenu(state(chkItemPopupMenu)));
    report(bar->put_EnableOpenItem(state(chkOpenItem)));
    report(bar->put_EnableAddItems(state(chkAddItems)));
    report(bar->put_EnableRemoveItems(state(chkRemoveItems)));
    report(bar->put_EnableEditItemLabels(state(chkEditItemLabels)));
    report(bar->put_EnableProperties(state(chkProperties)));
}

// ==== class objects ===============================================================================

HRESULT createGeneralPropPage(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<GeneralPropPage>(outer, riid, ppv);
}

HRESULT createMenuPropPage(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<MenuPropPage>(outer, riid, ppv);
}

} // namespace navrail
