#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "support/fake_printer_platform.h"
#include "support/test_support.h"

namespace {

using Init = PrinterState::Init;
using qtest::TempDir;
using qtest::WriteFile;
namespace pm = printer_messages;

// Collects what the printer state tells the host, from whichever thread it comes.
class Reports {
 public:
  PrinterState::Callback Callback() {
    return [this](bool ready, const VReportMessageParams& status) {
      std::lock_guard lock(mutex_);
      calls_.push_back({ready, status.GetMessageId()});
      arrived_.notify_all();
    };
  }
  // The first report whose id is `id`, waiting up to a minute for it.
  bool WaitFor(uint32_t id, bool* ready = nullptr) {
    std::unique_lock lock(mutex_);
    bool seen = arrived_.wait_for(lock, std::chrono::minutes(1), [&] {
      for (auto& call : calls_) {
        if (call.second == id) {
          if (ready) *ready = call.first;
          return true;
        }
      }
      return false;
    });
    return seen;
  }
  // Waits up to a minute for the `n`th report whose id is `id`.
  bool WaitForCount(uint32_t id, size_t n) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::minutes(1), [&] {
      size_t seen = 0;
      for (auto& call : calls_) seen += call.second == id;
      return seen >= n;
    });
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<std::pair<bool, uint32_t>> calls_;
};

struct Started {
  std::shared_ptr<FakePrinterPlatform> platform = std::make_shared<FakePrinterPlatform>();
  Reports reports;
  PrinterState state;

  void Start(uint64_t limitMs = 60000, bool enabled = true) {
    state.Initialize(enabled, limitMs, platform, reports.Callback());
  }
  void StartAndWait() {
    Start();
    ASSERT_TRUE(reports.WaitFor(pm::kInitSucceeded));
  }
};

TEST(PrinterStateTest, AProbeThatNeverAnswersTimesOutAndCannotHoldTheHost) {
  Started s;
  s.platform->Hold();
  s.Start(300);
  EXPECT_EQ(s.state.State(), Init::Initializing);
  EXPECT_EQ(s.state.GetStatus().GetMessageId(), pm::kInitializing);
  bool ready = false;
  ASSERT_TRUE(s.reports.WaitFor(pm::kInitTimedOut, &ready));
  EXPECT_TRUE(ready);
  EXPECT_EQ(s.state.State(), Init::Failed);
  EXPECT_FALSE(s.state.HasInitializationSucceeded());
  EXPECT_EQ(s.state.GetStatus().GetTextOneLineTrimmed(), u"Printer initialization timed out");
  // Nothing of the printer is reachable while the print system does not answer.
  VReportMessageParams error;
  double minimum = 0;
  EXPECT_EQ(s.state.ValidateMargin(PrinterConfig::DefaultMargins(), MarginSide::Left, minimum, error),
            MarginValidationResult::Unavailable);
  EXPECT_EQ(error.GetMessageId(), pm::kNoPrinterAvailable);
  // An answer that comes late is still recorded.
  s.platform->Release();
  ASSERT_TRUE(s.reports.WaitFor(pm::kInitSucceeded));
  EXPECT_TRUE(s.state.HasInitializationSucceeded());
}

TEST(PrinterStateTest, UninitializeDoesNotWaitForeverForAHangingProbeAndIsFinal) {
  Started s;
  s.platform->Hold();
  s.Start(200);
  s.state.Uninitialize();
  EXPECT_EQ(s.state.State(), Init::Uninitialized);
  EXPECT_EQ(s.state.GetStatus().GetMessageId(), pm::kUninitialized);
  s.platform->Release();
  s.state.Resume();
  s.state.Enable(false);
  s.state.Enable(true);
  EXPECT_EQ(s.state.State(), Init::Uninitialized);
  EXPECT_FALSE(s.state.HasInitializationSucceeded());
}

TEST(PrinterStateTest, OutcomeAndTheProbesOwnMessage) {
  {
    Started s;
    s.platform->SetProbeResult(false, pm::kNoPrinterAvailable);
    s.Start();
    ASSERT_TRUE(s.reports.WaitFor(pm::kOutcomeWithDetail));
    EXPECT_EQ(s.state.State(), Init::Failed);
    EXPECT_EQ(s.state.GetStatus().GetTextOneLineTrimmed(),
              u"Printer initialization failed: No printer is available.");
  }
  {
    // "Status information unavailable" adds nothing worth showing.
    Started s;
    s.StartAndWait();
    EXPECT_EQ(s.state.GetStatus().GetMessageId(), pm::kInitSucceeded);
    // Only the first call takes effect.
    Reports other;
    s.state.Initialize(false, 0, [](VReportMessageParams&) { return false; }, other.Callback());
    EXPECT_TRUE(s.state.HasInitializationSucceeded());
  }
}

TEST(PrinterStateTest, EnableSuspendAndResume) {
  Started s;
  s.Start(60000, false);
  EXPECT_EQ(s.state.State(), Init::NotStarted);
  s.state.Enable(true);
  ASSERT_TRUE(s.reports.WaitFor(pm::kInitSucceeded));

  // A suspend while initialising does nothing.
  s.platform->Hold();
  s.state.Resume();
  EXPECT_EQ(s.state.State(), Init::Initializing);
  s.state.Suspend(VReportMessageParams(pm::kHibernating));
  EXPECT_EQ(s.state.State(), Init::Initializing);
  s.platform->Release();
  s.state.Uninitialize();  // waits for the worker, which answers now

  Started t;
  t.StartAndWait();
  t.state.Suspend(VReportMessageParams(pm::kHibernating));
  bool ready = true;
  ASSERT_TRUE(t.reports.WaitFor(pm::kHibernating, &ready));
  EXPECT_FALSE(ready);
  EXPECT_EQ(t.state.State(), Init::NotStarted);
  EXPECT_EQ(t.state.GetStatus().GetMessageId(), pm::kHibernating);
  EXPECT_FALSE(t.state.HasInitializationSucceeded());
  t.state.Resume();
  // A second report of success: one per start.
  EXPECT_TRUE(t.reports.WaitForCount(pm::kInitSucceeded, 2));
  EXPECT_TRUE(t.state.HasInitializationSucceeded());

  // Switching printing off is told to the host with the current status.
  t.state.Enable(false);
  EXPECT_FALSE(t.state.HasInitializationSucceeded());
  EXPECT_TRUE(t.reports.WaitForCount(pm::kInitSucceeded, 3));
}

TEST(PrinterStateTest, ASelectionMadeDuringInitialisationIsAppliedWhenItSucceeds) {
  Started s;
  s.platform->AddPrinter(u"office", FakePrinterPlatform::Letter(0.25, 0.25));
  s.platform->Hold();
  s.Start();
  PrinterConfig config;
  config.pageOrientation = 2;
  config.printerDuplex = 3;
  PrinterSelection asked = PrinterSelection::From(u"office", u"", &config);
  EXPECT_FALSE(s.state.SelectCurrentPrinter(asked));
  EXPECT_EQ(s.platform->UseCount(), 0);
  s.platform->Release();
  ASSERT_TRUE(s.reports.WaitFor(pm::kInitSucceeded));
  EXPECT_EQ(s.platform->UseCount(), 1);
  EXPECT_EQ(s.platform->LastSelection(), asked);
  EXPECT_EQ(s.state.CurrentPrinterName(), u"office");
}

TEST(PrinterStateTest, SelectionFromSessionOrGlobalAndThePrinterFile) {
  TempDir dir;
  Started s;
  s.platform->AddPrinter(u"office", FakePrinterPlatform::Letter(0.25, 0.25));
  s.platform->AddPrinter(u"lab", FakePrinterPlatform::Letter(0.1, 0.1));
  s.state.SetConfigFolder(dir.Path());
  GlobalConfig global(0);
  VRef<SessionConfig> sessionRef(new SessionConfig(u"lab session"));
  SessionConfig& session = *sessionRef.Get();
  global.printer.printerName = VUnicodeString(u"office");
  session.printer.printerName = VUnicodeString(u"lab");
  session.printer.paperSize = 9;
  // Before initialisation a session selects nothing.
  EXPECT_FALSE(s.state.SelectCurrentPrinter(&session, &global));
  s.StartAndWait();

  session.useGlobalPrintSettings = true;
  EXPECT_TRUE(s.state.SelectCurrentPrinter(&session, &global));
  EXPECT_EQ(s.state.CurrentPrinterName(), u"office");
  session.useGlobalPrintSettings = false;
  EXPECT_TRUE(s.state.SelectCurrentPrinter(&session, &global));
  EXPECT_EQ(s.state.CurrentPrinterName(), u"lab");
  EXPECT_EQ(s.platform->LastSelection().paperSize, 9);
  // No session: the global printer.
  EXPECT_TRUE(s.state.SelectCurrentPrinter(nullptr, &global));
  EXPECT_EQ(s.state.CurrentPrinterName(), u"office");

  // The older file's record overrides the page set-up and gives the global margins and font.
  WriteFile(dir.Path() + "/PRINTER.CFG",
            "Printer Name=lab\r\nOrientation=2\r\nPaper Size=5\r\nLeft Margin=1.25\r\n"
            "Printer Font=90,-12,0,0,0,700,0,0,0,0,0,0,0,0,Mono\r\n");
  EXPECT_TRUE(s.state.SelectCurrentPrinter(&session, &global));
  EXPECT_EQ(s.platform->LastSelection().orientation, 2);
  EXPECT_EQ(s.platform->LastSelection().paperSize, 5);
  EXPECT_EQ(s.platform->LastSelection().paperSource, session.printer.paperSource);
  EXPECT_EQ(global.printer.pageMargins.left, 1.25);
  EXPECT_EQ(global.printer.pageMargins.right, 0.5);
  EXPECT_EQ(global.printer.printerFont.weight, 700);

  // An empty name goes back to the default printer and says no printer was chosen.
  EXPECT_FALSE(s.state.SelectCurrentPrinter(PrinterSelection()));
  EXPECT_EQ(s.state.CurrentPrinterName(), u"office");
  EXPECT_TRUE(s.state.HasDefaultPrinter());
  // A printer that is not there.
  EXPECT_FALSE(s.state.SelectCurrentPrinter(u"gone", u"", nullptr));
}

TEST(PrinterStateTest, APrintServerThatStopsAnsweringAfterTheStartGivesAMessage) {
  Started s;
  s.platform->AddPrinter(u"office", FakePrinterPlatform::Letter(0.25, 0.25));
  s.state.Initialize(true, 300, s.platform, s.reports.Callback());
  ASSERT_TRUE(s.reports.WaitFor(pm::kInitSucceeded));
  ASSERT_TRUE(s.state.SelectCurrentPrinter(u"office", u"", nullptr));
  s.platform->HoldCalls();
  VReportMessageParams message;
  EXPECT_EQ(s.state.ValidateMargins(PrinterConfig::DefaultMargins(), message),
            MarginValidationResult::Unavailable);
  EXPECT_EQ(message.GetTextOneLineTrimmed(), u"The print system did not answer in time.");
  EXPECT_FALSE(s.state.SelectCurrentPrinter(u"office", u"", nullptr));
  s.platform->Release();
  VReportMessageParams again;
  EXPECT_EQ(s.state.ValidateMargins(PrinterConfig::DefaultMargins(), again),
            MarginValidationResult::Valid);
}

TEST(PrinterStateTest, MarginsAreValidatedAgainstThePrinterSelectedNow) {
  Started s;
  s.platform->AddPrinter(u"office", FakePrinterPlatform::Letter(0.25, 0.2));
  s.StartAndWait();
  ASSERT_TRUE(s.state.SelectCurrentPrinter(u"office", u"", nullptr));

  VMarginData margins = PrinterConfig::DefaultMargins();
  margins.left = 0.1;
  VReportMessageParams message;
  double minimum = 0;
  EXPECT_EQ(s.state.ValidateMargin(margins, MarginSide::Left, minimum, message),
            MarginValidationResult::Invalid);
  EXPECT_EQ(minimum, 0.25);
  EXPECT_EQ(message.GetTextOneLineTrimmed(), u"The minimum left margin is 0.25");
  VReportMessageParams all;
  EXPECT_EQ(s.state.ValidateMargins(PrinterConfig::DefaultMargins(), all),
            MarginValidationResult::Valid);

  PrintMargins positions{0.5, 0.5, 0.5, 0.5};
  MarginLimits limits;
  ASSERT_TRUE(s.state.CalculateMargins(positions, limits, message));
  EXPECT_DOUBLE_EQ(positions.left, 0.25);
  EXPECT_DOUBLE_EQ(positions.right, 7.75);
  EXPECT_DOUBLE_EQ(positions.top, 0.3);
  EXPECT_DOUBLE_EQ(positions.bottom, 10.3);

  // The printer goes away between selection and use.
  s.platform->RemovePrinter(u"office");
  VReportMessageParams gone;
  EXPECT_EQ(s.state.ValidateMargins(PrinterConfig::DefaultMargins(), gone),
            MarginValidationResult::Unavailable);
  EXPECT_EQ(gone.GetTextOneLineTrimmed(), u"The printer 'office' is not available.");
}

}  // namespace
