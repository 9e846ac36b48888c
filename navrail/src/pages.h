#pragma once
// The two property pages of the control: GeneralPropPage (look and feel) and MenuProp (popup-menu
// options). Each is a COM class of the library that a property frame creates by CLSID; it edits
// the objects it is given only through ILzNavrailBar.
#include "common.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <map>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace navrail {

class PropertyPage : public com::ComObject<IPropertyPage>
{
public:
    // IPropertyPage
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite *pPageSite) override;
    HRESULT STDMETHODCALLTYPE Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO *pPageInfo) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG cObjects, IUnknown **ppUnk) override;
    HRESULT STDMETHODCALLTYPE Show(UINT nCmdShow) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT pRect) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR pszHelpDir) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *pMsg) override;

protected:
    struct PageInfo
    {
        const char16_t *title;
        const char16_t *helpFile;
        const char16_t *docString;
        int widthDlu, heightDlu; // size of the page's dialog in dialog units
    };
    virtual PageInfo pageInfo() const = 0;
    // Builds the page's controls in the (empty) dialog widget.
    virtual void buildControls(QWidget *dialog) = 0;
    // Fills the controls from the objects (the initialising flag is set meanwhile).
    virtual void fill() = 0;
    // Writes the controls' values into one object; each failing setter goes to report.
    virtual void applyTo(ILzNavrailBar *bar) = 0;

    // The objects edited, queried for the control's interface (foreign objects are skipped).
    std::vector<ComPtr<ILzNavrailBar>> bars() const;
    // A change by the user (ignored while filling) marks the page dirty.
    void changed();
    void setDirty(bool dirty);
    // Shows the setter's error (the description of the current error object) over the page.
    void report(HRESULT hr);
    QWidget *dialog() const { return dialog_; }
    bool initialising() const { return initialising_; }

private:
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IUnknown>> objects_;
    QPointer<QWidget> dialog_;
    QSize size_;
    bool dirty_ = false;
    bool initialising_ = false;
};

class GeneralPropPage final : public PropertyPage
{
public:
    enum ControlId {
        chkSoundEffects = 201,
        cboAppearance = 202,
        txtBorderWidth = 203,
        chkSplitterWindow = 204,
        txtSplitterWidth = 205
    };

protected:
    PageInfo pageInfo() const override;
    void buildControls(QWidget *dialog) override;
    void fill() override;
    void applyTo(ILzNavrailBar *bar) override;

private:
    QPointer<QComboBox> appearance_;
    QPointer<QLineEdit> borderWidth_, splitterWidth_;
    QPointer<QCheckBox> splitterWindow_, soundEffects_;
};

class MenuPropPage final : public PropertyPage
{
public:
    enum ControlId {
        chkGroupPopupMenu = 206,
        chkAddGroups = 207,
        chkRemoveGroups = 208,
        chkEditGroupLabels = 209,
        chkHideNavrailBar = 210,
        chkAddItems = 211,
        chkItemPopupMenu = 220,
        chkOpenItem = 221,
        chkRemoveItems = 222,
        chkEditItemLabels = 223,
        chkProperties = 224,
        chkSetIconSizes = 227
    };

protected:
    PageInfo pageInfo() const override;
    void buildControls(QWidget *dialog) override;
    void fill() override;
    void applyTo(ILzNavrailBar *bar) override;

private:
    // The boxes a head box enables and disables.
    void enableGroup(int headId, bool on);
    QCheckBox *box(int id) const;
    std::map<int, QPointer<QCheckBox>> boxes_;
};

} // namespace navrail
