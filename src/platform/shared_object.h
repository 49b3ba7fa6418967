// Named objects in shared memory that only the current user may use. The names are visible to
// every user of the machine, so anyone could create an object under a name first: an object is
// used only when it belongs to the current user and gives nothing to group or others.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

enum class VSharedObjectProblem {
  None,
  System,        // the system refused (see `code`)
  NotPrivate,    // another owner, or open to group or others (see `owner`, `mode`)
  Incompatible,  // a live object of another size or layout
};

// Why a shared object could not be used.
struct VSharedObjectStatus {
  VSharedObjectProblem problem = VSharedObjectProblem::None;
  std::string objectName;
  uint32_t code = 0;  // Win32 code, for System
  uid_t owner = 0;
  mode_t mode = 0;

  bool Ok() const { return problem == VSharedObjectProblem::None; }
  void SetSystem(const std::string& name, uint32_t win32Code);
};

namespace vshm {

// A name is one component: not empty, no "/", short enough for the file system.
bool IsValidName(const std::string& name);

// Creates a new object readable and writable by its owner only. Returns -1 when it cannot, with
// `exists` telling whether that is because the name is taken.
int CreateExclusive(const std::string& name, bool& exists, VSharedObjectStatus& status);
// Opens an existing object for reading and writing; -1 with `missing` when there is none.
int OpenExisting(const std::string& name, bool& missing, VSharedObjectStatus& status);
// True when the open object belongs to the current user and is private to them.
bool CheckPrivate(int fd, const std::string& name, VSharedObjectStatus& status);
void Remove(const std::string& name);

// Open-file-description locks on byte 0 of an object; the kernel drops them when the holder dies.
bool LockByte(int fd, short type, bool wait);

}  // namespace vshm
