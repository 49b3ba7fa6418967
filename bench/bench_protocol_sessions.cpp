// Sessions with real protocol parts: loading every protocol module of the table, and opening
// 10,000 sessions of mixed protocols (each with its protocol's settings, loaded by the module's
// settings class) beside the same sessions with protocol "None" (the same values, kept as values
// no part knows).
#include <benchmark/benchmark.h>

#include <array>

#include "config/session/connect_protocol_table.h"
#include "config/session/session_store.h"
#include "environment/products.h"
#include "environment/protocol_modules.h"
#include "session_tree.h"

namespace {

struct ProtocolValues {
  const char16_t* terminal;
  const char16_t* transfer;
  std::vector<bench::TreeValue> values;
};

bench::TreeValue Dword(const char16_t* name, uint32_t value) {
  return {name, VStoredValue::Dword(value)};
}
bench::TreeValue Text(const char16_t* name, const std::string& value) {
  return {name, VStoredValue::String(VUnicodeString::FromUtf8(value))};
}

// The protocol values of session `number`: a terminal protocol and a transfer protocol in turn,
// with the settings their modules keep.
ProtocolValues MixedProtocols(int number) {
  static const std::array<const char16_t*, 6> terminals = {u"SSH2", u"Telnet", u"Telnet/SSL",
                                                           u"RLogin", u"Serial", u"Raw"};
  static const std::array<const char16_t*, 5> transfers = {u"SFTP", u"FTP", u"FTP/SSL (implicit)",
                                                           u"FTP/SSL (explicit)", u"SCP"};
  ProtocolValues out{terminals[number % terminals.size()], transfers[number % transfers.size()], {}};
  std::string user = "user" + std::to_string(number % 13);
  out.values = {Text(u"Username", user), Text(u"Firewall Name", "None"),
                Dword(u"[SSH2] Port", 22), Dword(u"[SSH2] Compression", number % 2),
                Text(u"Identity Filename V2", "${TLV_SSH_DATA_PATH}/id_ed25519"),
                Dword(u"[Telnet] Port", 23), Dword(u"[SFTP] Port", 22),
                Dword(u"[FTP] Passive Mode", 1), Text(u"[Serial] Device", "/dev/ttyUSB0"),
                Dword(u"[Serial] Baud Rate", 115200)};
  return out;
}

// Two trees of the same sessions, one with the mixed protocols and one with "None".
struct ProtocolTrees {
  bench::SessionTree mixed;
  bench::SessionTree none;
  std::unique_ptr<VIniFileStoreFactory> mixedFactory;
  std::unique_ptr<VIniFileStoreFactory> noneFactory;
};

void WriteTree(bench::SessionTree& tree, bool withProtocols) {
  tree.root = bench::MakeTempFolder("quillane-protocols");
  bench::RemoveTreeAtExit(tree.root);
  constexpr int kFolders = 100, kPerFolder = 100;
  for (int f = 0; f < kFolders; ++f) {
    std::string folderName = "Folder" + std::to_string(f);
    std::string folder = tree.root + "/Sessions/" + folderName;
    vfs::CreateFolderTree(folder, 0777).IgnoreError();
    for (int s = 0; s < kPerFolder; ++s) {
      int number = f * kPerFolder + s;
      std::vector<bench::TreeValue> values = bench::SessionValues(number);
      ProtocolValues protocols = MixedProtocols(number);
      std::erase_if(values, [](const bench::TreeValue& value) {
        return value.name == u"Protocol Name" || value.name == u"Transfer Protocol Name";
      });
      values.push_back(Text(u"Protocol Name", withProtocols ? VUnicodeString(protocols.terminal).ToUtf8() : "None"));
      values.push_back(Text(u"Transfer Protocol Name",
                            withProtocols ? VUnicodeString(protocols.transfer).ToUtf8() : "None"));
      for (bench::TreeValue& value : protocols.values) values.push_back(std::move(value));
      std::string name = "host" + std::to_string(number);
      std::string path = folder + "/" + name + ".ini";
      vfs::File file(vfs::Env::Default(),
                     ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
      file.WriteAll(bench::SessionFileBytes(values)).IgnoreError();
      tree.paths.push_back(U8(folderName + "\\" + name));
    }
  }
}

bool LoadEveryModule() {
  bool aborted = false;
  VReportMessageParams report;
  ProtocolLoadOptions options;
  options.fipsBits = 0;
  options.onFailure = [](const VReportMessageParams&) { return false; };
  VUnicodeString folder = VUnicodeString::FromUtf8(QUILLANE_MODULE_DIR);
  bool terminal = LoadSingleProductConnectionProtocolDlls(nullptr, kProductKarvell, folder, aborted,
                                                          report, options);
  bool transfer = LoadSingleProductConnectionProtocolDlls(nullptr, kProductLumbrel, folder, aborted,
                                                          report, options);
  return terminal && transfer;
}

ProtocolTrees& Trees() {
  static ProtocolTrees* trees = [] {
    auto* t = new ProtocolTrees;  // never destroyed: the trees go at exit
    WriteTree(t->mixed, true);
    WriteTree(t->none, false);
    t->mixedFactory = std::make_unique<VIniFileStoreFactory>(U8(t->mixed.root));
    t->noneFactory = std::make_unique<VIniFileStoreFactory>(U8(t->none.root));
    return t;
  }();
  return *trees;
}

void OpenEvery(benchmark::State& state, bench::SessionTree& tree, VIniFileStoreFactory* factory,
               bool expectParts) {
  if (GetConnectProtocolTable().Size() == 0 && !LoadEveryModule()) {
    state.SkipWithError("the protocol modules did not load");
    return;
  }
  for (auto _ : state) {
    size_t withParts = 0;
    for (const auto& path : tree.paths) {
      VReportMessageParams error;
      SessionConfig* session = OpenSessionByPath(VUnicodeString(path), error, factory);
      if (!session) continue;
      if (session->GetTerminalConnectConfig() && session->GetTerminalConnectConfig()->IsUsable())
        ++withParts;
      session->Release();
    }
    benchmark::DoNotOptimize(withParts);
    if ((withParts > 0) != expectParts) state.SkipWithError("the sessions' protocols were not as written");
  }
}

// Every module of the table loaded from its file, checked, registered and let go.
void BM_LoadEveryProtocolModule(benchmark::State& state) {
  for (auto _ : state) {
    UnloadConnectionProtocolDlls();
    if (!LoadEveryModule()) state.SkipWithError("the protocol modules did not load");
  }
  state.counters["protocols"] = static_cast<double>(GetConnectProtocolTable().Size());
}
BENCHMARK(BM_LoadEveryProtocolModule)->Unit(benchmark::kMillisecond);

void BM_OpenMixedProtocolSessions(benchmark::State& state) {
  OpenEvery(state, Trees().mixed, Trees().mixedFactory.get(), true);
}
BENCHMARK(BM_OpenMixedProtocolSessions)->Unit(benchmark::kMillisecond);

void BM_OpenNoneProtocolSessions(benchmark::State& state) {
  OpenEvery(state, Trees().none, Trees().noneFactory.get(), false);
}
BENCHMARK(BM_OpenNoneProtocolSessions)->Unit(benchmark::kMillisecond);

}  // namespace
