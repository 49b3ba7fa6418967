// Export and import of the generated tree of 10,000 sessions, to be set beside loading every
// session into its configuration object (BM_OpenEverySessionConfig): an export loads and saves
// each session into one settings file; an import loads each session from the file, builds it
// whole and writes its file safely (flushed, renamed), as every save does.
#include <benchmark/benchmark.h>

#include "config/global/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "environment/import_export_settings.h"
#include "platform/app_info.h"
#include "session_tree.h"
#include "storage/ini/ini_file_store.h"

namespace {

VProfileStoreFactory* gFactory = nullptr;
VProfileStoreFactory* Factory() { return gFactory; }

class QuietSink : public IImportExportSink {
 public:
  void LogLine(VImportExportLevel level, VReportMessageParams&) override {
    if (level == VImportExportLevel::Err) ++errors;
  }
  FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier&,
                                         VUnicodeString&) override {
    return FilePassphraseAnswer::SkipSecrets;
  }
  int errors = 0;
};

struct Moving {
  Moving() : shared(bench::SharedSessionTree()) {
    folder = bench::MakeTempFolder("quillane-moving");
    bench::RemoveTreeAtExit(folder);
    file = folder + "/settings.xml";
    VSetAppName(u"Karvell");
    VSetDerivedProductId(3);
    SetConfigPassphrase(u"bench");
    VSetProfileFactoryGetter(&Factory);
  }
  // Runs on the source tree's configuration, or the target's.
  int Run(bool import, VProfileStoreFactory* factory) {
    gFactory = factory;
    FreeGlobalConfig();
    QuietSink sink;
    VImportExportSummary summary;
    RunImportExportSettings(import, file, kImportExportGlobal | kImportExportSessions, u"Karvell",
                            0, &sink, &summary, factory);
    return sink.errors || summary.sessions != shared.tree.paths.size() ? -1
                                                                        : static_cast<int>(summary.sessions);
  }
  bench::SharedTree& shared;
  std::string folder;
  std::string file;
};

Moving& Shared() {
  static Moving* moving = new Moving;
  return *moving;
}

void BM_ExportEverySession(benchmark::State& state) {
  Moving& m = Shared();
  for (auto _ : state) {
    if (m.Run(false, m.shared.factory.get()) < 0) state.SkipWithError("the export failed");
  }
}
BENCHMARK(BM_ExportEverySession)->Unit(benchmark::kMillisecond)->Iterations(1);

// Into a configuration that does not exist yet: every session is created.
void BM_ImportEverySession(benchmark::State& state) {
  Moving& m = Shared();
  if (m.Run(false, m.shared.factory.get()) < 0) state.SkipWithError("the export failed");
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string target = m.folder + "/target" + std::to_string(round++);
    VIniFileStoreFactory factory(U8(target));
    state.ResumeTiming();
    if (m.Run(true, &factory) < 0) state.SkipWithError("the import failed");
    state.PauseTiming();
    vfs::RemoveTree(target).IgnoreError();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportEverySession)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
