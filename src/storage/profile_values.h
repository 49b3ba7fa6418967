// Every typed setting and the member-table composite, for code that declares configuration
// objects.
#pragma once

#include "storage/explorer_frame_state.h"
#include "storage/list_view_state.h"
#include "storage/profile_blob.h"
#include "storage/profile_composite.h"
#include "storage/profile_multi_line.h"
#include "storage/profile_number.h"
#include "storage/profile_struct.h"
#include "storage/profile_structures.h"
#include "storage/profile_time.h"
#include "storage/profile_value2.h"
#include "storage/tab_state.h"
