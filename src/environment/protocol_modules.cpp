#include "environment/protocol_modules.h"

#include <exception>
#include <mutex>

#include "config/session/connect_protocol_table.h"
#include "config/session/protocol_module_interface.h"
#include "environment/installed_products.h"
#include "environment/module_file_check.h"
#include "environment/products.h"
#include "environment/protocol_module_rows.h"
#include "platform/app_info.h"
#include "platform/module_calls.h"
#include "storage/model/profile_store.h"
#include "report/message_router.h"

namespace {


constexpr const char16_t* kGlobalKeyName = u"Global";
constexpr const char16_t* kEnableFipsModeValue = u"Enable FIPS Mode";
constexpr const char16_t* kIgnoreFipsForTlsValue = u"Ignore FIPS Mode for TLS";

std::mutex gResultsMutex;
std::vector<ProtocolLoadResult>& Results() {
  static auto* results = new std::vector<ProtocolLoadResult>();  // read until the process ends
  return *results;
}

VUnicodeString ProductName(int productId) {
  VUnicodeString name = GetProductNameFromId(productId);
  if (name.empty() && productId == kProductOstrel) name = u"Ostrel";
  return name.empty() ? VGetAppName() : name;
}

void SetError(VReportMessageParams& error, uint32_t id, const VUnicodeString& first,
              const VUnicodeString& second) {
  error.Reset(id);
  error.AddInsert(first);
  error.AddInsert(second);
}

// Calls `call` and turns anything it throws into 0xE1370005 in `error`; false when it threw.
template <class Call>
bool Guarded(const VUnicodeString& path, VReportMessageParams& error, Call&& call) {
  try {
    call();
    return true;
  } catch (const std::exception& thrown) {
    SetError(error, kMsgModuleException, path, VUnicodeString::FromUtf8(thrown.what()));
  } catch (...) {
    SetError(error, kMsgModuleException, path, VUnicodeString(u"?"));
  }
  return false;
}

class RowLoader {
 public:
  RowLoader(const ProtocolLoadOptions& options, int fipsBits)
      : options_(options), env_(options.env ? options.env : vfs::Env::Default()), bits_(fipsBits) {}

  // Tries one row; fills `result`.
  void Load(const ProtocolModuleRow& row, const std::string& folder, ProtocolLoadResult& result) {
    result.productId = row.productId;
    result.protocolName = row.protocolName;
    result.displayName = row.displayName;
    const std::string path = folder + "/" + ProtocolModuleFileName(row).ToUtf8();
    result.modulePath = VUnicodeString::FromUtf8(path);
    const std::u16string_view name(row.protocolName);

    // There is no telephony service here, so the row of telephone connections is never
    // registered, whatever module file may lie in the folder.
    if (name == kTelephonyProtocol) return Skip(result, kMsgSkippedTelephony);
    if (bits_ & kFipsModeBit) {
      if (name == kSsh1Protocol) return Skip(result, kMsgSkippedFipsSsh1);
      if (IsTlsProtocol(name) && !(bits_ & (kFipsIgnoreForTlsBit | kFipsSystemPolicyBit)))
        return Skip(result, kMsgSkippedFipsTls);
    }
    ConnectProtocolTable& table = GetConnectProtocolTable();
    if (IsRegistered(table, row)) {
      result.state = ProtocolRowState::Loaded;
      return;
    }
    VExpected<vfs::EntryStat> stat = env_->LinkStat(path);
    if (!stat) {
      // Not installed: the protocol is simply not offered.
      result.state = ProtocolRowState::Missing;
      result.error.Reset(kMsgModuleNotInstalled);
      return;
    }
    if (name == kSsh1Protocol && !env_->LinkStat(folder + "/" + kSsh1EnableMarker))
      return Skip(result, kMsgSkippedSsh1Marker);

    ConnectProtocolEntry entry;
    entry.protocolName = row.protocolName;
    entry.displayName = row.displayName;
    entry.productId = row.productId;
    entry.modulePath = result.modulePath;
    if (!OpenAndLoad(path, row, entry, result.error)) {
      result.state = ProtocolRowState::Failed;
      return;
    }
    if (table.Register(entry) < 0) {
      // Registered meanwhile by another load: this copy of the module is let go.
      Release(entry);
    }
    result.state = ProtocolRowState::Loaded;
  }

 private:
  static void Skip(ProtocolLoadResult& result, uint32_t reason) {
    result.state = ProtocolRowState::Skipped;
    result.error.Reset(reason);
  }

  static bool IsRegistered(ConnectProtocolTable& table, const ProtocolModuleRow& row) {
    for (size_t i = 0; i < table.Size(); ++i) {
      const ConnectProtocolEntry& entry = table.At(i);
      if (entry.productId == row.productId && vtext::EqualsNoCase(entry.protocolName, row.protocolName))
        return true;
    }
    return false;
  }

  bool OpenAndLoad(const std::string& path, const ProtocolModuleRow& row, ConnectProtocolEntry& entry,
                   VReportMessageParams& error) {
    const VUnicodeString widePath = entry.modulePath;
    std::string real;
    ModuleFileProblem problem = CheckModuleFile(env_, path, real);
    if (problem.messageId != 0) {
      SetError(error, kMsgModuleUnloadable, widePath, DescribeModuleFileProblem(problem));
      return false;
    }
    void* module = env_->OpenModule(real);
    if (!module) {
      SetError(error, kMsgModuleUnloadable, widePath, VUnicodeString::FromUtf8(vmodule::LastError()));
      return false;
    }
    entry.moduleHandle = module;
    auto fail = [&](uint32_t id, const VUnicodeString& second) {
      SetError(error, id, widePath, second);
      Release(entry);
      return false;
    };
    auto* guidFunction = reinterpret_cast<ProtocolGuidExport*>(env_->FindSymbol(module, kGetProtocolGuidExport));
    if (!guidFunction)
      return fail(kMsgModuleUnloadable, VUnicodeString::FromUtf8(std::string("no export ") + kGetProtocolGuidExport));
    VProtocolGuid guid{};
    if (!Guarded(widePath, error, [&] { guidFunction(guid.data()); })) {
      Release(entry);
      return false;
    }
    if (guid != kProtocolInterfaceGuid) {
      SetError(error, kMsgModuleWrongInterface, ProductName(row.productId), widePath);
      Release(entry);
      return false;
    }
    auto* load = reinterpret_cast<LoadProtocolExport*>(env_->FindSymbol(module, kLoadProtocolExport));
    if (!load)
      return fail(kMsgModuleUnloadable, VUnicodeString::FromUtf8(std::string("no export ") + kLoadProtocolExport));
    entry.load = load;
    entry.unload = reinterpret_cast<UnloadProtocolExport*>(env_->FindSymbol(module, kUnloadProtocolExport));
    if (std::u16string_view(row.protocolName) == kSsh2Protocol)
      entry.cleanUp = reinterpret_cast<CleanUpAggregatorExport*>(
          env_->FindSymbol(module, kCleanUpAggregatorExport));
    VReportMessageParams moduleError;
    bool loaded = false;
    if (!Guarded(widePath, error, [&] { loaded = load(options_.applicationContext, &entry, &moduleError); })) {
      Release(entry);
      return false;
    }
    if (!loaded) {
      if (moduleError.GetMessageId() != 0) {
        error = moduleError;
      } else {
        SetError(error, kMsgModuleUnloadable, widePath,
                 VUnicodeString::FromUtf8(std::string(kLoadProtocolExport) + " refused the protocol"));
      }
      Release(entry);
      return false;
    }
    if (!entry.factory) {
      return fail(kMsgModuleUnloadable,
                  VUnicodeString::FromUtf8(std::string(kLoadProtocolExport) + " gave no settings factory"));
    }
    return true;
  }

  // Lets the module of an entry that will not be registered go, telling it first when it had
  // been asked to load the protocol.
  void Release(ConnectProtocolEntry& entry) {
    if (entry.load && entry.unload) {
      VReportMessageParams ignored;
      Guarded(entry.modulePath, ignored, [&] { entry.unload(&entry); });
    }
    vmodule::Close(entry.moduleHandle);
    entry.moduleHandle = nullptr;
    entry.load = nullptr;
    entry.unload = nullptr;
    entry.cleanUp = nullptr;
    entry.factory = nullptr;
  }

  const ProtocolLoadOptions& options_;
  vfs::Env* env_;
  int bits_;
};

bool LoadProduct(int productId, const VUnicodeString& installFolder, bool& aborted,
                 VReportMessageParams& report, const ProtocolLoadOptions& options) {
  vfs::Env* env = options.env ? options.env : vfs::Env::Default();
  int bits = options.fipsBits >= 0 ? options.fipsBits : ReadFipsBits(env, options.fipsPolicyFile);
  std::string folder = installFolder.ToUtf8();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  RowLoader loader(options, bits);
  std::vector<ProtocolLoadResult> results;
  int available = 0;
  for (const ProtocolModuleRow& row : ProtocolModuleRows()) {
    if (row.productId != productId) continue;
    ProtocolLoadResult& result = results.emplace_back();
    loader.Load(row, folder, result);
    if (result.state == ProtocolRowState::Loaded) ++available;
    if (result.state != ProtocolRowState::Failed) continue;
    VReportMessageParams failure;
    failure.Reset(kMsgModuleLoadFailed);
    failure.AddInsert(result.modulePath);
    failure.AddInsert(ProductName(productId));
    failure.AddInsert(result.protocolName);
    report = failure;
    bool stop = false;
    if (options.onFailure) {
      stop = options.onFailure(failure);
    } else {
      VRouteMessage(failure);
    }
    if (stop) {
      aborted = true;
      break;
    }
  }
  {
    std::lock_guard<std::mutex> lock(gResultsMutex);
    std::vector<ProtocolLoadResult>& all = Results();
    std::erase_if(all, [productId](const ProtocolLoadResult& r) { return r.productId == productId; });
    for (ProtocolLoadResult& result : results) all.push_back(std::move(result));
  }
  if (aborted) {
    report.Reset(kMsgModuleLoadAborted);
    return available > 0;
  }
  if (available == 0) {
    report.Reset(kMsgNoProtocolLoaded);
    report.AddInsert(VUnicodeString::FromUtf8(folder));
    report.AddInsert(VGetAppName());
  }
  return available > 0;
}

}  // namespace

const char* ProtocolRowStateName(ProtocolRowState state) {
  switch (state) {
    case ProtocolRowState::Loaded: return "loaded";
    case ProtocolRowState::Missing: return "missing";
    case ProtocolRowState::Skipped: return "skipped";
    case ProtocolRowState::Failed: return "failed";
  }
  return "failed";
}

int ReadFipsBits(vfs::Env* env, const std::string& policyFile) {
  int bits = 0;
  // Options an administrator sets in the global configuration; read from the store as they
  // stand, since no dialog of the library offers them.
  VProfileStore store(true, nullptr);
  VProfileKey global(*store.GetRootKey(), kGlobalKeyName);
  VDword value = 0;
  if (global.ReadDword(kEnableFipsModeValue, value) && value != 0) bits |= kFipsModeBit;
  value = 0;
  if (global.ReadDword(kIgnoreFipsForTlsValue, value) && value != 0) bits |= kFipsIgnoreForTlsBit;
  if (SystemFipsPolicyEnabled(env ? env : vfs::Env::Default(), policyFile)) bits |= kFipsSystemPolicyBit;
  return bits;
}

bool LoadSingleProductConnectionProtocolDlls(void* applicationFunctions, int productId,
                                             const VUnicodeString& installFolder, bool& aborted,
                                             VReportMessageParams& report,
                                             const ProtocolLoadOptions& options) {
  aborted = false;
  ProtocolLoadOptions withContext = options;
  if (!withContext.applicationContext) withContext.applicationContext = applicationFunctions;
  return LoadProduct(productId, installFolder, aborted, report, withContext);
}

bool LoadConnectionProtocolDlls(void* applicationFunctions, int productId,
                                const VUnicodeString& installFolder, bool& aborted,
                                VReportMessageParams& report, const ProtocolLoadOptions& options) {
  bool any = LoadSingleProductConnectionProtocolDlls(applicationFunctions, productId, installFolder,
                                                     aborted, report, options);
  if (aborted) return any;
  int sibling = kProductUnknown;
  if (productId == kProductKarvell && IsLumbrelInstalled()) sibling = kProductLumbrel;
  if (productId == kProductLumbrel && CanLaunchTerminalApp()) sibling = kProductKarvell;
  if (sibling == kProductUnknown) return any;
  VReportMessageParams siblingReport;
  bool siblingAny = LoadSingleProductConnectionProtocolDlls(applicationFunctions, sibling, installFolder,
                                                            aborted, siblingReport, options);
  if (aborted) {
    report = siblingReport;
    return any || siblingAny;
  }
  if (!siblingAny) {
    // The pair cannot work as one without the sibling's protocols.
    if (sibling == kProductLumbrel) SetLumbrelInstalled(false);
    else SetKarvellInstalled(false);
  }
  return any || siblingAny;
}

std::vector<ProtocolLoadResult> GetProtocolLoadResults() {
  std::lock_guard<std::mutex> lock(gResultsMutex);
  return Results();
}

void UnloadConnectionProtocolDlls() {
  ConnectProtocolTable& table = GetConnectProtocolTable();
  std::vector<ConnectProtocolEntry*> entries;
  for (size_t i = 0; i < table.Size(); ++i) entries.push_back(&table.At(i));
  for (ConnectProtocolEntry* entry : entries) {
    if (!entry->moduleHandle) continue;
    VReportMessageParams ignored;
    if (entry->unload) Guarded(entry->modulePath, ignored, [&] { entry->unload(entry); });
    if (entry->cleanUp) Guarded(entry->modulePath, ignored, [&] { entry->cleanUp(); });
  }
  for (ConnectProtocolEntry* entry : entries) {
    vmodule::Close(entry->moduleHandle);
    entry->moduleHandle = nullptr;
    entry->load = nullptr;
    entry->unload = nullptr;
    entry->cleanUp = nullptr;
    entry->factory = nullptr;
  }
  table.Clear();
  std::lock_guard<std::mutex> lock(gResultsMutex);
  Results().clear();
}
