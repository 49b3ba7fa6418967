// A lock known by name to every process of the user, held while a named shared object is created,
// attached to or removed, so that each of those is one step for the processes involved: nobody
// attaches to an object that its last holder is removing, and two processes never create two
// objects under one name. It is an open-file-description lock on an empty shared object, which
// the kernel drops when its holder dies, so a crashed process never leaves the gate closed.
#pragma once

#include <string>

#include "platform/shared_object.h"

class VIpcGate {
 public:
  VIpcGate() = default;
  ~VIpcGate() { Leave(false); }
  VIpcGate(const VIpcGate&) = delete;
  VIpcGate& operator=(const VIpcGate&) = delete;

  // Opens the gate object (creating it when missing) and waits for its lock. Fails when the
  // object belongs to someone else or is open to other users.
  bool Enter(const std::string& name, VSharedObjectStatus& status);
  // Releases the lock; with `removeName` the gate object is removed first (by its last user).
  void Leave(bool removeName);
  bool IsHeld() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  std::string name_;
};
