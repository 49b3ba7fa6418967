// Win32 error codes: the model reports failures with these codes whatever the platform, so that
// stored logs, messages and callers see the same numbers everywhere.
#pragma once

#include <cstdint>

namespace win32 {

constexpr uint32_t kSuccess = 0;
constexpr uint32_t kInvalidFunction = 1;
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kTooManyOpenFiles = 4;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kInvalidData = 13;
constexpr uint32_t kNotSameDevice = 17;
constexpr uint32_t kNoMoreFiles = 18;
constexpr uint32_t kNotReady = 21;
constexpr uint32_t kWriteFault = 29;
constexpr uint32_t kReadFault = 30;
constexpr uint32_t kGenFailure = 31;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kLockViolation = 33;
constexpr uint32_t kHandleDiskFull = 39;
constexpr uint32_t kNotSupported = 50;
constexpr uint32_t kFileExists = 80;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kOpenFailed = 110;
constexpr uint32_t kBufferOverflow = 111;
constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kDirNotEmpty = 145;
constexpr uint32_t kBadPathname = 161;
constexpr uint32_t kBusy = 170;
constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kFilenameExcedRange = 206;
constexpr uint32_t kFileTooLarge = 223;
constexpr uint32_t kNoData = 232;
constexpr uint32_t kMoreData = 234;
constexpr uint32_t kDirectory = 267;
constexpr uint32_t kBadFileType = 222;
constexpr uint32_t kOperationAborted = 995;
constexpr uint32_t kNoAccess = 998;
constexpr uint32_t kIoDevice = 1117;
constexpr uint32_t kNotFound = 1168;
constexpr uint32_t kCancelled = 1223;
constexpr uint32_t kDiskQuotaExceeded = 1295;
constexpr uint32_t kTimeout = 1460;
constexpr uint32_t kDatatypeMismatch = 1629;
constexpr uint32_t kCantResolveFilename = 1921;
constexpr uint32_t kFileReadOnly = 6009;

// The Win32 code that matches an errno value. `missingPath` distinguishes ENOENT for a missing
// file (2) from a missing folder on the way to it (3).
uint32_t FromErrno(int error, bool missingPath = false);

}  // namespace win32
