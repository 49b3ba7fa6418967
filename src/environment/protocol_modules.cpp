#include "environment/protocol_modules.h"

#include <mutex>

#include "config/session/connect_protocol_table.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "environment/protocol_module_rows.h"
#include "environment/protocol_row_loader.h"
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

bool LoadProduct(int productId, const VUnicodeString& installFolder, bool& aborted,
                 VReportMessageParams& report, const ProtocolLoadOptions& options) {
  vfs::Env* env = options.env ? options.env : vfs::Env::Default();
  int bits = options.fipsBits >= 0 ? options.fipsBits : ReadFipsBits(env, options.fipsPolicyFile);
  std::string folder = installFolder.ToUtf8();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  ProtocolRowLoader loader(options, bits);
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
    failure.AddInsert(ProtocolProductName(productId));
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
    if (entry->unload) CallModuleGuarded(entry->modulePath, ignored, [&] { entry->unload(entry); });
    if (entry->cleanUp) CallModuleGuarded(entry->modulePath, ignored, [&] { entry->cleanUp(); });
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
