// The process's printer: a background start of the print system that may hang and therefore
// runs on detached threads under a time limit, the current printer chosen from a printer
// configuration, and the margin checks against the printable area of that printer. The print
// system is reached through IPrinterPlatform, so that all of this runs without it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "config/global/global_config.h"
#include "config/parts/printer_config.h"
#include "config/session/session_config.h"
#include "environment/printer_margins.h"
#include "report/report_message_params.h"

// A printer and the page set-up asked of it (printer device-mode codes).
struct PrinterSelection {
  VUnicodeString name;  // empty: the print system's default printer
  VUnicodeString port;
  int orientation = 1;
  int paperSize = 1;
  int paperSource = 7;
  int quality = -3;
  int color = 1;
  int duplex = 1;
  int mediaType = 1;

  // The values of `config`, or the defaults above without one.
  static PrinterSelection From(const VUnicodeString& name, const VUnicodeString& port,
                               const PrinterConfig* config);
  // Stores the name and the seven page set-up values in `config` (the port stays).
  void StoreIn(PrinterConfig& config) const;
  bool operator==(const PrinterSelection& other) const = default;
};

class IPrinterPlatform {
 public:
  virtual ~IPrinterPlatform() = default;
  // Asks the print system which printers there are. It may never return: only the
  // initialisation worker calls it.
  virtual bool Probe(VReportMessageParams& status) = 0;
  virtual bool HasDefaultPrinter() = 0;
  // Makes the print system's default printer the application's printer.
  virtual void UseDefaultPrinter() = 0;
  // Makes the named printer the application's printer with the selection's page set-up; false
  // with a message when it cannot be opened.
  virtual bool UsePrinter(const PrinterSelection& selection, VReportMessageParams& error) = 0;
  virtual VUnicodeString CurrentPrinterName() = 0;
  // The page of the application's printer as the print system reports it now; false with a
  // message when the printer has gone.
  virtual bool CurrentPageGeometry(PrinterPageGeometry& page, VReportMessageParams& error) = 0;
};

class PrinterState {
 public:
  enum class Init { NotStarted = 0, Initializing = 1, Succeeded = 2, Failed = 3, Uninitialized = 4 };
  using Routine = std::function<bool(VReportMessageParams& status)>;
  using Callback = std::function<void(bool ready, const VReportMessageParams& status)>;

  PrinterState();
  ~PrinterState();
  PrinterState(const PrinterState&) = delete;
  PrinterState& operator=(const PrinterState&) = delete;

  // The one the host uses.
  static PrinterState& Process();

  // Only the first call takes effect. The callback runs on the worker threads, outside the lock.
  void Initialize(bool enabled, uint64_t limitMs, Routine routine, Callback callback);
  // Installs the platform's probe as the routine and the platform for selections and limits.
  void Initialize(bool enabled, uint64_t limitMs, std::shared_ptr<IPrinterPlatform> platform,
                  Callback callback);
  void Enable(bool on);
  void Suspend(const VReportMessageParams& reason);
  void Resume();
  // Waits for a running probe for at most the time limit: a print system that does not answer
  // cannot hold the host at exit. Final.
  void Uninitialize();

  VReportMessageParams GetStatus() const;
  Init State() const;
  bool IsEnabled() const;
  bool HasInitializationSucceeded() const;

  // Where PRINTER.CFG is looked for.
  void SetConfigFolder(const std::string& folder);

  // Before initialisation has succeeded the selection is kept and applied when it does, and
  // false is returned. An empty name means the default printer (false). The record of the
  // printer in PRINTER.CFG overrides the page set-up; its margins and font go into
  // `globalPrinter` when given.
  bool SelectCurrentPrinter(const PrinterSelection& selection,
                            PrinterConfig* globalPrinter = nullptr);
  bool SelectCurrentPrinter(const VUnicodeString& name, const VUnicodeString& port,
                            const PrinterConfig* config, PrinterConfig* globalPrinter = nullptr);
  // The session's printer, or the global one when the session uses the global print settings
  // (or there is no session). Only once initialisation has succeeded.
  bool SelectCurrentPrinter(const SessionConfig* session, GlobalConfig* global);
  // True when stored for later: initialisation has not succeeded yet.
  bool CacheCurrentPrinterSettingsIfNecessary(const PrinterSelection& selection);
  bool HasDefaultPrinter();
  VUnicodeString CurrentPrinterName();
  std::shared_ptr<IPrinterPlatform> Platform() const;

  bool CalculateMarginLimits(MarginLimits& limits, VReportMessageParams& error);
  bool CalculateMargins(PrintMargins& margins, MarginLimits& limits, VReportMessageParams& error);
  MarginValidationResult ValidateMargin(const VMarginData& margins, MarginSide side,
                                        double& minimum, VReportMessageParams& message);
  MarginValidationResult ValidateMargins(const VMarginData& margins,
                                         VReportMessageParams& message);

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};
