// Registry scripts of the library's classes, one per class in the order of the class table.
// %MODULE% stands for the library's full path.
#include "regscripts.h"

namespace navrail::scripts {

// Script 102: LzNavrailBar.
const char *const kLzNavrailBar = R"rgs(HKCR
{
	NavrailBar.LzNavrailBar.1 = s 'Larkspire NavrailBar'
	{
		CLSID = s '{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7}'
	}
	NavrailBar.LzNavrailBar = s 'Larkspire NavrailBar'
	{
		CLSID = s '{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7}'
		CurVer = s 'NavrailBar.LzNavrailBar.1'
	}
	NoRemove CLSID
	{
		ForceRemove {02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7} = s 'Larkspire NavrailBar'
		{
			ProgID = s 'NavrailBar.LzNavrailBar.1'
			VersionIndependentProgID = s 'NavrailBar.LzNavrailBar'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			ForceRemove 'Control'
			ForceRemove 'Insertable'
			ForceRemove 'ToolboxBitmap32' = s '%MODULE%, 101'
			'MiscStatus' = s '0'
			{
				'1' = s '164241'
			}
			'TypeLib' = s '{22BE512E-E6B6-11D2-9BB5-00A0CC3AD9E7}'
			'Version' = s '1.0'
			'verb'
			{
				val OLEIVERB_PROPERTIES = s '&Properties...,0,2'
			}
		}
	}
}
)rgs";

// Script 106: LzNavrailGroups.
const char *const kLzNavrailGroups = R"rgs(HKCR
{
	NavrailBar.LzNavrailGroups.1 = s 'LzNavrailGroups Class'
	{
		CLSID = s '{1997B16E-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NavrailBar.LzNavrailGroups = s 'LzNavrailGroups Class'
	{
		CLSID = s '{1997B16E-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NoRemove CLSID
	{
		ForceRemove {1997B16E-DE99-11D2-9BB5-00A0CC3AD9E7} = s 'LzNavrailGroups Class'
		{
			ProgID = s 'NavrailBar.LzNavrailGroups.1'
			VersionIndependentProgID = s 'NavrailBar.LzNavrailGroups'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

// Script 104: LzNavrailGroup.
const char *const kLzNavrailGroup = R"rgs(HKCR
{
	NavrailBar.LzNavrailGroup.1 = s 'LzNavrailGroup Class'
	{
		CLSID = s '{1997B168-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NavrailBar.LzNavrailGroup = s 'LzNavrailGroup Class'
	{
		CLSID = s '{1997B168-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NoRemove CLSID
	{
		ForceRemove {1997B168-DE99-11D2-9BB5-00A0CC3AD9E7} = s 'LzNavrailGroup Class'
		{
			ProgID = s 'NavrailBar.LzNavrailGroup.1'
			VersionIndependentProgID = s 'NavrailBar.LzNavrailGroup'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

// Script 108: LzNavrailItems.
const char *const kLzNavrailItems = R"rgs(HKCR
{
	NavrailBar.LzNavrailItems.1 = s 'LzNavrailItems Class'
	{
		CLSID = s '{1997B171-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NavrailBar.LzNavrailItems = s 'LzNavrailItems Class'
	{
		CLSID = s '{1997B171-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NoRemove CLSID
	{
		ForceRemove {1997B171-DE99-11D2-9BB5-00A0CC3AD9E7} = s 'LzNavrailItems Class'
		{
			ProgID = s 'NavrailBar.LzNavrailItems.1'
			VersionIndependentProgID = s 'NavrailBar.LzNavrailItems'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

// Script 110: LzNavrailItem.
const char *const kLzNavrailItem = R"rgs(HKCR
{
	NavrailBar.LzNavrailItem.1 = s 'LzNavrailItem Class'
	{
		CLSID = s '{1997B16B-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NavrailBar.LzNavrailItem = s 'LzNavrailItem Class'
	{
		CLSID = s '{1997B16B-DE99-11D2-9BB5-00A0CC3AD9E7}'
	}
	NoRemove CLSID
	{
		ForceRemove {1997B16B-DE99-11D2-9BB5-00A0CC3AD9E7} = s 'LzNavrailItem Class'
		{
			ProgID = s 'NavrailBar.LzNavrailItem.1'
			VersionIndependentProgID = s 'NavrailBar.LzNavrailItem'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

// Script 114: GeneralPropPage.
const char *const kGeneralPropPage = R"rgs(HKCR
{
	NavrailBar.GeneralPropPage.1 = s 'GeneralPropPage Class'
	{
		CLSID = s '{344F7D41-FC7A-11D2-9BB6-00A0CC3AD9E7}'
	}
	NavrailBar.GeneralPropPage = s 'GeneralPropPage Class'
	{
		CLSID = s '{344F7D41-FC7A-11D2-9BB6-00A0CC3AD9E7}'
		CurVer = s 'NavrailBar.GeneralPropPage.1'
	}
	NoRemove CLSID
	{
		ForceRemove {344F7D41-FC7A-11D2-9BB6-00A0CC3AD9E7} = s 'GeneralPropPage Class'
		{
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
		}
	}
}
)rgs";

// Script 119: MenuProp.
const char *const kMenuProp = R"rgs(HKCR
{
	NavrailBar.MenuProp.1 = s 'MenuProp Class'
	{
		CLSID = s '{09EC0E32-259B-11D3-9BB7-00A0CC3AD9E7}'
	}
	NavrailBar.MenuProp = s 'MenuProp Class'
	{
		CLSID = s '{09EC0E32-259B-11D3-9BB7-00A0CC3AD9E7}'
		CurVer = s 'NavrailBar.MenuProp.1'
	}
	NoRemove CLSID
	{
		ForceRemove {09EC0E32-259B-11D3-9BB7-00A0CC3AD9E7} = s 'MenuProp Class'
		{
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
		}
	}
}
)rgs";

// Script 122: LzTabsSet.
const char *const kLzTabsSet = R"rgs(HKCR
{
	NavrailBar.TabsSet.1 = s 'TabsSet Class'
	{
		CLSID = s '{1C698331-A533-4900-86B1-D7494C9DA349}'
	}
	NavrailBar.TabsSet = s 'TabsSet Class'
	{
		CLSID = s '{1C698331-A533-4900-86B1-D7494C9DA349}'
	}
	NoRemove CLSID
	{
		ForceRemove {1C698331-A533-4900-86B1-D7494C9DA349} = s 'TabsSet Class'
		{
			ProgID = s 'NavrailBar.TabsSet.1'
			VersionIndependentProgID = s 'NavrailBar.TabsSet'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

// Script 124: LzTabs.
const char *const kLzTabs = R"rgs(HKCR
{
	NavrailBar.Tabs.1 = s 'Tabs Class'
	{
		CLSID = s '{AB4A9283-3F1F-4727-9EAE-BDF81F8BB1A3}'
	}
	NavrailBar.Tabs = s 'Tabs Class'
	{
		CLSID = s '{AB4A9283-3F1F-4727-9EAE-BDF81F8BB1A3}'
	}
	NoRemove CLSID
	{
		ForceRemove {AB4A9283-3F1F-4727-9EAE-BDF81F8BB1A3} = s 'Tabs Class'
		{
			ProgID = s 'NavrailBar.Tabs.1'
			VersionIndependentProgID = s 'NavrailBar.Tabs'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

// Script 126: LzTab.
const char *const kLzTab = R"rgs(HKCR
{
	NavrailBar.Tab.1 = s 'Tab Class'
	{
		CLSID = s '{66EC8324-CCDB-422A-A277-B647C55AA261}'
	}
	NavrailBar.Tab = s 'Tab Class'
	{
		CLSID = s '{66EC8324-CCDB-422A-A277-B647C55AA261}'
	}
	NoRemove CLSID
	{
		ForceRemove {66EC8324-CCDB-422A-A277-B647C55AA261} = s 'Tab Class'
		{
			ProgID = s 'NavrailBar.Tab.1'
			VersionIndependentProgID = s 'NavrailBar.Tab'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Both'
			}
		}
	}
}
)rgs";

} // namespace navrail::scripts
