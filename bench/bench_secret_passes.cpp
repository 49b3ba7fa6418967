// Re-encrypting every session's secrets after a change of passphrase, over a tree of 10,000
// sessions, beside the cipher work alone (decrypting each secret under the old passphrase and
// encrypting it under the new). The tree lives on tmpfs so that the figure is the library's own
// work: on a disk, each rewritten file also waits for its fsync.
#include <benchmark/benchmark.h>

#include <set>

#include "config/database/secret_passes.h"
#include "config/database/session_database.h"
#include "crypto/config_passphrase.h"
#include "crypto/encrypted_string.h"
#include "session_tree.h"
#include "storage/ini/ini_file_store.h"

namespace {

struct Fixture {
  Fixture() {
    VRef<SessionConfig> defaults(new SessionConfig(u"template"));
    defaults->LoadFromKey(nullptr);
    std::set<VUnicodeString> secretNames;
    for (const VSettingInfo& setting : defaults->ListSettings()) {
      if (std::string_view(setting.kind) == VEncryptedString::kKindName) secretNames.insert(setting.name);
    }
    secretNames.insert(u"Login Script V3");  // an expect/send list, kept encrypted
    char pattern[] = "/dev/shm/quillane-secrets-XXXXXX";
    root = mkdtemp(pattern);
    for (int f = 0; f < 500; ++f) {
      std::string folder = root + "/Sessions/Folder" + std::to_string(f);
      vfs::CreateFolderTree(folder, 0700).IgnoreError();
      for (int s = 0; s < 20; ++s) {
        int number = f * 20 + s;
        std::vector<bench::TreeValue> values = bench::SessionValues(number);
        for (bench::TreeValue& value : values) {
          if (!secretNames.count(value.name)) continue;
          VUnicodeString plaintext = value.name == u"Login Script V3"
                                         ? U8("0\x1Fogin:\x1Fuser" + std::to_string(number) + "\x1F")
                                         : U8("secret " + std::to_string(number) + " " + value.name.ToUtf8());
          VEncryptedString secret;
          secret.SetPlaintext(plaintext, passphrases[0]);
          value.value.text = secret;
          plaintexts.push_back(plaintext);
        }
        std::string path = folder + "/host" + std::to_string(number) + ".ini";
        vfs::File file(vfs::Env::Default(), ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        file.WriteAll(bench::SessionFileBytes(values)).IgnoreError();
      }
    }
    factory = std::make_unique<VIniFileStoreFactory>(U8(root));
  }
  ~Fixture() {
    vfs::RemoveTree(root).IgnoreError();
  }
  std::string root;
  std::vector<VUnicodeString> plaintexts;  // every secret of the tree
  const char16_t* passphrases[2] = {u"first passphrase", u"second passphrase"};
  int current = 0;  // which of the two the tree is under now
  std::unique_ptr<VIniFileStoreFactory> factory;
};

Fixture& Shared() {
  static Fixture fixture;  // destroyed at exit, taking its tree off tmpfs
  return fixture;
}

void BM_ReEncryptEverySession(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    const char16_t* from = f.passphrases[f.current];
    const char16_t* to = f.passphrases[1 - f.current];
    SetConfigPassphrase(from);
    SessionDatabase database(f.factory.get());
    VSecretPassResult result = ReEncryptSensitiveData(std::u16string_view(from), to, nullptr, &database);
    if (!result.Succeeded() || result.sessions != 10000) {
      VReportMessageParams why;
      DescribeSecretPassFailures(result, why);
      state.SkipWithError(("the pass failed: " + why.GetTextOneLineTrimmed().ToUtf8().substr(0, 300)).c_str());
    }
    f.current = 1 - f.current;
  }
  // The measures run between repetitions of this one load sessions with no passphrase set.
  SetConfigPassphrase(nullptr);
  state.counters["secrets"] = static_cast<double>(f.plaintexts.size());
}
BENCHMARK(BM_ReEncryptEverySession)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same number of secrets taken from one passphrase to the other, with nothing else.
void BM_V2WorkAlone(benchmark::State& state) {
  Fixture& f = Shared();
  std::vector<VEncryptedString> texts(f.plaintexts.size());
  for (size_t i = 0; i < texts.size(); ++i) texts[i].SetPlaintext(f.plaintexts[i], f.passphrases[0]);
  int current = 0;
  for (auto _ : state) {
    for (VEncryptedString& text : texts) {
      VUnicodeString plaintext;
      if (!text.GetPlaintext(f.passphrases[current], plaintext)) state.SkipWithError("did not decrypt");
      text.SetPlaintext(plaintext, f.passphrases[1 - current]);
    }
    current = 1 - current;
  }
  state.counters["secrets"] = static_cast<double>(texts.size());
}
BENCHMARK(BM_V2WorkAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
