// The print system as Qt's print support sees it (CUPS on Linux): the printers it lists, the
// application's printer and the printable area of its page, and Print Setup.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "config/parts/printer_config.h"
#include "environment/printer_state.h"

class QPrinter;
class QWidget;

// Device-mode paper size codes and the page sizes they name; 0 when Qt's size has no code here.
int PaperSizeCode(int qtPageSizeId);
int QtPageSizeId(int paperSizeCode);  // -1 when the code is not known

class QtPrinterPlatform : public IPrinterPlatform {
 public:
  QtPrinterPlatform();
  ~QtPrinterPlatform() override;

  bool Probe(VReportMessageParams& status) override;
  bool HasDefaultPrinter() override;
  void UseDefaultPrinter() override;
  bool UsePrinter(const PrinterSelection& selection, VReportMessageParams& error) override;
  VUnicodeString CurrentPrinterName() override;
  bool CurrentPageGeometry(PrinterPageGeometry& page, VReportMessageParams& error) override;

  // Shows the print dialog on the application's printer; returns whether it was accepted. Tests
  // answer it through a runner instead.
  using DialogRunner = std::function<bool(QWidget* parent, QPrinter& printer)>;
  void SetDialogRunner(DialogRunner runner);
  // Print Setup: the configuration's printer first, then the dialog; on OK the printer chosen
  // becomes the application's and its page set-up and name go back into `config`.
  bool RunPrintSetup(QWidget* parent, PrinterConfig& config, VReportMessageParams& error);

 private:
  std::mutex mutex_;
  std::unique_ptr<QPrinter> printer_;
  PrinterSelection selection_;
  DialogRunner runner_;
};

// Starts the process's printer state on Qt's print system (only the first call counts) and
// returns that print system, which the printer panels use for Print Setup.
std::shared_ptr<QtPrinterPlatform> StartProcessPrinting(bool enabled, uint64_t limitMs,
                                                        PrinterState::Callback callback);
