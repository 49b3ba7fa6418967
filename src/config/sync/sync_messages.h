// Library messages about synchronize profiles and scheduled transfers (facility 0x138).
#pragma once

#include <cstdint>

// %1 the value name, %2 the task, source or target that would have to come before it.
constexpr uint32_t kMsgSyncIndexGap = 0xE1381000;
// %1 the profile's name.
constexpr uint32_t kMsgSyncProfileWithoutTask = 0xE1381001;
constexpr uint32_t kMsgScheduledTaskMissing = 0xE1381002;   // %1 the task
constexpr uint32_t kMsgSyncProfileMissing = 0xE1381003;     // %1 the profile
constexpr uint32_t kMsgScheduledTaskNotSaved = 0xE1381004;  // %1 the task, %2 why
constexpr uint32_t kMsgSyncProfileNotSaved = 0xE1381005;    // %1 the profile, %2 why
constexpr uint32_t kMsgScheduledTaskNotDeleted = 0xE1381006;
constexpr uint32_t kMsgSyncProfileNotDeleted = 0xE1381007;
constexpr uint32_t kMsgSyncDocumentUnreadable = 0xE1381013;  // %1 why
