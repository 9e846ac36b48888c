#pragma once
// The bar window (left side of the control): the stacked group header buttons, the open group's
// pane and the two scroll arrows, with the selection state of the bar (current group, current and
// displayed item, the group and item a context menu was opened on), its fonts and image lists.
//
// The BarWindow object exists from the control's construction on; its widget exists from the
// control's activation (create) on. Everything that needs the widget checks hasWindow() and does
// nothing before.
#include "../common.h"
#include "scrollarrow.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>

namespace navrail {

class BarWindow;

// Notifications of the bar's child windows to the bar window.
enum BarNotification {
    barItemClick = 256,        // the item
    barPaneClick = 257,        // the group
    barPaneRightClick = 259,   // the group
    barItemRightClick = 260,   // the item
    barButtonRightClick = 261, // the group's index
    barButtonClick = 262,      // the group's index
};

// The sounds of the bar (wave resources).
enum BarSound { soundGroupChanged = 206, soundScrolled = 207, soundItemOpened = 208 };

// The widget of the bar window.
class BarWidget : public QWidget
{
    Q_OBJECT
public:
    BarWidget(BarWindow *bar, QWidget *parent);
    BarWindow *bar() const { return bar_; }
    // The bar goes before the widget.
    void forgetBar() { bar_ = nullptr; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    BarWindow *bar_;
};

// Item metrics of the bar in pixels.
struct BarMetrics
{
    int smallIcon = 16;
    int largeIcon = 32;
    int itemSpacing = 8;   // added to every item height
    int largeCaption = 20; // added to the large-icon item height (caption)
    int largeGap = 4;      // added to the large-icon item height (gap)
    int headerHeight = 22; // group header button height
    // Distance between two items of a pane in the given image mode (24 small, 64 large).
    int itemPitch(SHORT imageMode) const
    {
        return imageMode == lzoImageModeSmall ? smallIcon + itemSpacing
                                              : largeIcon + largeCaption + largeGap + itemSpacing;
    }
};

// Image-list handles of the bar; the two flags tell whether the bar loaded (and so owns) the large
// and the small list itself.
struct BarImageLists
{
    LONG large = 0, largeHot = 0, largeActive = 0;
    LONG small = 0, smallHot = 0, smallActive = 0;
    bool ownsLarge = false, ownsSmall = false;
};

class BarWindow
{
public:
    explicit BarWindow(NavrailControl *control);
    ~BarWindow();
    BarWindow(const BarWindow &) = delete;
    BarWindow &operator=(const BarWindow &) = delete;

    NavrailControl *control() const { return control_; }

    // ---- window ----
    // Creates the bar window as a child of the control's widget, loads the default image lists
    // (for lists not set yet), creates the scroll arrows and the windows of the existing groups.
    bool create(QWidget *controlWidget);
    // Destroys the windows of the groups, the scroll arrows, the widget and the lists it owns.
    void destroy();
    QWidget *window() const { return widget_; }
    bool hasWindow() const { return !widget_.isNull(); }
    bool isVisible() const { return widget_ && widget_->isVisible(); }
    void show(bool on);
    void repaint(bool erase = false);
    // The Appearance inset of the window (0, 1 or 2 pixels on every side) changed.
    void updateFrame();

    // ---- layout, selection, scrolling ----
    // Places the header buttons and the open pane.
    void layoutGroups();
    // Makes the group at index current: BeforeGroupChange (vetoable), layout, scroll arrows,
    // sound, AfterGroupChange. An index outside the groups is ignored.
    void selectGroup(LONG index);
    void updateScrollArrows();
    void scrollItemsUp();
    void scrollItemsDown();
    // Plays one of the library's sounds when SoundEffects is set.
    void playSound(int waveId);
    // The Qt resource path of a wave resource.
    static QString soundPath(int waveId);

    // ---- notifications of the panes and header buttons ----
    // code: a BarNotification; group and item as the notification carries them, index for the
    // header buttons' notifications.
    void onBarCommand(int code, Group *group, Item *item, LONG index = -1);
    // Builds and shows a context menu of a kind (tagMenuClickConstants: 1 pane, 2 button,
    // 3 item), raising BuildMenu first; whether it was shown. The chosen entry's command runs after
    // the menu is gone.
    bool showContextMenu(int kind);
    // A command chosen from a context menu (tagMenuCommandConstants, or a BuildMenu handler's own
    // identifier from 4096 up): MenuCommand first, then the built-in action unless vetoed.
    void onMenuCommand(UINT id);
    // The check-mark image of the icon-size entries: bitmap 209 (large, checked), 210 (large),
    // 211 (small, checked), 212 (small); null before the window exists.
    QPixmap menuBitmap(int id) const;
    // The group at the current index (none without groups).
    Group *currentGroup() const;

    // ---- in-place label editing ----
    void startGroupLabelEdit(Group *group);
    void endGroupLabelEdit(Group *group, bool accept);
    void startItemLabelEdit(Item *item);
    void endItemLabelEdit(Item *item, bool accept);

    // ---- selection state ----
    LONG currentGroupIndex() const { return currentGroup_; }
    // Sets the index without events (used when the groups are emptied).
    void setCurrentGroupIndex(LONG index) { currentGroup_ = index; }
    Item *currentItem() const { return currentItem_.get(); }
    void setCurrentItem(Item *item);
    Item *displayedItem() const { return displayedItem_.get(); }
    void setDisplayedItem(Item *item);
    Group *menuGroup() const { return menuGroup_.get(); }
    void setMenuGroup(Group *group);
    Item *menuItem() const { return menuItem_.get(); }
    void setMenuItem(Item *item);
    // Forgets every reference to an item or a group that is leaving the bar.
    void forgetItem(const Item *item);
    void forgetGroup(const Group *group);
    void forgetAll();

    // ---- fonts and image lists ----
    void setFont(IFontDisp *font);
    HFONT fontHandle(int which = 0) const { return which == 0 ? hFont1_ : hFont2_; }
    // The font of a handle (0: header buttons, 1: panes); the widget's font without one.
    QFont font(int which) const;
    BarImageLists &imageLists() { return lists_; }
    const BarImageLists &imageLists() const { return lists_; }
    void setSmallImageList(LONG handle);
    void setLargeImageList(LONG handle);
    const BarMetrics &metrics() const { return metrics_; }

    ScrollArrow &upArrow() { return up_; }
    ScrollArrow &downArrow() { return down_; }

private:
    void loadDefaultImageLists();
    void placeScrollArrows(QWidget *pane);
    void endItemLabelEditInProgress();
    void releaseFonts();

    NavrailControl *control_;
    QPointer<BarWidget> widget_;
    LONG currentGroup_ = 0;
    ComPtr<Item> currentItem_;   // the item last clicked, right-clicked or displayed
    ComPtr<Item> displayedItem_; // the item last shown in the results pane
    ComPtr<Group> menuGroup_;    // the group a context menu was last opened on
    bool menuGroupGone_ = false; // that group left the bar: its menu's group commands do nothing
    ComPtr<Item> menuItem_;      // the item a context menu was last opened on
    ScrollArrow up_{ScrollArrow::Up};
    ScrollArrow down_{ScrollArrow::Down};
    std::array<QPixmap, 4> menuBitmaps_; // 209 to 212, loaded with the window
    ComPtr<IUnknown> font1_, font2_;     // the control's font, held twice as IFont
    HFONT hFont1_ = 0, hFont2_ = 0;
    BarImageLists lists_;
    BarMetrics metrics_;
};

} // namespace navrail
