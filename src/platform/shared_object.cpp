#include "platform/shared_object.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/env.h"
#include "platform/win32_errors.h"

void VSharedObjectStatus::SetSystem(const std::string& name, uint32_t win32Code) {
  problem = VSharedObjectProblem::System;
  objectName = name;
  code = win32Code;
}

namespace vshm {
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
  vfs::Env* env = vfs::Env::Default();
  auto fd = env->OpenSharedMemory(name, true);
  if (!fd) {
    exists = fd.Code() == win32::kAlreadyExists;
    if (!exists) status.SetSystem(name, fd.Code());
    return -1;
  }
  // The umask may have taken the owner's own bits away; the mode must be exactly 0600.
  if (VStatus mode = env->ChangeMode(*fd, 0600); !mode.ok()) {
    status.SetSystem(name, mode.Code());
    env->Close(*fd);
    env->RemoveSharedMemory(name).IgnoreError();  // ours, made a moment ago
    return -1;
  }
  return *fd;
}

int OpenExisting(const std::string& name, bool& missing, VSharedObjectStatus& status) {
  missing = false;
  if (!IsValidName(name)) {
    status.SetSystem(name, win32::kInvalidName);
    return -1;
  }
  auto fd = vfs::Env::Default()->OpenSharedMemory(name, false);
  if (!fd) {
    missing = fd.Code() == win32::kFileNotFound;
    if (!missing) status.SetSystem(name, fd.Code());
    return -1;
  }
  return *fd;
}

bool CheckPrivate(int fd, const std::string& name, VSharedObjectStatus& status) {
  vfs::Env* env = vfs::Env::Default();
  auto info = env->StatOpen(fd);
  if (!info) {
    status.SetSystem(name, info.Code());
    return false;
  }
  if (info->kind == vfs::EntryKind::kFile && info->uid == env->UserId() && (info->mode & 077) == 0)
    return true;
  status.problem = VSharedObjectProblem::NotPrivate;
  status.objectName = name;
  status.owner = info->uid;
  status.mode = info->mode & 07777;
  return false;
}

void Remove(const std::string& name) {
  // Gone already is as good as removed; nothing else can be done about a failure here.
  vfs::Env::Default()->RemoveSharedMemory(name).IgnoreError();
}

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
