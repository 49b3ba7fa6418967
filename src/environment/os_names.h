// The names of the kinds of remote operating system a session can be told it talks to.
#pragma once

#include "platform/unicode_string.h"

constexpr int kOsIdCount = 16;
constexpr uint32_t kMsgOsAutomaticDetect = 0x613800F9;

// The name of kind `index` (0, "Automatic detect", in the language of the messages); false, with
// `name` untouched, for an index outside 0 to 15.
bool VGetOsIdDisplayName(int index, VUnicodeString& name);
