#include "crypto/secret_pass_progress.h"

#include <system_error>
#include <thread>

void VWaitingSecretPassProgress::RunModal(VReportMessageParams& message) {
  OnShow(message);
  std::unique_lock<std::mutex> lock(mutex_);
  closed_.wait(lock, [this] { return isClosed_; });
  isClosed_ = false;  // ready for the next pass
}

void VWaitingSecretPassProgress::Advance(size_t done, size_t total, const VUnicodeString& item) {
  OnAdvance(done, total, item);
}

void VWaitingSecretPassProgress::Close() {
  OnClose();
  std::lock_guard<std::mutex> lock(mutex_);
  isClosed_ = true;
  closed_.notify_all();
}

void RunSecretPass(ISecretPassProgress* progress, VReportMessageParams& message,
                   const std::function<void(ISecretPassProgress* progress)>& work) {
  if (!progress) {
    work(nullptr);
    return;
  }
  std::thread worker;
  try {
    worker = std::thread([&] {
      work(progress);
      progress->Close();
    });
  } catch (const std::system_error&) {
    // No thread to spare: the pass still has to happen, only without its window.
    work(progress);
    return;
  }
  progress->RunModal(message);
  worker.join();
}
