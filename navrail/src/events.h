#pragma once
// The control's events (_ILzNavrailBarEvents) and the cancel flag behind CancelEvent.
//
// Every event goes to each connected sink through IDispatch::Invoke, in connection order, with its
// DISPID and its arguments (objects as VT_DISPATCH, integers as VT_I4). A vetoable event clears
// the cancel flag, is raised, and reports whether a handler called CancelEvent meanwhile: the
// raise... functions of such events return true when the action is vetoed.
#include "common.h"

namespace navrail {

class EventRaiser
{
public:
    explicit EventRaiser(com::ConnectionPoint &point) : point_(point) {}

    // CancelEvent.
    void cancel() { cancel_ = 1; }
    LONG cancelFlag() const { return cancel_; }

    // Vetoable events (true: vetoed).
    bool itemClick(ILzNavrailGroup *group, ILzNavrailItem *item);
    bool itemRightClick(ILzNavrailGroup *group, ILzNavrailItem *item);
    bool paneRightClick(ILzNavrailGroup *group);
    bool groupButtonRightClick(ILzNavrailGroup *group);
    bool groupButtonClick(ILzNavrailGroup *group);
    bool menuCommand(LONG menuId, ILzNavrailGroup *group, ILzNavrailItem *item);
    bool buildMenu(LONG whichMenu, LONG hMenu, ILzNavrailGroup *group, ILzNavrailItem *item);
    bool afterGroupLabelEdit(ILzNavrailGroup *group);
    bool afterItemLabelEdit(ILzNavrailGroup *group, ILzNavrailItem *item);
    bool beforeGroupChange(ILzNavrailGroup *group);
    bool beforeGroupLabelEdit(ILzNavrailGroup *group);
    bool beforeItemChange(ILzNavrailGroup *group, ILzNavrailItem *item);
    bool beforeItemLabelEdit(ILzNavrailGroup *group, ILzNavrailItem *item);
    bool beforeResultsTabChange(ILzNavrailGroup *group, ILzNavrailItem *item, ILzTab *oldTab);

    // PaneClick clears the flag before it is raised; nothing reads it afterwards.
    void paneClick(ILzNavrailGroup *group);

    // Events without veto.
    void afterGroupChange(ILzNavrailGroup *group);
    void afterItemChange(ILzNavrailGroup *group, ILzNavrailItem *item);
    void groupAdded(ILzNavrailGroups *groups, ILzNavrailGroup *group);
    void groupDeleted(ILzNavrailGroups *groups, ILzNavrailGroup *group);
    void itemAdded(ILzNavrailItems *items, ILzNavrailItem *item);
    void itemDeleted(ILzNavrailItems *items, ILzNavrailItem *item);
    void paneWidthChanged(LONG leftPaneWidth, LONG rightPaneWidth);
    void afterResultsTabChange(ILzNavrailGroup *group, ILzNavrailItem *item, ILzTab *newTab);
    void beforeDisplayResultsPane(ILzNavrailGroup *group, ILzNavrailItem *item);

    // Raises one event with arguments in natural order.
    void raise(DISPID dispid, std::initializer_list<VARIANT> args);
    // Clears the flag, raises, and tells whether a handler cancelled.
    bool raiseVetoable(DISPID dispid, std::initializer_list<VARIANT> args);

private:
    com::ConnectionPoint &point_;
    LONG cancel_ = 0; // 32-bit BOOL
};

} // namespace navrail
