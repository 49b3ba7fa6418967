// The actions a key can be bound to: a code and its name. Codes 0 to 5 take their arguments in the
// line (SEND, RUN, LAUNCH, SET_BUTTONBAR) or none (NONE, DISABLED); the others name functions of
// the application, numbered for good because stored key maps carry the numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/unicode_string.h"

enum KeymapAction : uint32_t {
  kActionNone = 0,
  kActionSend = 1,
  kActionRun = 2,
  kActionLaunch = 3,
  kActionSetButtonBar = 4,
  kActionDisabled = 5,
};

namespace vkeymap {

constexpr uint32_t kFunctionCount = 266;

// The table name of a code; empty when the code is not in the table.
VUnicodeString FunctionNameOfCode(uint32_t code);
// Exact (case-sensitive) match, older names of renamed functions included; empty when unknown.
std::optional<uint32_t> FunctionCodeOfName(std::u16string_view name);

}  // namespace vkeymap
