#pragma once
// The tab strip of a tab collection, shown in the results pane while an item with these tabs is
// displayed. Made on first showing; every operation does nothing while the strip has no widget.
#include "../common.h"

#include <QPointer>
#include <QTabBar>

namespace navrail {

class TabStrip
{
public:
    // The strip's control id inside the results pane.
    static constexpr int kControlId = 310;

    TabStrip() = default;
    ~TabStrip() { destroy(); }
    TabStrip(const TabStrip &) = delete;
    TabStrip &operator=(const TabStrip &) = delete;

    bool create(QWidget *parent, LONG style);
    void destroy();
    QTabBar *window() const { return bar_; }
    bool exists() const { return !bar_.isNull(); }
    LONG style() const { return style_; }
    void show(bool on);
    void setImageList(LONG handle) { imageList_ = handle; }
    void setFont(HFONT font) { font_ = font; }
    void insertTab(int position, const QString &text, LONG image);
    void deleteTab(int position);
    int selection() const;
    void select(int position);
    // Destroys the widget and makes it again with the new style, keeping image list, font and
    // selection (the tabs are inserted again by the collection).
    void rebuild(LONG style);

private:
    QPointer<QTabBar> bar_;
    QPointer<QWidget> parent_;
    LONG style_ = 0;
    LONG imageList_ = 0;
    HFONT font_ = 0;
};

} // namespace navrail
