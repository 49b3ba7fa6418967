#include "platform/win32_errors.h"

#include <errno.h>

namespace win32 {

uint32_t FromErrno(int error, bool missingPath) {
  switch (error) {
    case 0: return kSuccess;
    case ENOENT: return missingPath ? kPathNotFound : kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kAccessDenied;
    case EEXIST: return kAlreadyExists;
    case ENOSPC: return kDiskFull;
    case EDQUOT: return kDiskQuotaExceeded;
    case ENAMETOOLONG: return kFilenameExcedRange;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case EBADF: return kInvalidHandle;
    case ENOMEM: return kNotEnoughMemory;
    case EINVAL: return kInvalidParameter;
    case EXDEV: return kNotSameDevice;
    case ENOTEMPTY: return kDirNotEmpty;
    case EISDIR: return kDirectory;
    case EBUSY: return kBusy;
    case EAGAIN: return kLockViolation;
    case EIO: return kIoDevice;
    case ELOOP: return kCantResolveFilename;
    case ETIMEDOUT: return kTimeout;
    case ENOTSUP: return kNotSupported;
    case ECANCELED: return kOperationAborted;
    case EFAULT: return kNoAccess;
    case EILSEQ: return kInvalidData;
    default: return kGenFailure;
  }
}

}  // namespace win32
