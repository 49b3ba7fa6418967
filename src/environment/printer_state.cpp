#include "environment/printer_state.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "environment/printer_cfg_file.h"
#include "environment/printer_messages.h"

using Init = PrinterState::Init;

struct PrinterState::Shared {
  mutable std::mutex mutex;
  std::condition_variable idle;
  bool enabled = false;
  bool installed = false;  // Initialize has been called
  Init state = Init::NotStarted;
  bool busy = false;
  uint64_t limitMs = 0;
  Routine routine;
  Callback callback;
  std::shared_ptr<IPrinterPlatform> platform;
  VReportMessageParams status;
  std::optional<PrinterSelection> pending;
  std::string configFolder;
};

namespace {

using Shared = PrinterState::Shared;
using Callback = PrinterState::Callback;
using Routine = PrinterState::Routine;

VReportMessageParams Message(uint32_t id) { return VReportMessageParams(id); }

void Notify(const std::shared_ptr<Shared>& shared, bool ready, const VReportMessageParams& status) {
  Callback callback;
  {
    std::lock_guard lock(shared->mutex);
    callback = shared->callback;
  }
  if (callback) callback(ready, status);
}

bool Apply(const std::shared_ptr<Shared>& shared, const PrinterSelection& asked,
           PrinterConfig* globalPrinter);

template <class T>
struct Outcome {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  bool ok = false;
  T value{};
  VReportMessageParams message;
};

// Runs a call into the print system on a thread of its own and waits for it at most the time
// limit: a server that stops answering after the start gives a message, not a hung window. A
// late result is dropped, though what the call did to the application's printer stays. `call` is bool(T&, VReportMessageParams&) and owns what it uses.
template <class T, class Call>
bool WithinLimit(const std::shared_ptr<Shared>& shared, Call call, T& value,
                 VReportMessageParams& message) {
  uint64_t limitMs = 0;
  {
    std::lock_guard lock(shared->mutex);
    limitMs = shared->limitMs;
  }
  if (limitMs == 0) return call(value, message);
  auto outcome = std::make_shared<Outcome<T>>();
  try {
    std::thread([outcome, call]() mutable {
      T result{};
      VReportMessageParams said;
      bool ok = call(result, said);
      std::lock_guard lock(outcome->mutex);
      outcome->value = std::move(result);
      outcome->message = said;
      outcome->ok = ok;
      outcome->done = true;
      outcome->finished.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return call(value, message);
  }
  std::unique_lock lock(outcome->mutex);
  if (!outcome->finished.wait_for(lock, std::chrono::milliseconds(limitMs),
                                  [&] { return outcome->done; })) {
    message.Reset(printer_messages::kNotAnswering);
    return false;
  }
  value = outcome->value;
  if (outcome->message.IsError()) message = outcome->message;
  return outcome->ok;
}

void RunWorker(std::shared_ptr<Shared> shared) {
  Routine routine;
  {
    std::lock_guard lock(shared->mutex);
    if (shared->state == Init::Uninitialized) return;
    shared->busy = true;
    routine = shared->routine;
  }
  VReportMessageParams detail;
  bool ok = routine ? routine(detail) : false;
  std::unique_lock lock(shared->mutex);
  if (shared->state == Init::Uninitialized) {
    shared->busy = false;
    shared->idle.notify_all();
    return;
  }
  shared->state = ok ? Init::Succeeded : Init::Failed;
  VReportMessageParams outcome = Message(ok ? printer_messages::kInitSucceeded
                                            : printer_messages::kInitFailed);
  if (detail.IsError() && detail.GetMessageId() != printer_messages::kStatusUnavailable) {
    VReportMessageParams combined(printer_messages::kOutcomeWithDetail);
    combined.AddInsert(outcome.GetTextOneLineTrimmed());
    combined.AddInsert(detail.GetTextOneLineTrimmed());
    outcome = combined;
  }
  shared->status = outcome;
  std::optional<PrinterSelection> pending;
  if (ok) pending.swap(shared->pending);
  lock.unlock();
  if (pending) Apply(shared, *pending, nullptr);
  Notify(shared, true, outcome);
  lock.lock();
  shared->busy = false;
  shared->idle.notify_all();
}

void RunLauncher(std::shared_ptr<Shared> shared) {
  uint64_t limitMs = 0;
  {
    std::lock_guard lock(shared->mutex);
    if (shared->state == Init::Uninitialized) return;
    limitMs = shared->limitMs;
  }
  try {
    std::thread(RunWorker, shared).detach();
  } catch (const std::system_error&) {
    std::unique_lock lock(shared->mutex);
    if (shared->state != Init::Initializing) return;
    shared->state = Init::Failed;
    shared->status = Message(printer_messages::kInitFailed);
    VReportMessageParams status = shared->status;
    lock.unlock();
    Notify(shared, true, status);
    return;
  }
  if (limitMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(limitMs));
  std::unique_lock lock(shared->mutex);
  if (shared->state != Init::Initializing) return;
  shared->state = Init::Failed;
  shared->status = Message(printer_messages::kInitTimedOut);
  VReportMessageParams status = shared->status;
  lock.unlock();
  // The host hears of the time-out as it would of any other outcome.
  Notify(shared, true, status);
}

// Under the lock. False when starting is not possible now.
bool StartIfNecessary(const std::shared_ptr<Shared>& shared) {
  if (!shared->enabled || shared->state != Init::NotStarted || !shared->installed) return false;
  shared->state = Init::Initializing;
  shared->status = Message(printer_messages::kInitializing);
  try {
    std::thread(RunLauncher, shared).detach();
  } catch (const std::system_error&) {
    shared->state = Init::Failed;
    shared->status = Message(printer_messages::kInitFailed);
    return false;
  }
  return true;
}

bool Apply(const std::shared_ptr<Shared>& shared, const PrinterSelection& asked,
           PrinterConfig* globalPrinter) {
  std::shared_ptr<IPrinterPlatform> platform;
  std::string folder;
  {
    std::lock_guard lock(shared->mutex);
    platform = shared->platform;
    folder = shared->configFolder;
  }
  if (!platform) return false;
  if (asked.name.empty()) {
    bool unused = false;
    VReportMessageParams ignored;
    WithinLimit(
        shared,
        [platform](bool&, VReportMessageParams&) {
          platform->UseDefaultPrinter();
          return true;
        },
        unused, ignored);
    return false;
  }
  PrinterSelection selection = asked;
  if (!folder.empty()) {
    PrinterCfgRecord record;
    std::vector<VReportMessageParams> problems;
    if (ReadPrinterCfgRecord(folder, selection.name, record, problems)) {
      if (record.orientation) selection.orientation = *record.orientation;
      if (record.paperSize) selection.paperSize = *record.paperSize;
      if (record.paperSource) selection.paperSource = *record.paperSource;
      if (globalPrinter) {
        globalPrinter->pageMargins = record.margins;
        globalPrinter->printerFont = record.font;
      }
    }
  }
  VReportMessageParams error;
  bool unused = false;
  return WithinLimit(
      shared,
      [platform, selection](bool&, VReportMessageParams& said) {
        return platform->UsePrinter(selection, said);
      },
      unused, error);
}

}  // namespace

PrinterSelection PrinterSelection::From(const VUnicodeString& name, const VUnicodeString& port,
                                        const PrinterConfig* config) {
  PrinterSelection selection;
  selection.name = name;
  selection.port = port;
  if (config) {
    selection.orientation = config->pageOrientation;
    selection.paperSize = config->paperSize;
    selection.paperSource = config->paperSource;
    selection.quality = config->printerQuality;
    selection.color = config->printerColor;
    selection.duplex = config->printerDuplex;
    selection.mediaType = config->printerMediaType;
  }
  return selection;
}

void PrinterSelection::StoreIn(PrinterConfig& config) const {
  config.printerName = name;
  config.pageOrientation = orientation;
  config.paperSize = paperSize;
  config.paperSource = paperSource;
  config.printerQuality = quality;
  config.printerColor = color;
  config.printerDuplex = duplex;
  config.printerMediaType = mediaType;
}

PrinterState::PrinterState() : shared_(std::make_shared<Shared>()) {}

PrinterState::~PrinterState() { Uninitialize(); }

PrinterState& PrinterState::Process() {
  // Never destroyed: detached threads may still report into it while the process exits.
  static PrinterState* process = new PrinterState;
  return *process;
}

void PrinterState::Initialize(bool enabled, uint64_t limitMs, Routine routine, Callback callback) {
  std::lock_guard lock(shared_->mutex);
  if (shared_->installed) return;
  shared_->installed = true;
  shared_->enabled = enabled;
  shared_->limitMs = limitMs;
  shared_->routine = std::move(routine);
  shared_->callback = std::move(callback);
  StartIfNecessary(shared_);
}

void PrinterState::Initialize(bool enabled, uint64_t limitMs,
                              std::shared_ptr<IPrinterPlatform> platform, Callback callback) {
  {
    std::lock_guard lock(shared_->mutex);
    if (shared_->installed) return;
    shared_->platform = platform;
  }
  Initialize(enabled, limitMs,
             [platform](VReportMessageParams& status) { return platform->Probe(status); },
             std::move(callback));
}

void PrinterState::Enable(bool on) {
  std::unique_lock lock(shared_->mutex);
  if (shared_->enabled == on) return;
  shared_->enabled = on;
  if (StartIfNecessary(shared_)) return;
  VReportMessageParams status = shared_->status;
  lock.unlock();
  Notify(shared_, true, status);
}

void PrinterState::Suspend(const VReportMessageParams& reason) {
  std::unique_lock lock(shared_->mutex);
  if (!shared_->enabled) return;
  if (shared_->state != Init::Succeeded && shared_->state != Init::Failed) return;
  shared_->state = Init::NotStarted;
  shared_->status = reason;
  lock.unlock();
  Notify(shared_, false, reason);
}

void PrinterState::Resume() {
  std::lock_guard lock(shared_->mutex);
  if (!shared_->routine || !shared_->enabled) return;
  if (shared_->state == Init::Initializing || shared_->state == Init::Uninitialized) return;
  shared_->state = Init::NotStarted;
  StartIfNecessary(shared_);
}

void PrinterState::Uninitialize() {
  std::unique_lock lock(shared_->mutex);
  if (shared_->state == Init::Uninitialized) return;
  auto limit = std::chrono::milliseconds(shared_->limitMs);
  shared_->idle.wait_for(lock, limit, [&] { return !shared_->busy; });
  shared_->state = Init::Uninitialized;
  shared_->status = Message(printer_messages::kUninitialized);
  shared_->pending.reset();
}

VReportMessageParams PrinterState::GetStatus() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->status;
}

Init PrinterState::State() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->state;
}

bool PrinterState::IsEnabled() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->enabled;
}

bool PrinterState::HasInitializationSucceeded() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->enabled && shared_->state == Init::Succeeded;
}

void PrinterState::SetConfigFolder(const std::string& folder) {
  std::lock_guard lock(shared_->mutex);
  shared_->configFolder = folder;
}

bool PrinterState::CacheCurrentPrinterSettingsIfNecessary(const PrinterSelection& selection) {
  std::lock_guard lock(shared_->mutex);
  if (shared_->enabled && shared_->state == Init::Succeeded) return false;
  shared_->pending = selection;
  return true;
}

bool PrinterState::SelectCurrentPrinter(const PrinterSelection& selection,
                                        PrinterConfig* globalPrinter) {
  if (CacheCurrentPrinterSettingsIfNecessary(selection)) return false;
  return Apply(shared_, selection, globalPrinter);
}

bool PrinterState::SelectCurrentPrinter(const VUnicodeString& name, const VUnicodeString& port,
                                        const PrinterConfig* config, PrinterConfig* globalPrinter) {
  return SelectCurrentPrinter(PrinterSelection::From(name, port, config), globalPrinter);
}

bool PrinterState::SelectCurrentPrinter(const SessionConfig* session, GlobalConfig* global) {
  if (!HasInitializationSucceeded()) return false;
  PrinterConfig* globalPrinter = global ? &global->printer : nullptr;
  const PrinterConfig* chosen = globalPrinter;
  if (session && !session->useGlobalPrintSettings) chosen = &session->printer;
  if (!chosen) return SelectCurrentPrinter(PrinterSelection(), globalPrinter);
  VUnicodeString port;
  if (chosen->usePrinterPort) port = chosen->printerPort.port;
  return SelectCurrentPrinter(chosen->printerName, port, chosen, globalPrinter);
}

bool PrinterState::HasDefaultPrinter() {
  auto platform = Platform();
  if (!HasInitializationSucceeded() || !platform) return false;
  bool has = false;
  VReportMessageParams ignored;
  WithinLimit(
      shared_,
      [platform](bool& out, VReportMessageParams&) {
        out = platform->HasDefaultPrinter();
        return true;
      },
      has, ignored);
  return has;
}

VUnicodeString PrinterState::CurrentPrinterName() {
  auto platform = Platform();
  return platform && HasInitializationSucceeded() ? platform->CurrentPrinterName() : VUnicodeString();
}

std::shared_ptr<IPrinterPlatform> PrinterState::Platform() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->platform;
}

bool PrinterState::CalculateMarginLimits(MarginLimits& limits, VReportMessageParams& error) {
  auto platform = Platform();
  if (!platform || !HasInitializationSucceeded()) {
    error.Reset(printer_messages::kNoPrinterAvailable);
    return false;
  }
  PrinterPageGeometry page;
  if (!WithinLimit(
          shared_,
          [platform](PrinterPageGeometry& out, VReportMessageParams& said) {
            return platform->CurrentPageGeometry(out, said);
          },
          page, error)) {
    return false;
  }
  return ComputeMarginLimits(page, platform->CurrentPrinterName(), limits, error);
}

bool PrinterState::CalculateMargins(PrintMargins& margins, MarginLimits& limits,
                                    VReportMessageParams& error) {
  if (!CalculateMarginLimits(limits, error)) return false;
  MarginsInPrintableArea(limits, margins);
  return true;
}

MarginValidationResult PrinterState::ValidateMargin(const VMarginData& margins, MarginSide side,
                                                    double& minimum, VReportMessageParams& message) {
  MarginLimits limits;
  if (!CalculateMarginLimits(limits, message)) return MarginValidationResult::Unavailable;
  return CheckMargin(margins, side, limits, minimum, message);
}

MarginValidationResult PrinterState::ValidateMargins(const VMarginData& margins,
                                                     VReportMessageParams& message) {
  MarginLimits limits;
  if (!CalculateMarginLimits(limits, message)) return MarginValidationResult::Unavailable;
  return CheckMargins(margins, limits, message);
}
