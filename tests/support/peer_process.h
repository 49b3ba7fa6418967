// Another process of the user that opens shared objects and answers commands, one line each, for
// the tests between processes (tests/fixtures/passcache/passcache_peer.cpp).
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/shared_memory_cache.h"

namespace qtest {

class PeerProcess {
 public:
  explicit PeerProcess(const VSharedMemoryNames& names);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // Sends one command and returns the answer line (empty when the peer ended or did not answer
  // within a generous time, which only a hung peer would take).
  std::string Ask(const std::string& command);
  // Ends the peer with `signal` and waits for it.
  void Kill(int signal);
  // Closes the peer's input, so that it releases what it holds and exits; returns its status.
  int Finish();
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
};

// Names no other test (or a real application) uses.
VSharedMemoryNames UniqueSharedNames();
// The shared object exists (under /dev/shm).
bool SharedObjectExists(const std::string& name);
// Removes both objects, so that a failed test leaves nothing behind.
void RemoveSharedObjects(const VSharedMemoryNames& names);

}  // namespace qtest
