#include "events.h"

namespace navrail {

namespace {
com::Variant obj(IDispatch *p)
{
    return com::Variant::dispatch(p);
}
com::Variant num(LONG v)
{
    return com::Variant::i4(v);
}
} // namespace

void EventRaiser::raise(DISPID dispid, std::initializer_list<VARIANT> args)
{
    point_.fire(dispid, args);
}

bool EventRaiser::raiseVetoable(DISPID dispid, std::initializer_list<VARIANT> args)
{
    cancel_ = 0;
    point_.fire(dispid, args);
    return cancel_ != 0;
}

bool EventRaiser::itemClick(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_ItemClick, {obj(group), obj(item)});
}

bool EventRaiser::itemRightClick(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_ItemRightClick, {obj(group), obj(item)});
}

bool EventRaiser::paneRightClick(ILzNavrailGroup *group)
{
    return raiseVetoable(DISPID_NBE_PaneRightClick, {obj(group)});
}

bool EventRaiser::groupButtonRightClick(ILzNavrailGroup *group)
{
    return raiseVetoable(DISPID_NBE_GroupButtonRightClick, {obj(group)});
}

bool EventRaiser::groupButtonClick(ILzNavrailGroup *group)
{
    return raiseVetoable(DISPID_NBE_GroupButtonClick, {obj(group)});
}

bool EventRaiser::menuCommand(LONG menuId, ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_MenuCommand, {num(menuId), obj(group), obj(item)});
}

bool EventRaiser::buildMenu(LONG whichMenu, LONG hMenu, ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_BuildMenu, {num(whichMenu), num(hMenu), obj(group), obj(item)});
}

bool EventRaiser::afterGroupLabelEdit(ILzNavrailGroup *group)
{
    return raiseVetoable(DISPID_NBE_AfterGroupLabelEdit, {obj(group)});
}

bool EventRaiser::afterItemLabelEdit(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_AfterItemLabelEdit, {obj(group), obj(item)});
}

bool EventRaiser::beforeGroupChange(ILzNavrailGroup *group)
{
    return raiseVetoable(DISPID_NBE_BeforeGroupChange, {obj(group)});
}

bool EventRaiser::beforeGroupLabelEdit(ILzNavrailGroup *group)
{
    return raiseVetoable(DISPID_NBE_BeforeGroupLabelEdit, {obj(group)});
}

bool EventRaiser::beforeItemChange(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_BeforeItemChange, {obj(group), obj(item)});
}

bool EventRaiser::beforeItemLabelEdit(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    return raiseVetoable(DISPID_NBE_BeforeItemLabelEdit, {obj(group), obj(item)});
}

bool EventRaiser::beforeResultsTabChange(ILzNavrailGroup *group, ILzNavrailItem *item, ILzTab *oldTab)
{
    return raiseVetoable(DISPID_NBE_BeforeResultsTabChange, {obj(group), obj(item), obj(oldTab)});
}

void EventRaiser::paneClick(ILzNavrailGroup *group)
{
    cancel_ = 0;
    raise(DISPID_NBE_PaneClick, {obj(group)});
}

void EventRaiser::afterGroupChange(ILzNavrailGroup *group)
{
    raise(DISPID_NBE_AfterGroupChange, {obj(group)});
}

void EventRaiser::afterItemChange(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    raise(DISPID_NBE_AfterItemChange, {obj(group), obj(item)});
}

void EventRaiser::groupAdded(ILzNavrailGroups *groups, ILzNavrailGroup *group)
{
    raise(DISPID_NBE_GroupAdded, {obj(groups), obj(group)});
}

void EventRaiser::groupDeleted(ILzNavrailGroups *groups, ILzNavrailGroup *group)
{
    raise(DISPID_NBE_GroupDeleted, {obj(groups), obj(group)});
}

void EventRaiser::itemAdded(ILzNavrailItems *items, ILzNavrailItem *item)
{
    raise(DISPID_NBE_ItemAdded, {obj(items), obj(item)});
}

void EventRaiser::itemDeleted(ILzNavrailItems *items, ILzNavrailItem *item)
{
    raise(DISPID_NBE_ItemDeleted, {obj(items), obj(item)});
}

void EventRaiser::paneWidthChanged(LONG leftPaneWidth, LONG rightPaneWidth)
{
    raise(DISPID_NBE_PaneWidthChanged, {num(leftPaneWidth), num(rightPaneWidth)});
}

void EventRaiser::afterResultsTabChange(ILzNavrailGroup *group, ILzNavrailItem *item, ILzTab *newTab)
{
    raise(DISPID_NBE_AfterResultsTabChange, {obj(group), obj(item), obj(newTab)});
}

void EventRaiser::beforeDisplayResultsPane(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    raise(DISPID_NBE_BeforeDisplayResultsPane, {obj(group), obj(item)});
}

} // namespace navrail
