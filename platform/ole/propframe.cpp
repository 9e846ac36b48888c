#include "ole/propframe.h"
#include "com/activation.h"
#include "com/object.h"
#include "ole/handles.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <functional>
#include <vector>

namespace {

class PageSite final : public com::ComObject<IPropertyPageSite>
{
public:
    explicit PageSite(std::function<void(DWORD)> status)
        : ComObject(com::ModuleCount::NotCounted), status_(std::move(status))
    {}
    HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override
    {
        if (status_)
            status_(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLocaleID(LCID *p) override
    {
        if (!p)
            return E_POINTER;
        *p = LOCALE_GERMAN;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown **pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *) override { return S_FALSE; }
    void detach() { status_ = nullptr; }

private:
    std::function<void(DWORD)> status_;
};

void freePageInfo(PROPPAGEINFO &info)
{
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
}

} // namespace

HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT, UINT, LPCOLESTR lpszCaption, ULONG cObjects, IUnknown **ppUnk,
                               ULONG cPages, const CLSID *pPageClsID, LCID, DWORD, LPVOID)
{
    if (!cObjects || !ppUnk || !cPages || !pPageClsID)
        return E_INVALIDARG;
    QDialog dialog(ole::widgetFromHandle(hwndOwner));
    dialog.setWindowTitle(com::fromWide(lpszCaption));
    auto *tabs = new QTabWidget(&dialog);
    auto *buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    buttons->button(QDialogButtonBox::Apply)->setText(QStringLiteral("Übernehmen"));
    buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    com::ComPtr<PageSite> site(new PageSite([&](DWORD flags) {
        if (flags & PROPPAGESTATUS_DIRTY)
            buttons->button(QDialogButtonBox::Apply)->setEnabled(true);
    }));
    std::vector<com::ComPtr<IPropertyPage>> pages;
    for (ULONG i = 0; i < cPages; ++i) {
        com::ComPtr<IPropertyPage> page;
        if (FAILED(CoCreateInstance(pPageClsID[i], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.putVoid())) ||
            !page)
            continue;
        if (FAILED(page->SetPageSite(site.get())) || FAILED(page->SetObjects(cObjects, ppUnk)))
            continue;
        PROPPAGEINFO info{};
        info.cb = sizeof info;
        QString title = QStringLiteral("Seite %1").arg(i + 1);
        QSize size(300, 200);
        if (SUCCEEDED(page->GetPageInfo(&info))) {
            if (info.pszTitle)
                title = com::fromWide(info.pszTitle);
            if (info.size.cx > 0 && info.size.cy > 0)
                size = QSize(info.size.cx, info.size.cy);
            freePageInfo(info);
        }
        auto *holder = new QWidget;
        holder->setMinimumSize(size);
        tabs->addTab(holder, title);
        RECT rc{0, 0, size.width(), size.height()};
        if (FAILED(page->Activate(ole::handleFromWidget(holder), &rc, TRUE))) {
            page->SetObjects(0, nullptr);
            page->SetPageSite(nullptr);
            tabs->removeTab(tabs->indexOf(holder));
            delete holder;
            continue;
        }
        page->Show(SW_SHOW);
        pages.push_back(page);
    }
    auto apply = [&] {
        for (auto &p : pages)
            if (p->IsPageDirty() == S_OK)
                p->Apply();
        buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
    };
    QObject::connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, &dialog, apply);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        apply();
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (!pages.empty())
        dialog.exec();
    for (auto &p : pages) {
        p->Deactivate();
        p->SetObjects(0, nullptr);
        p->SetPageSite(nullptr);
    }
    site->detach();
    return S_OK;
}

namespace ole {

void fitPropertyPage(QWidget *page)
{
    if (!page)
        return;
    const QSize need = page->sizeHint().expandedTo(page->size());
    page->resize(need);
    if (QWidget *holder = page->parentWidget())
        holder->setMinimumSize(
            holder->minimumSize().expandedTo(QSize(page->x() + need.width(), page->y() + need.height())));
}

} // namespace ole
