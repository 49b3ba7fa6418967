#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

#include "environment/printer_messages.h"
#include "support/fake_printer_platform.h"
#include "platform/file_system.h"
#include "support/test_support.h"
#include "ui/print_plugin.h"
#include "ui/printer_platform_qt.h"
#include "ui_test_helpers.h"

namespace {

using uitest::MessageBoxRecorder;

// A printer state that has answered, with the printers the test gives.
struct FakePrinting {
  std::shared_ptr<FakePrinterPlatform> platform = std::make_shared<FakePrinterPlatform>();
  PrinterState state;
  std::mutex mutex;
  std::condition_variable done;
  bool answered = false;

  FakePrinting() { platform->AddPrinter(u"office", FakePrinterPlatform::Letter(0.25, 0.25)); }
  void Start() {
    state.Initialize(true, 60000, platform, [this](bool, const VReportMessageParams&) {
      std::lock_guard lock(mutex);
      answered = true;
      done.notify_all();
    });
    std::unique_lock lock(mutex);
    ASSERT_TRUE(done.wait_for(lock, std::chrono::minutes(1), [&] { return answered; }));
    ASSERT_TRUE(state.HasInitializationSucceeded());
  }
};

PrinterConfig OfficeConfig() {
  PrinterConfig config;
  config.Load(nullptr);
  config.printerName = VUnicodeString(u"office");
  config.usePrinterPort = true;
  config.printerPort.port = VUnicodeString(u"/dev/lp1");
  config.forceBlackOnWhite = true;
  return config;
}

TEST(PrintPluginTest, ShowsTheConfigurationAndStoresItWithoutAPrinter) {
  PrinterState state;  // printing never started: nothing to check margins against
  PrintPlugin panel(PrintPlugin::Page::Session, state, nullptr);
  PrinterConfig config = OfficeConfig();
  panel.Load(config);
  EXPECT_EQ(panel.MarginField(MarginSide::Left)->text(), QStringLiteral("0.5"));
  EXPECT_EQ(panel.FontLabel()->text(), QStringLiteral("Font: Courier New 10pt"));
  EXPECT_EQ(panel.PrinterLabel()->text(), QStringLiteral("Printer: office"));
  EXPECT_EQ(panel.findChild<QComboBox*>()->currentText(), QStringLiteral("/dev/lp1"));
  EXPECT_EQ(panel.findChildren<QCheckBox*>().size(), 5);  // no Print Screen key on a session

  panel.MarginField(MarginSide::Top)->setText(QStringLiteral("1.25"));
  panel.findChild<QComboBox*>()->setCurrentText(QStringLiteral(" /dev/usb/lp0 "));
  PrinterConfig saved;
  ASSERT_TRUE(panel.Save(saved));
  EXPECT_EQ(static_cast<VMarginData>(saved.pageMargins), (VMarginData{0.5, 0.5, 1.25, 0.5}));
  EXPECT_EQ(static_cast<const VUnicodeString&>(saved.printerName), u"office");
  EXPECT_EQ(static_cast<const VUnicodeString&>(saved.printerPort.port), u"/dev/usb/lp0");
  EXPECT_TRUE(saved.usePrinterPort);
  EXPECT_TRUE(saved.forceBlackOnWhite);
  EXPECT_FALSE(saved.useRawMode);

  PrinterConfig defaults;
  defaults.Load(nullptr);
  PrintPlugin global(PrintPlugin::Page::Global, state, nullptr);
  global.Load(defaults, true);
  EXPECT_EQ(global.PrinterLabel()->text(), QStringLiteral("Printer: (default printer)"));
  bool printScreen = false;
  ASSERT_TRUE(global.Save(defaults, &printScreen));
  EXPECT_TRUE(printScreen);
}

TEST(PrintPluginTest, AMarginThatIsNotANumberIsRefusedNotTakenAsZero) {
  PrinterState state;
  PrintPlugin panel(PrintPlugin::Page::Session, state, nullptr);
  PrinterConfig config = OfficeConfig();
  panel.Load(config);
  panel.MarginField(MarginSide::Bottom)->setText(QStringLiteral("half"));
  MessageBoxRecorder boxes;
  PrinterConfig saved;
  saved.Load(nullptr);
  EXPECT_FALSE(panel.Save(saved));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            QStringLiteral("'half' is not a number of inches for the bottom margin."));
  EXPECT_EQ(static_cast<VMarginData>(saved.pageMargins), PrinterConfig::DefaultMargins());
  EXPECT_FALSE(panel.CheckMarginField(MarginSide::Bottom));
  EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST(PrintPluginTest, MarginsAreCheckedAgainstThePrinterTheConfigurationNames) {
  FakePrinting printing;
  printing.Start();
  PrintPlugin panel(PrintPlugin::Page::Session, printing.state, nullptr);
  PrinterConfig config = OfficeConfig();
  panel.Load(config);
  MessageBoxRecorder boxes;

  panel.MarginField(MarginSide::Left)->setText(QStringLiteral("0.1"));
  EXPECT_FALSE(panel.CheckMarginField(MarginSide::Left));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            QStringLiteral("Please modify the print margin value(s) to adhere to the following:\n"
                           "\nThe minimum left margin is 0.25"));
  EXPECT_EQ(printing.state.CurrentPrinterName(), u"office");
  panel.MarginField(MarginSide::Left)->setText(QStringLiteral("0.3"));
  EXPECT_TRUE(panel.CheckMarginField(MarginSide::Left));

  panel.MarginField(MarginSide::Left)->setText(QStringLiteral("5"));
  panel.MarginField(MarginSide::Right)->setText(QStringLiteral("4"));
  PrinterConfig saved;
  EXPECT_FALSE(panel.Save(saved));
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[1].text, QStringLiteral("Margins are either off the page or overlap"));
  panel.MarginField(MarginSide::Right)->setText(QStringLiteral("0.5"));
  EXPECT_TRUE(panel.Save(saved));
  EXPECT_EQ(saved.pageMargins.left, 5);

  // The printer went away: the limits are unknown, which does not keep the page open.
  printing.platform->RemovePrinter(u"office");
  EXPECT_TRUE(panel.Save(saved));
  EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST(PrintPluginTest, UnusableUntilReenabledPrintingIsSaved) {
  PrinterState state;
  PrintPlugin panel(PrintPlugin::Page::Global, state, std::make_shared<QtPrinterPlatform>());
  PrinterConfig config;
  config.Load(nullptr);
  panel.Load(config);
  panel.show();
  panel.SetAwaitingReenable(true);
  EXPECT_TRUE(panel.ReenableLabel()->isVisible());
  EXPECT_TRUE(panel.ReenableLabel()->text().startsWith(
      QStringLiteral("The printer settings cannot be modified until the change to re-enable")));
  EXPECT_FALSE(panel.MarginField(MarginSide::Left)->isEnabled());
  panel.SetAwaitingReenable(false);
  EXPECT_TRUE(panel.MarginField(MarginSide::Left)->isEnabled());
  uitest::ExpectMnemonicsUnique(&panel);

  // Pass-through options follow their switches.
  auto boxes = panel.findChildren<QCheckBox*>();
  QCheckBox* disable = boxes[0];
  disable->setChecked(true);
  EXPECT_FALSE(panel.findChild<QComboBox*>()->isEnabled());
  EXPECT_FALSE(boxes[1]->isEnabled());

  // The picture of the panel in the documentation comes from here.
  panel.resize(panel.sizeHint().expandedTo(QSize(460, 0)));
  disable->setChecked(false);
  QImage picture = panel.grab().toImage();
  EXPECT_FALSE(picture.isNull());
  std::string folder = std::string(QUILLANE_BINARY_DIR) + "/grabs";
  ASSERT_TRUE(vfs::CreateFolderTree(folder, 0755).ok());
  EXPECT_TRUE(picture.save(QString::fromStdString(folder + "/printer-panel.png"), "PNG"));
}

TEST(QtPrinterPlatformTest, PaperCodesAndAPrinterThatIsNotThere) {
  for (int code : {1, 5, 8, 9, 11}) EXPECT_EQ(PaperSizeCode(QtPageSizeId(code)), code);
  EXPECT_EQ(QtPageSizeId(9), QPageSize::A4);
  EXPECT_EQ(QtPageSizeId(999), -1);
  EXPECT_EQ(PaperSizeCode(QPageSize::Ledger), 0);

  QtPrinterPlatform platform;
  VReportMessageParams error;
  PrinterSelection selection;
  selection.name = u"no printer of this name";
  EXPECT_FALSE(platform.UsePrinter(selection, error));
  EXPECT_EQ(error.GetTextOneLineTrimmed(), u"The printer 'no printer of this name' is not available.");
  PrinterPageGeometry page;
  VReportMessageParams gone;
  EXPECT_FALSE(platform.CurrentPageGeometry(page, gone));
  EXPECT_EQ(gone.GetMessageId(), printer_messages::kPrinterUnavailable);
}

TEST(QtPrinterPlatformTest, StartingThePrintSystemEndsUnderTheTimeLimit) {
  // Whatever this machine's print system does, the start settles: answered or timed out.
  struct Heard {
    std::mutex mutex;
    std::condition_variable done;
    uint32_t outcome = 0;
  };
  auto heard = std::make_shared<Heard>();
  auto platform = StartProcessPrinting(true, 20000, [heard](bool, const VReportMessageParams& status) {
    std::lock_guard lock(heard->mutex);
    if (!heard->outcome) heard->outcome = status.GetMessageId();
    heard->done.notify_all();
  });
  ASSERT_TRUE(platform);
  EXPECT_EQ(StartProcessPrinting(false, 0, nullptr), platform);  // the first call counts
  std::unique_lock lock(heard->mutex);
  ASSERT_TRUE(heard->done.wait_for(lock, std::chrono::minutes(1), [&] { return heard->outcome != 0; }));
  EXPECT_TRUE(heard->outcome == printer_messages::kInitSucceeded ||
              heard->outcome == printer_messages::kInitTimedOut);
  if (heard->outcome == printer_messages::kInitSucceeded) {
    EXPECT_TRUE(PrinterState::Process().HasInitializationSucceeded());
  }
}

TEST(QtPrinterPlatformTest, PrintSetupCopiesThePrintersChoicesBack) {
  QtPrinterPlatform platform;
  PrinterConfig config;
  config.Load(nullptr);
  VReportMessageParams error;
  platform.SetDialogRunner([](QWidget*, QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDuplex(QPrinter::DuplexLongSide);
    return true;
  });
  ASSERT_TRUE(platform.RunPrintSetup(nullptr, config, error));
  EXPECT_EQ(config.pageOrientation, 2);
  EXPECT_EQ(config.paperSize, 9);
  EXPECT_EQ(config.paperSource, 7);  // the print dialog does not choose it

  PrinterConfig untouched;
  untouched.Load(nullptr);
  platform.SetDialogRunner([](QWidget*, QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    return false;
  });
  EXPECT_FALSE(platform.RunPrintSetup(nullptr, untouched, error));
  EXPECT_EQ(untouched.pageOrientation, 1);
}

}  // namespace

namespace {

TEST(PrintPluginTest, PrintSetupChoicesAreSavedWithThePanel) {
  PrinterState state;
  auto platform = std::make_shared<QtPrinterPlatform>();
  platform->SetDialogRunner([](QWidget*, QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::Legal));
    return true;
  });
  PrintPlugin panel(PrintPlugin::Page::Session, state, platform);
  PrinterConfig config = OfficeConfig();
  panel.Load(config);
  panel.RunPrintSetup();
  PrinterConfig saved;
  saved.Load(nullptr);
  ASSERT_TRUE(panel.Save(saved));
  EXPECT_EQ(saved.pageOrientation, 2);
  EXPECT_EQ(saved.paperSize, 5);
  EXPECT_EQ(saved.paperSource, 7);
}

}  // namespace

namespace {

TEST(QtPrinterPlatformTest, PrintSetupShowsQtsPrintDialogAndCancelChangesNothing) {
  QtPrinterPlatform platform;
  PrinterConfig config;
  config.Load(nullptr);
  config.pageOrientation = 2;
  auto seen = uitest::WhenModal<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
  VReportMessageParams error;
  EXPECT_FALSE(platform.RunPrintSetup(nullptr, config, error));
  EXPECT_TRUE(*seen);
  EXPECT_FALSE(error.IsError());
  EXPECT_EQ(config.pageOrientation, 2);
  EXPECT_EQ(static_cast<const VUnicodeString&>(config.printerName), u"");
}

}  // namespace
