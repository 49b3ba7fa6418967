#include "environment/protocol_row_loader.h"

#include <exception>

#include "config/session/protocol_module_interface.h"
#include "environment/module_file_check.h"
#include "environment/products.h"
#include "platform/app_info.h"
#include "platform/module_calls.h"

namespace {

void SetError(VReportMessageParams& error, uint32_t id, const VUnicodeString& first,
              const VUnicodeString& second) {
  error.Reset(id);
  error.AddInsert(first);
  error.AddInsert(second);
}

}  // namespace

VUnicodeString ProtocolProductName(int productId) {
  VUnicodeString name = GetProductNameFromId(productId);
  if (name.empty() && productId == kProductOstrel) name = u"Ostrel";
  return name.empty() ? VGetAppName() : name;
}

bool CallModuleGuarded(const VUnicodeString& path, VReportMessageParams& error,
                       const std::function<void()>& call) {
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

// The row checks and the calls into the module, kept out of the header.
class ProtocolRowLoaderImpl {
 public:
  ProtocolRowLoaderImpl(const ProtocolLoadOptions& options, int fipsBits)
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
    if (!CallModuleGuarded(widePath, error, [&] { guidFunction(guid.data()); })) {
      Release(entry);
      return false;
    }
    if (guid != kProtocolInterfaceGuid) {
      SetError(error, kMsgModuleWrongInterface, ProtocolProductName(row.productId), widePath);
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
    if (!CallModuleGuarded(widePath, error, [&] { loaded = load(options_.applicationContext, &entry, &moduleError); })) {
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
      CallModuleGuarded(entry.modulePath, ignored, [&] { entry.unload(&entry); });
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

ProtocolRowLoader::ProtocolRowLoader(const ProtocolLoadOptions& options, int fipsBits)
    : impl_(std::make_unique<ProtocolRowLoaderImpl>(options, fipsBits)) {}

ProtocolRowLoader::~ProtocolRowLoader() = default;

void ProtocolRowLoader::Load(const ProtocolModuleRow& row, const std::string& folder,
                             ProtocolLoadResult& result) {
  impl_->Load(row, folder, result);
}
