// A lock shared by processes: a process-shared, robust mutex living in shared memory. A process
// that dies while holding it does not block the others: the next one to lock it takes it over and
// is told, so it can repair what the dead holder may have left half-written.
// Failures of the mutex primitives are programming or system faults and raise std::system_error.
#pragma once

#include <pthread.h>

// The lock's place in shared memory; zero-filled until Initialize.
struct VIpcLockStorage {
  pthread_mutex_t mutex;
};

class VIpcLock {
 public:
  // Sets up the mutex in memory that no other process uses yet (done once, by its creator).
  static void Initialize(VIpcLockStorage& storage);

  explicit VIpcLock(VIpcLockStorage* storage = nullptr) : storage_(storage) {}
  bool IsBound() const { return storage_ != nullptr; }

  // Waits, without a time limit, for the lock. Returns true when the previous holder died while
  // holding it; the lock is then held and made consistent again.
  bool Lock();
  void Unlock();

 private:
  VIpcLockStorage* storage_;
};

// Holds a VIpcLock for a scope.
class VIpcLockGuard {
 public:
  explicit VIpcLockGuard(VIpcLock lock) : lock_(lock) { previousHolderDied_ = lock_.Lock(); }
  ~VIpcLockGuard() { lock_.Unlock(); }
  VIpcLockGuard(const VIpcLockGuard&) = delete;
  VIpcLockGuard& operator=(const VIpcLockGuard&) = delete;

  // The holder before this one died while holding the lock: the guarded data may be torn.
  bool PreviousHolderDied() const { return previousHolderDied_; }

 private:
  VIpcLock lock_;
  bool previousHolderDied_ = false;
};
