#include "config/global/global_config_instance.h"

#include <mutex>
#include <optional>

#include "platform/app_info.h"
#include "storage/model/store_messages.h"

namespace {

std::mutex gSharedLock;
GlobalConfig* gShared = nullptr;  // holds the library's reference
// Why the shared instance holds defaults although the store has a global key: its file could
// not be read. Kept so that callers can refuse to show defaults as the user's settings.
std::optional<VReportMessageParams> gLoadError;

constexpr const char16_t* kGlobalKey = u"Global";

// The library lets its reference go when it leaves the process, as the host would.
struct ReleaseAtUnload {
  ~ReleaseAtUnload() { FreeGlobalConfig(); }
} gReleaseAtUnload;

// A new object for `product`, loaded from the store. A missing key reads as empty.
GlobalConfig* CreateGlobalConfig(int product) {
  if (product == -1) product = VGetDerivedProductId();
  VProfileStore store(true, nullptr);
  VProfileKey key(*store.GetRootKey(), kGlobalKey);
  auto* config = new GlobalConfig(product);
  key.GetLastError().Reset(0);
  config->LoadFromKey(&key);
  gLoadError.reset();
  if (key.GetLastError().GetMessageId() == kMsgValueFileUnreadable) gLoadError = key.GetLastError();
  return config;
}

GlobalConfig* AcquireShared(int product) {
  std::lock_guard<std::mutex> lock(gSharedLock);
  if (!gShared) gShared = CreateGlobalConfig(product);
  gShared->AddRef();
  return gShared;
}

}  // namespace

bool GetGlobalConfig(GlobalConfig** out, int product) {
  std::lock_guard<std::mutex> lock(gSharedLock);
  if (!gShared) gShared = CreateGlobalConfig(product);
  if (out) {
    gShared->AddRef();
    *out = gShared;
  }
  return gShared != nullptr;
}

bool GlobalConfigUnreadable(VReportMessageParams& error) {
  std::lock_guard<std::mutex> lock(gSharedLock);
  if (!gShared) gShared = CreateGlobalConfig(-1);
  if (!gLoadError) return false;
  error = *gLoadError;
  return true;
}

void GetGlobalConfigObsolete(GlobalConfig*& out, int product) {
  if (!gShared) gShared = CreateGlobalConfig(product);
  out = gShared;
}

bool SaveGlobalConfig(bool force, VReportMessageParams& error) {
  VRef<GlobalConfig> config(AcquireShared(-1));
  VProfileStore store(false, nullptr);
  VProfileKey& root = *store.GetRootKey();
  // Every store makes the key when a value is written into it; asking for it to be created would
  // leave an empty "Global" folder beside Global.ini in a configuration folder.
  VProfileKey key(root, kGlobalKey, 0);
  bool saved = config->Save(key, force);
  if (!saved) error = key.GetLastError();
  // The file is written now rather than when the key goes, so that a refused write is known.
  if (!key.Flush()) {
    if (saved) error = key.GetLastError();
    saved = false;
  }
  // What did not reach the file is written by the next save instead of being taken as saved.
  if (!saved) config->FlagEverySettingForWriting();
  return saved;
}

bool SaveGlobalConfig(bool force) {
  VReportMessageParams error;
  return SaveGlobalConfig(force, error);
}

void ReloadGlobalConfig(GlobalConfig** out) {
  std::lock_guard<std::mutex> lock(gSharedLock);
  GlobalConfig* old = gShared;
  gShared = CreateGlobalConfig(-1);
  if (old) old->Release();
  if (out) {
    gShared->AddRef();
    *out = gShared;
  }
}

void FreeGlobalConfig() {
  std::lock_guard<std::mutex> lock(gSharedLock);
  if (!gShared) return;
  GlobalConfig* old = gShared;
  gShared = nullptr;
  old->Release();
}

void MergeGlobalConfig(const VProfileKey& key) {
  VRef<GlobalConfig> config(AcquireShared(-1));
  config->Merge(key);
}

void GetRectangleStatusArray(std::vector<unsigned long>& out, GlobalConfig* config) {
  out.clear();
  if (!config) return;
  for (const VProfile<int>* color :
       {&config->connectedColor, &config->disconnectedColor, &config->newInputColor,
        &config->inactivityColor, &config->scriptColor, &config->lockedColor})
    out.push_back(static_cast<uint32_t>(color->current));
}

void GetBackgroundStatusArray(std::vector<unsigned long>& out, GlobalConfig* config) {
  out.clear();
  if (!config) return;
  for (const VProfile<int>* color :
       {&config->backgroundConnectedColor, &config->backgroundDisconnectedColor,
        &config->backgroundNewInputColor, &config->backgroundInactivityColor,
        &config->backgroundScriptColor, &config->backgroundLockedColor})
    out.push_back(static_cast<uint32_t>(color->current));
}

std::vector<int>& GetIconStatusArray() {
  static std::vector<int> icons = {5018, 5019, 5021, 5020, 5055, 5022};
  return icons;
}

VProfileData* FindGlobalSetting(std::u16string_view keyName) {
  std::lock_guard<std::mutex> lock(gSharedLock);
  return gShared ? gShared->FindSetting(keyName) : nullptr;
}
