// The progress of a pass over every saved secret (re-encryption after a passphrase change, the
// first encryption after a passphrase is chosen): a worker thread does the work while the calling
// thread shows a window that cannot be cancelled, and the worker closes the window when it is
// done. Hosts implement the window; console hosts draw a bar on their terminal.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

// An item whose secrets a pass could not handle: what kind of item ("session", "firewall"), its
// name, and why.
struct VSecretPassFailure {
  VUnicodeString kind;
  VUnicodeString item;
  VReportMessageParams reason;
};

class ISecretPassProgress {
 public:
  virtual ~ISecretPassProgress() = default;
  // On the calling thread: shows `message` and returns once the worker called Close (at once
  // when it did so already).
  virtual void RunModal(VReportMessageParams& message) = 0;
  // From the worker after each item: `done` of `total` items are through.
  virtual void Advance(size_t done, size_t total, const VUnicodeString& item) = 0;
  // From the worker, once, when the work is over.
  virtual void Close() = 0;
  // On the calling thread after the pass, only when items failed.
  virtual void ShowFailures(const std::vector<VSecretPassFailure>& failures) = 0;
};

// A progress window for hosts without an event loop of their own: RunModal waits on a condition
// that Close signals. Derived classes draw through the hooks, which run on the thread that called
// the operation.
class VWaitingSecretPassProgress : public ISecretPassProgress {
 public:
  void RunModal(VReportMessageParams& message) override;
  void Advance(size_t done, size_t total, const VUnicodeString& item) override;
  void Close() override;

 protected:
  virtual void OnShow(VReportMessageParams& message) {}
  virtual void OnAdvance(size_t done, size_t total, const VUnicodeString& item) {}
  virtual void OnClose() {}

 private:
  std::mutex mutex_;
  std::condition_variable closed_;
  bool isClosed_ = false;
};

// Runs `work` on a worker thread while `progress` shows `message`, and joins it. Without a
// progress window, or when no thread can be started, the work runs on the calling thread (and
// reports its progress all the same).
void RunSecretPass(ISecretPassProgress* progress, VReportMessageParams& message,
                   const std::function<void(ISecretPassProgress* progress)>& work);
