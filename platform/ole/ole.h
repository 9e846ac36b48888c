#pragma once
// The control layer in one include.
#include "ole/ambient.h"
#include "ole/container.h"
#include "ole/olecontrol.h"
#include "ole/font.h"
#include "ole/handles.h"
#include "ole/imagelist.h"
#include "ole/memstream.h"
#include "ole/olecolor.h"
#include "ole/persist.h"
#include "ole/picture.h"
#include "ole/propbag.h"
#include "ole/propframe.h"
