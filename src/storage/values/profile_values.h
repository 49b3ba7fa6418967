// Every typed setting and the member-table composite, for code that declares configuration
// objects.
#pragma once

#include "storage/values/profile_blob.h"
#include "storage/values/profile_composite.h"
#include "storage/values/profile_multi_line.h"
#include "storage/values/profile_number.h"
#include "storage/values/profile_struct.h"
#include "storage/values/profile_structures.h"
#include "storage/values/profile_time.h"
#include "storage/values/profile_value2.h"
