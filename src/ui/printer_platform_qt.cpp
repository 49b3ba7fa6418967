#include "ui/printer_platform_qt.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "environment/printer_messages.h"
#include "marrowby/qt_text.h"

namespace {

struct PaperCode {
  int code;
  QPageSize::PageSizeId id;
};
constexpr PaperCode kPaperCodes[] = {
    {1, QPageSize::Letter},     {3, QPageSize::Tabloid}, {5, QPageSize::Legal},
    {7, QPageSize::Executive},  {8, QPageSize::A3},      {9, QPageSize::A4},
    {11, QPageSize::A5},        {13, QPageSize::B5},     {20, QPageSize::Comm10E},
    {27, QPageSize::DLE},       {28, QPageSize::C5E},    {34, QPageSize::B4},
};

constexpr int kLandscape = 2;
constexpr int kColor = 2;
constexpr int kDuplexVertical = 2;
constexpr int kDuplexHorizontal = 3;

void Configure(QPrinter& printer, const PrinterSelection& selection) {
  printer.setPageOrientation(selection.orientation == kLandscape ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
  int id = QtPageSizeId(selection.paperSize);
  if (id >= 0) printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(id)));
  printer.setColorMode(selection.color == kColor ? QPrinter::Color : QPrinter::GrayScale);
  printer.setDuplex(selection.duplex == kDuplexVertical     ? QPrinter::DuplexLongSide
                    : selection.duplex == kDuplexHorizontal ? QPrinter::DuplexShortSide
                                                            : QPrinter::DuplexNone);
}

void Unavailable(const VUnicodeString& name, VReportMessageParams& error) {
  error.Reset(printer_messages::kPrinterUnavailable);
  error.AddInsert(name);
}

}  // namespace

int PaperSizeCode(int qtPageSizeId) {
  for (const PaperCode& paper : kPaperCodes) {
    if (paper.id == qtPageSizeId) return paper.code;
  }
  return 0;
}

int QtPageSizeId(int paperSizeCode) {
  for (const PaperCode& paper : kPaperCodes) {
    if (paper.code == paperSizeCode) return paper.id;
  }
  return -1;
}

QtPrinterPlatform::QtPrinterPlatform() = default;
QtPrinterPlatform::~QtPrinterPlatform() = default;

bool QtPrinterPlatform::Probe(VReportMessageParams& status) {
  // Listing the printers is what makes the print system answer (or not) the first time.
  (void)QPrinterInfo::availablePrinterNames();
  status.Reset(printer_messages::kStatusUnavailable);
  return true;
}

bool QtPrinterPlatform::HasDefaultPrinter() {
  return !QPrinterInfo::defaultPrinterName().isEmpty();
}

void QtPrinterPlatform::UseDefaultPrinter() {
  std::lock_guard lock(mutex_);
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  printer_ = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                           : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  selection_ = PrinterSelection();
  selection_.name = FromQString(info.printerName());
}

bool QtPrinterPlatform::UsePrinter(const PrinterSelection& selection, VReportMessageParams& error) {
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(selection.name));
  if (info.isNull()) {
    Unavailable(selection.name, error);
    return false;
  }
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  Configure(*printer, selection);
  std::lock_guard lock(mutex_);
  printer_ = std::move(printer);
  selection_ = selection;
  return true;
}

VUnicodeString QtPrinterPlatform::CurrentPrinterName() {
  std::lock_guard lock(mutex_);
  return printer_ ? FromQString(printer_->printerName()) : VUnicodeString();
}

bool QtPrinterPlatform::CurrentPageGeometry(PrinterPageGeometry& page, VReportMessageParams& error) {
  QString name;
  {
    std::lock_guard lock(mutex_);
    if (printer_) name = printer_->printerName();
  }
  // Asked again each time: the printer may have gone since it was chosen. Not under the lock:
  // a print server that does not answer must not hold the printer's name from other callers.
  if (name.isEmpty() || QPrinterInfo::printerInfo(name).isNull()) {
    Unavailable(FromQString(name), error);
    return false;
  }
  std::lock_guard lock(mutex_);
  if (!printer_ || printer_->printerName() != name) {
    Unavailable(FromQString(name), error);
    return false;
  }
  QPageLayout layout = printer_->pageLayout();
  QRectF paper = layout.fullRect(QPageLayout::Point);
  QMarginsF least = layout.minimumMargins();  // the printer's unprintable edges, in points
  if (layout.units() != QPageLayout::Point) {
    QPageLayout inPoints = layout;
    inPoints.setUnits(QPageLayout::Point);
    least = inPoints.minimumMargins();
  }
  double dpi = printer_->resolution();
  double scale = dpi / 72.0;
  page.pixelsPerInchX = page.pixelsPerInchY = dpi;
  page.paperWidth = paper.width() * scale;
  page.paperHeight = paper.height() * scale;
  page.physicalOffsetX = least.left() * scale;
  page.physicalOffsetY = least.top() * scale;
  page.printableWidth = (paper.width() - least.left() - least.right()) * scale;
  page.printableHeight = (paper.height() - least.top() - least.bottom()) * scale;
  return true;
}

void QtPrinterPlatform::SetDialogRunner(DialogRunner runner) { runner_ = std::move(runner); }

bool QtPrinterPlatform::RunPrintSetup(QWidget* parent, PrinterConfig& config,
                                      VReportMessageParams& error) {
  VUnicodeString name = config.printerName;
  PrinterSelection selection = PrinterSelection::From(name, u"", &config);
  if (name.empty() || !UsePrinter(selection, error)) {
    error.Reset(0);
    UseDefaultPrinter();
  }
  QPrinter* printer = nullptr;
  {
    std::lock_guard lock(mutex_);
    printer = printer_.get();
    if (!printer_->isValid() || printer_->printerName().isEmpty()) {
      Configure(*printer_, selection);
    }
  }
  bool accepted = false;
  if (runner_) {
    accepted = runner_(parent, *printer);
  } else {
    QPrintDialog dialog(printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    accepted = dialog.exec() == QDialog::Accepted;
  }
  if (!accepted) return false;
  std::lock_guard lock(mutex_);
  config.printerName = FromQString(printer->printerName());
  config.pageOrientation =
      printer->pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : 1;
  int code = PaperSizeCode(printer->pageLayout().pageSize().id());
  if (code != 0) config.paperSize = code;
  config.printerColor = printer->colorMode() == QPrinter::Color ? kColor : 1;
  QPrinter::DuplexMode duplex = printer->duplex();
  config.printerDuplex = duplex == QPrinter::DuplexLongSide    ? kDuplexVertical
                         : duplex == QPrinter::DuplexShortSide ? kDuplexHorizontal
                                                               : 1;
  selection_ = PrinterSelection::From(config.printerName, u"", &config);
  return true;
}

std::shared_ptr<QtPrinterPlatform> StartProcessPrinting(bool enabled, uint64_t limitMs,
                                                        PrinterState::Callback callback) {
  static std::mutex mutex;
  static std::shared_ptr<QtPrinterPlatform> platform;
  std::lock_guard lock(mutex);
  if (!platform) {
    platform = std::make_shared<QtPrinterPlatform>();
    PrinterState::Process().Initialize(enabled, limitMs, platform, std::move(callback));
  }
  return platform;
}
