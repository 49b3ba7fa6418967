// Protection of data for the current user only, standing in for the operating system's per-user
// data protection: AES-256-GCM under a random key kept in the user's own key file
// ($XDG_DATA_HOME/Tolvane/protect.key). Another account has another key, so it cannot undo the
// protection; neither can anyone on another computer.
//
// The key file is created once, atomically, with mode 0600. Before every use it must be a
// regular file of 32 bytes owned by the user and closed to group and others; anything else is
// refused, since a key someone else can read or replace protects nothing.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_message_params.h"

class VClearBuffer;

namespace vprotect {

constexpr size_t kKeySize = 32;

std::string KeyFilePath();

enum class KeyFileCheck { Ok, NotRegular, WrongOwner, OpenToOthers, WrongSize };
// Judges an opened key file by its status, for the user `owner`.
KeyFileCheck CheckKeyFile(const struct stat& info, uid_t owner);

// Protects `length` bytes, creating the user's key on first use. `description` is bound into the
// blob: only the same description undoes it.
bool Protect(const uint8_t* data, size_t length, std::u16string_view description,
             std::vector<uint8_t>& blob, VReportMessageParams& error);
// Undoes Protect. Fails with the reason in `error` for a blob made under another key (another
// user, another computer, another system), a damaged one, or an unusable key file; the key is
// never created here.
bool Unprotect(const uint8_t* blob, size_t length, std::u16string_view description,
               VClearBuffer& data, VReportMessageParams& error);

}  // namespace vprotect
