#include "platform/shared_object.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32_errors.h"

void VSharedObjectStatus::SetSystem(const std::string& name, uint32_t win32Code) {
  problem = VSharedObjectProblem::System;
  objectName = name;
  code = win32Code;
}

namespace vshm {
namespace {

std::string Path(const std::string& name) { return "/" + name; }

}  // namespace

bool IsValidName(const std::string& name) {
  return !name.empty() && name.size() < NAME_MAX && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos && name != "." && name != "..";
}

int CreateExclusive(const std::string& name, bool& exists, VSharedObjectStatus& status) {
  exists = false;
  if (!IsValidName(name)) {
    status.SetSystem(name, win32::kInvalidName);
    return -1;
  }
  int fd = shm_open(Path(name).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    exists = errno == EEXIST;
    if (!exists) status.SetSystem(name, win32::FromErrno(errno));
    return -1;
  }
  // The umask may have taken the owner's own bits away; the mode must be exactly 0600.
  if (fchmod(fd, 0600) != 0) {
    status.SetSystem(name, win32::FromErrno(errno));
    close(fd);
    shm_unlink(Path(name).c_str());
    return -1;
  }
  return fd;
}

int OpenExisting(const std::string& name, bool& missing, VSharedObjectStatus& status) {
  missing = false;
  if (!IsValidName(name)) {
    status.SetSystem(name, win32::kInvalidName);
    return -1;
  }
  int fd = shm_open(Path(name).c_str(), O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) {
    missing = errno == ENOENT;
    if (!missing) status.SetSystem(name, win32::FromErrno(errno));
  }
  return fd;
}

bool CheckPrivate(int fd, const std::string& name, VSharedObjectStatus& status) {
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    status.SetSystem(name, win32::FromErrno(errno));
    return false;
  }
  if (S_ISREG(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0) return true;
  status.problem = VSharedObjectProblem::NotPrivate;
  status.objectName = name;
  status.owner = info.st_uid;
  status.mode = info.st_mode & 07777;
  return false;
}

void Remove(const std::string& name) { shm_unlink(Path(name).c_str()); }

bool LockByte(int fd, short type, bool wait) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 1;
  for (;;) {
    if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace vshm
