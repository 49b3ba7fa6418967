// A synchronize profile's value file comes from disk, written by other programs and older
// releases: any bytes must load; every value name the profile takes for one of its indexed names
// must be exactly the name it writes; and what a save writes must load back as the same profile,
// whose next save changes nothing. (The first save may change what a value file cannot keep, a
// text cut at an embedded NUL, say, but never the shape of the lists.)
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "config/sync/synchronize_names.h"
#include "config/sync/synchronize_profile.h"
#include "storage/ini/ini_file_store.h"

namespace {

char gFolder[] = "/tmp/quillane-fuzz-sync-XXXXXX";

void RemoveFolder() {
  std::string command = "rm -rf '" + std::string(gFolder) + "'";
  if (system(command.c_str()) != 0) { /* left in the temporary folder */ }
}

VIniFileStoreFactory& Factory() {
  static VIniFileStoreFactory* factory = [] {
    if (!mkdtemp(gFolder)) abort();
    atexit(&RemoveFolder);
    return new VIniFileStoreFactory(VUnicodeString::FromUtf8(std::string(gFolder) + "/cfg"));
  }();
  return *factory;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Loads the key `name` below the root into `profile`.
void LoadKey(VIniFileStoreFactory& factory, const char16_t* name, SynchronizeProfile& profile) {
  VProfileStore store(true, &factory);
  VProfileKey key(*store.GetRootKey(), name);
  profile.Load(&key);
}

// Saves `profile` whole into a fresh key `name`.
bool SaveFresh(VIniFileStoreFactory& factory, const char16_t* name, SynchronizeProfile& profile) {
  VProfileStore store(&factory);
  store.GetRootKey()->DeleteSubKey(name);
  VProfileKey key(*store.GetRootKey(), name, kProfileKeyCreate);
  return profile.Save(key, true) && key.Flush();
}

bool SameShape(const SynchronizeSettings& a, const SynchronizeSettings& b) {
  if (a.tasks.size() != b.tasks.size()) return false;
  for (size_t i = 0; i < a.tasks.size(); ++i) {
    if (a.tasks[i].sources.size() != b.tasks[i].sources.size() ||
        a.tasks[i].targets.size() != b.tasks[i].targets.size())
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VIniFileStoreFactory& factory = Factory();
  const std::string folder = std::string(gFolder) + "/cfg";
  static bool made = [&] { return system(("mkdir -p '" + folder + "'").c_str()) == 0; }();
  if (!made) abort();
  {
    std::ofstream out(folder + "/Input.ini", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  SynchronizeProfile first;
  {
    VProfileStore store(true, &factory);
    VProfileKey key(*store.GetRootKey(), u"Input");
    first.Load(&key);
    key.ForEachValueName([](const VUnicodeString& name, int) {
      syncnames::IndexedName parsed;
      if (syncnames::Parse(name, parsed) && syncnames::Format(parsed) != name) abort();
    });
  }
  if (first.IsModified()) abort();
  if (!SaveFresh(factory, u"Copy", first)) return 0;  // a value the store refuses to write
  SynchronizeProfile second;
  LoadKey(factory, u"Copy", second);
  if (!SameShape(first.settings, second.settings)) abort();
  if (!SaveFresh(factory, u"Again", second)) abort();
  SynchronizeProfile third;
  LoadKey(factory, u"Again", third);
  if (!(third.settings == second.settings)) abort();
  // Saved over itself, a loaded profile keeps its bytes.
  const std::string saved = Read(folder + "/Again.ini");
  {
    VProfileStore store(&factory);
    VProfileKey key(*store.GetRootKey(), u"Again");
    if (!third.Save(key, true) || !key.Flush()) abort();
  }
  if (Read(folder + "/Again.ini") != saved) abort();
  return 0;
}
