// The main window of quillane-settings over the generated tree of 10,000 sessions in 500
// folders, on Qt's offscreen platform: from nothing read to the tree shown (the item database's
// listings empty, as when the host starts), and the connect bar's answer to each key of a typed
// name (from the key to the suggestions put in the bar's list). Targets: the tree within 1 s, a
// suggestion within 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "config/database/session_database_instance.h"
#include "config/global/global_config_instance.h"
#include "session_tree.h"
#include "ui/main_window/connect_bar.h"
#include "ui/main_window/main_window.h"

namespace {

VProfileStoreFactory* TreeFactory() { return bench::SharedSessionTree().factory.get(); }

// The name typed, one key at a time: it is in the tree ("Folder61\host1234").
const QString kTyped = QStringLiteral("host1234");

void SetUpTree() {
  bench::SharedSessionTree();
  VSetProfileFactoryGetter(&TreeFactory);
  FreeGlobalConfig();
}

void BM_MainWindowShownFromColdListings(benchmark::State& state) {
  SetUpTree();
  size_t sessions = 0;
  for (auto _ : state) {
    // What a starting host has: no listing of any folder read yet.
    GetSessionDatabase()->InvalidateAll();
    VMainWindow window{VMainWindowActions()};
    window.show();
    QApplication::processEvents();
    sessions = window.SessionCount();
    benchmark::DoNotOptimize(sessions);
  }
  if (sessions != 10000) state.SkipWithError("the tree does not hold the 10,000 sessions");
  state.counters["sessions"] = static_cast<double>(sessions);
}
BENCHMARK(BM_MainWindowShownFromColdListings)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument k: the k-th key of the name, typed after the first k-1 are in the bar with their
// suggestions shown.
void BM_ConnectBarSuggestionAfterKey(benchmark::State& state) {
  SetUpTree();
  GetSessionDatabase()->InvalidateAll();
  VMainWindow window{VMainWindowActions()};
  window.show();
  QApplication::processEvents();
  VConnectBar* bar = window.ConnectBar();
  QLineEdit* edit = bar->Edit();
  edit->setFocus();
  const int k = static_cast<int>(state.range(0));
  const QString before = kTyped.left(k - 1);
  const QString after = kTyped.left(k);
  int shown = 0;
  for (auto _ : state) {
    state.PauseTiming();
    edit->setText(before);
    QApplication::processEvents();
    state.ResumeTiming();
    const size_t received = bar->ResultsReceived();
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, kTyped.mid(k - 1, 1));
    QApplication::sendEvent(edit, &key);
    while (bar->ResultsReceived() == received || bar->SuggestionsText() != after)
      QApplication::processEvents();
    shown = static_cast<int>(bar->Suggestions().size());
  }
  state.counters["suggestions"] = shown;
  state.SetLabel(after.toStdString());
}
BENCHMARK(BM_ConnectBarSuggestionAfterKey)
    ->DenseRange(1, 8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The offscreen platform says at every popup that it cannot pass size hints on, raise or grab
// the keyboard: that is all it has to say, and it would drown the table.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support")))
    return;
  std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  // No display is needed: the window is drawn offscreen unless the caller chose a platform.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
