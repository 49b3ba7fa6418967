// Validation of the names users give to sessions and folders.
#pragma once

#include "report/report_message_params.h"
#include "storage/model/profile_store.h"

constexpr uint32_t kMsgNameMustBeSpecified = 0xE138000A;
constexpr uint32_t kMsgNameIllegalCharacter = 0xE138000B;
constexpr uint32_t kMsgNameReservedDevice = 0xE138000C;
constexpr uint32_t kMsgNameAlreadyExists = 0xE138000D;

// True when `newName` may name a key of kind `kindWord` ("session", "folder"); otherwise the
// reason is recorded in `error`. `alreadyExists` tells that a key of that name exists; renaming
// a key to itself (not new, same name without regard to case) is allowed.
bool ValidateKeyName(const char16_t* existingName, const char16_t* newName, bool isNew,
                     const char16_t* kindWord, bool alreadyExists, VReportMessageParams& error);

// True for the device names that cannot name a file ("CON", "COM1", "LPT9.txt", "CLOCK$"...).
bool IsReservedDeviceName(std::u16string_view name);

// True when the store of `parent` can hold a sub-key named `name` (a file system limits the
// length of a file's name, for one); otherwise the store's reason is recorded in `error`.
bool StoreAcceptsKeyName(const VProfileKey& parent, const char16_t* name,
                         VReportMessageParams& error);
