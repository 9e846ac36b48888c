#pragma once
// The tab strip of a tab collection, shown in the results pane while an item with these tabs is
// displayed. Made on first showing; every operation does nothing while the strip has no widget.
//
// Selection changes made through this class (select, insert, delete, rebuild) raise no
// notifications; a change made by the user is offered to the changing handler first (which may
// refuse it: the old tab is selected again) and then reported to the changed handler.
#include "../common.h"

#include <QFont>
#include <QPointer>
#include <QTabBar>

#include <functional>
#include <memory>

namespace navrail {

class TabStrip
{
public:
    // The strip's control id inside the results pane.
    static constexpr int kControlId = 310;
    // Added to the tabs' extent to give the strip's thickness.
    static constexpr int kThicknessExtra = 7;

    TabStrip() = default;
    ~TabStrip();
    TabStrip(const TabStrip &) = delete;
    TabStrip &operator=(const TabStrip &) = delete;

    bool create(QWidget *parent, LONG style);
    void destroy();
    QTabBar *window() const { return bar_; }
    bool exists() const { return !bar_.isNull(); }
    LONG style() const { return style_; }
    bool isVertical() const { return (style_ & lzoVertical) != 0; }
    // Tabs along the bottom (horizontal) or the right edge (vertical).
    bool isBottomOrRight() const { return (style_ & lzoTabsBottom) != 0; }
    void show(bool on);
    bool isShown() const { return bar_ && !bar_->isHidden(); }
    void move(const QRect &rect);
    void setImageList(LONG handle);
    void setFont(HFONT font);
    void setFont(const QFont &font);
    void insertTab(int position, const QString &text, LONG image);
    void deleteTab(int position);
    QRect tabRect(int position) const;
    int selection() const;
    void select(int position);
    // One row: the strip draws its tabs in a single line (a row of too many tabs scrolls).
    int rowCount() const { return 1; }
    // Rows x the extent of the first tab across the strip + 7.
    int thickness() const;
    // Destroys the widget and makes it again with the new style, keeping image list, font (for
    // horizontal styles) and selection (the tabs are inserted again by the collection).
    void rebuild(LONG style);

    // The handlers of user selection changes: changing(old position) returns true to refuse.
    using ChangingHandler = std::function<bool(int oldPosition)>;
    using ChangedHandler = std::function<void(int newPosition)>;
    void setHandlers(ChangingHandler changing, ChangedHandler changed);

private:
    void applyStyle();
    void applyIcons();
    void userChanged(int index);

    QPointer<QTabBar> bar_;
    QPointer<QWidget> parent_;
    LONG style_ = 0;
    LONG imageList_ = 0;
    HFONT font_ = 0;
    QFont qfont_;
    bool hasFont_ = false;
    int quiet_ = 0;      // > 0 while this class changes the selection itself
    int notifying_ = 0;  // > 0 while a handler runs (the widget must outlive it)
    int lastIndex_ = -1; // the selection before the user's change
    ChangingHandler changing_;
    ChangedHandler changed_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace navrail
