// A firewall's value file comes from disk, possibly written by an older release or another
// machine: any bytes must load, an older password must be carried without loss and only once, and
// what a save writes must load back as the same firewall.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "config/items/firewall_config.h"
#include "config/database/session_database.h"
#include "crypto/config_passphrase.h"
#include "storage/ini/ini_file_store.h"

namespace {

char gFolder[] = "/tmp/quillane-fuzz-firewall-XXXXXX";

void RemoveFolder() {
  std::string command = "rm -rf '" + std::string(gFolder) + "'";
  if (system(command.c_str()) != 0) { /* left in the temporary folder */ }
}

// The configuration and the per-user key live in a folder of the run's own, never the user's.
VIniFileStoreFactory& Factory() {
  static VIniFileStoreFactory* factory = [] {
    if (!mkdtemp(gFolder)) abort();
    setenv("XDG_DATA_HOME", gFolder, 1);
    setenv("HOME", gFolder, 1);
    atexit(&RemoveFolder);
    SetConfigPassphrase(u"fuzz");
    return new VIniFileStoreFactory(VUnicodeString::FromUtf8(std::string(gFolder) + "/cfg"));
  }();
  return *factory;
}

struct Snapshot {
  std::vector<VSettingInfo> settings;
  VUnicodeString password;
};

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Snapshot Take(FirewallConfig& firewall) {
  return {firewall.ListSettings(), firewall.firewallPassword.GetPlaintext()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VIniFileStoreFactory& factory = Factory();
  std::string folder = std::string(gFolder) + "/cfg/Firewalls";
  static bool made = [&] { return system(("mkdir -p '" + folder + "'").c_str()) == 0; }();
  if (!made) abort();
  {
    std::ofstream out(folder + "/f.ini", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  SessionDatabase database(&factory);
  VRef<FirewallConfig> first = database.OpenFirewall(u"f");
  if (!first) return 0;
  if (first->GetTypeNumber() < 0 || first->GetTypeNumber() > 11) abort();
  Snapshot before = Take(*first.Get());
  VReportMessageParams error;
  if (!database.SaveItem(*first.Get(), error)) abort();
  VRef<FirewallConfig> again = database.OpenFirewall(u"f");
  if (!again) abort();
  Snapshot after = Take(*again.Get());
  // Carrying an older password loses nothing.
  if (after.password != before.password) abort();
  // A save is final: what it wrote loads back and saves to the same bytes. (The first save may
  // change what a value file cannot keep, a text cut at an embedded NUL, say.)
  std::string saved = Read(folder + "/f.ini");
  if (!database.SaveItem(*again.Get(), error)) abort();
  if (Read(folder + "/f.ini") != saved) abort();
  VRef<FirewallConfig> third = database.OpenFirewall(u"f");
  if (!third) abort();
  Snapshot last = Take(*third.Get());
  if (last.password != after.password || last.settings.size() != after.settings.size()) abort();
  for (size_t i = 0; i < last.settings.size(); ++i) {
    if (!(last.settings[i].value == after.settings[i].value)) abort();
  }
  return 0;
}
