// The whole object model in one include.
#pragma once

#include "jet/collection.h"
#include "jet/database.h"
#include "jet/dbengine.h"
#include "jet/error.h"
#include "jet/field.h"
#include "jet/index.h"
#include "jet/property.h"
#include "jet/querydef.h"
#include "jet/recordset.h"
#include "jet/relation.h"
#include "jet/tabledef.h"
#include "jet/types.h"
#include "jet/value.h"
