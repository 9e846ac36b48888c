#pragma once
// The component runtime in one include.
#include "com/activation.h"
#include "com/bstr.h"
#include "com/connpt.h"
#include "com/dispatch.h"
#include "com/dispimpl.h"
#include "com/interfaces.h"
#include "com/object.h"
#include "com/registry.h"
#include "com/regscript.h"
#include "com/types.h"
#include "com/unknown.h"
#include "com/variant.h"
