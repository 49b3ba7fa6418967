#include "host_startup.h"

#include <cstdio>
#include <memory>

#include "crypto/config_passphrase.h"
#include "environment/installed_products.h"
#include "environment/library_init.h"
#include "environment/products.h"
#include "environment/passphrase_startup.h"
#include "host/protocol_loading.h"
#include "host/store_location.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "report/message_catalogue.h"
#include "report/report_message_params.h"

namespace settings {
namespace {

constexpr uint32_t kMsgConfigIsAFile = 0xE1391400;   // %1 folder
constexpr uint32_t kMsgConfigUnreadable = 0xE1391401;  // %1 folder, %2 why

host::StoreLocation gLocation;
std::unique_ptr<VProfileStoreFactory> gFactory;
bool gInitialised = false;

VProfileStoreFactory* HostFactory() { return gFactory.get(); }

std::string Text(VReportMessageParams& message) { return message.GetTextTrimmed().ToUtf8(); }

// The host's own texts are in the interface's catalogue.
std::string Catalogue(uint32_t id, const std::string& first, const std::string& second = {}) {
  VUnicodeString one = VUnicodeString::FromUtf8(first);
  VUnicodeString two = VUnicodeString::FromUtf8(second);
  return CatalogueText(id, nullptr, {std::u16string_view(one), std::u16string_view(two)})
      .trimmed()
      .toStdString();
}

// A folder store over something that is not a folder, or one that cannot be listed, would be
// read as an empty configuration and the user would see no sessions instead of the reason.
bool CheckFolderReadable(const std::string& folder, std::string& error) {
  vfs::PathKind kind = vfs::KindOfPath(folder);
  if (kind == vfs::PathKind::Missing) return true;  // made on first save, as on first use
  if (kind == vfs::PathKind::Other) {
    error = Catalogue(kMsgConfigIsAFile, folder);
    return false;
  }
  std::vector<vfs::FolderEntry> entries;
  VStatus listed = vfs::ListFolder(folder, entries);
  if (!listed.ok()) {
    error = Catalogue(kMsgConfigUnreadable, folder,
                      VFormatCatalogueMessage(listed.Code(), {}, true).ToUtf8());
    return false;
  }
  return true;
}

}  // namespace

int ReportStartFailure(const std::string& message, int code) {
  std::fprintf(stderr, "quillane-settings: %s\n", message.c_str());
  return code;
}

bool OpenHostConfiguration(const Options& options, std::string& error, int& exitCode) {
  host::StoreOptions store;
  store.config = options.configFolder;
  store.xml = options.xmlFile;
  store.registry = options.registryHive;
  store.personal = options.personalFolder;
  store.app = options.appName;
  VSetAppName(VUnicodeString::FromUtf8(options.appName));
  if (!gInitialised) {
    // The passphrase cache is shared per configuration: where the folder is named on the command
    // line, the cache is opened for it at once.
    host::NoteConfigFolderEarly(store);
    QuillaneInit(nullptr, kInitCreatePassphraseCache);
    QuillaneInitProfileFactory(&HostFactory);
    gInitialised = true;
  }
  host::StoreLocation location;
  if (!host::ResolveStoreLocation(store, location, error)) {
    exitCode = kExitUsage;
    return false;
  }
  exitCode = kExitFailed;
  if (location.kind == host::StoreKind::IniFolder &&
      !CheckFolderReadable(location.location, error))
    return false;
  gLocation = location;
  gFactory = host::MakeStoreFactory(location);
  VProfileStore check(true, gFactory.get());
  VReportMessageParams unreadable;
  if (!host::CheckStoreReadable(location, check, unreadable)) {
    error = Text(unreadable);
    return false;
  }
  exitCode = kExitOk;
  return true;
}

bool SettleHostPassphrase(bool ask, std::string& error, int& exitCode) {
  exitCode = kExitOk;
  if (!ask) {
    // A private cache, so that the user's other processes sharing this configuration are not
    // switched off too.
    CloseConfigPassphraseCache();
    SetConfigPassphraseDisabled(true);
    return true;
  }
  VReportMessageParams report;
  uint32_t code = InitializeConfigPassphrase(0, report, nullptr);
  if (code == win32::kSuccess) {
    // Settled, but a pass over the secrets left some items as they were: the dialogs showed
    // them; the log of a start keeps them too.
    if (report.IsError()) ReportStartFailure(Text(report), 0);
    return true;
  }
  if (!report.IsError()) {
    // The user cancelled: no message of the model's own, so the cancel itself is the reason.
    report.SetError(win32::kCancelled);
    exitCode = kExitCancelled;
  } else {
    exitCode = kExitFailed;
  }
  error = Text(report);
  return false;
}

bool StartHost(const Options& options, std::string& error, int& exitCode) {
  if (!OpenHostConfiguration(options, error, exitCode)) return false;
  // This host edits the options of the application --app names, so that application counts as
  // installed wherever the host program itself lives.
  int product = GetDerivedAppProductID();
  if (product == kProductKarvell) SetKarvellInstalled(true);
  if (product == kProductLumbrel || product == kProductSkellan) SetLumbrelInstalled(true);
  host::LoadProtocolModules([](VReportMessageParams& failure) {
    // The host goes on with the protocols that loaded; the missing one's sessions keep what
    // they store.
    ReportStartFailure("warning: " + Text(failure), 0);
  });
  return SettleHostPassphrase(options.grabFolder.empty(), error, exitCode);
}

bool StartHost(const Options& options, std::string& error) {
  int exitCode = kExitOk;
  return StartHost(options, error, exitCode);
}

std::string HostConfigurationLocation() { return gLocation.location; }
std::string HostPersonalDataLocation() { return gLocation.personal; }

void StopHost() {
  if (gInitialised) QuillaneCleanupForUnload();
  gInitialised = false;
}

}  // namespace settings
