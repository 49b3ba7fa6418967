#include "platform/ipc_gate.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32_errors.h"

bool VIpcGate::Enter(const std::string& name, VSharedObjectStatus& status) {
  Leave(false);
  for (;;) {
    bool exists = false;
    int fd = vshm::CreateExclusive(name, exists, status);
    if (fd < 0 && exists) {
      bool missing = false;
      fd = vshm::OpenExisting(name, missing, status);
      if (fd < 0 && missing) continue;  // removed between the two calls
    }
    if (fd < 0) return false;
    if (!vshm::CheckPrivate(fd, name, status)) {
      close(fd);
      return false;
    }
    if (!vshm::LockByte(fd, F_WRLCK, true)) {
      status.SetSystem(name, win32::FromErrno(errno));
      close(fd);
      return false;
    }
    // The last user may have removed the gate while this process waited for it; the next gate
    // is then a new object under the same name.
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_nlink == 0) {
      close(fd);
      continue;
    }
    fd_ = fd;
    name_ = name;
    return true;
  }
}

void VIpcGate::Leave(bool removeName) {
  if (fd_ < 0) return;
  if (removeName) vshm::Remove(name_);
  close(fd_);
  fd_ = -1;
}
