#include "platform/ipc_lock.h"

#include <errno.h>

#include <system_error>

namespace {

void Check(int result, const char* what) {
  if (result != 0) throw std::system_error(result, std::generic_category(), what);
}

}  // namespace

void VIpcLock::Initialize(VIpcLockStorage& storage) {
  pthread_mutexattr_t attributes;
  Check(pthread_mutexattr_init(&attributes), "pthread_mutexattr_init");
  int result = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
  if (result == 0) result = pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
  if (result == 0) result = pthread_mutex_init(&storage.mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
  Check(result, "pthread_mutex_init");
}

bool VIpcLock::Lock() {
  if (!storage_) throw std::system_error(EINVAL, std::generic_category(), "VIpcLock::Lock");
  int result = pthread_mutex_lock(&storage_->mutex);
  if (result == EOWNERDEAD) {
    Check(pthread_mutex_consistent(&storage_->mutex), "pthread_mutex_consistent");
    return true;
  }
  Check(result, "pthread_mutex_lock");
  return false;
}

void VIpcLock::Unlock() {
  if (!storage_) throw std::system_error(EINVAL, std::generic_category(), "VIpcLock::Unlock");
  Check(pthread_mutex_unlock(&storage_->mutex), "pthread_mutex_unlock");
}
