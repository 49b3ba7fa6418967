// A print system for tests: printers with given pages, a probe that can be held until the test
// lets it go (a print server that does not answer), and printers that can vanish.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>

#include "environment/printer_messages.h"
#include "environment/printer_state.h"

class FakePrinterPlatform : public IPrinterPlatform {
 public:
  void AddPrinter(const VUnicodeString& name, const PrinterPageGeometry& page) {
    std::lock_guard lock(mutex_);
    printers_[name] = page;
    if (defaultName_.empty()) defaultName_ = name;
  }
  void RemovePrinter(const VUnicodeString& name) {
    std::lock_guard lock(mutex_);
    printers_.erase(name);
  }
  // The probe waits until Release (or answers at once when never held).
  void Hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
  }
  // Selecting a printer and reading its page wait too, until Release.
  void HoldCalls() {
    std::lock_guard lock(mutex_);
    holdCalls_ = true;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    held_ = false;
    holdCalls_ = false;
    released_.notify_all();
  }
  void SetProbeResult(bool ok, uint32_t messageId = printer_messages::kStatusUnavailable) {
    std::lock_guard lock(mutex_);
    probeOk_ = ok;
    probeMessage_ = messageId;
  }
  int UseCount() {
    std::lock_guard lock(mutex_);
    return uses_;
  }
  PrinterSelection LastSelection() {
    std::lock_guard lock(mutex_);
    return last_;
  }

  bool Probe(VReportMessageParams& status) override {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return !held_; });
    status.Reset(probeMessage_);
    return probeOk_;
  }
  bool HasDefaultPrinter() override {
    std::lock_guard lock(mutex_);
    return !printers_.empty();
  }
  void UseDefaultPrinter() override {
    std::lock_guard lock(mutex_);
    current_ = defaultName_;
  }
  bool UsePrinter(const PrinterSelection& selection, VReportMessageParams& error) override {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return !holdCalls_; });
    ++uses_;
    last_ = selection;
    if (!printers_.count(selection.name)) {
      error.Reset(printer_messages::kPrinterUnavailable);
      error.AddInsert(selection.name);
      return false;
    }
    current_ = selection.name;
    return true;
  }
  VUnicodeString CurrentPrinterName() override {
    std::lock_guard lock(mutex_);
    return current_;
  }
  bool CurrentPageGeometry(PrinterPageGeometry& page, VReportMessageParams& error) override {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return !holdCalls_; });
    auto found = printers_.find(current_);
    if (found == printers_.end()) {
      error.Reset(printer_messages::kPrinterUnavailable);
      error.AddInsert(current_);
      return false;
    }
    page = found->second;
    return true;
  }

  // Letter paper at 600 pixels per inch with the printable area `offset` inches in from each edge.
  static PrinterPageGeometry Letter(double offsetX, double offsetY) {
    PrinterPageGeometry page;
    page.pixelsPerInchX = page.pixelsPerInchY = 600;
    page.paperWidth = 8.5 * 600;
    page.paperHeight = 11 * 600;
    page.physicalOffsetX = offsetX * 600;
    page.physicalOffsetY = offsetY * 600;
    page.printableWidth = page.paperWidth - 2 * page.physicalOffsetX;
    page.printableHeight = page.paperHeight - 2 * page.physicalOffsetY;
    return page;
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
  bool holdCalls_ = false;
  bool probeOk_ = true;
  uint32_t probeMessage_ = printer_messages::kStatusUnavailable;
  std::map<VUnicodeString, PrinterPageGeometry> printers_;
  VUnicodeString defaultName_;
  VUnicodeString current_;
  PrinterSelection last_;
  int uses_ = 0;
};
