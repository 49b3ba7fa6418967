#include "session_window.h"

#include <cstdio>
#include <memory>

#include "config/database/session_database_instance.h"
#include "crypto/config_passphrase.h"
#include "crypto/passphrase_busy_wait.h"
#include "environment/installed_products.h"
#include "environment/library_init.h"
#include "environment/passphrase_startup.h"
#include "environment/products.h"
#include "environment/protocol_modules.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "storage/ini/ini_file_store.h"
#include "storage/registry/registry_store.h"
#include "storage/xml/xml_file_store.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/session_options/edit_session.h"

namespace settings {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

int Fail(const std::string& message) {
  std::fprintf(stderr, "quillane-settings: %s\n", message.c_str());
  return kExitFailed;
}

// ---- start-up of this window alone; the shared host start-up takes its place once merged ----

std::unique_ptr<VProfileStoreFactory> gFactory;
VProfileStoreFactory* Factory() { return gFactory.get(); }

bool StartHost(const Options& options, bool prompting, std::string& error) {
  std::string folder = options.configFolder;
  if (folder.empty() && options.xmlFile.empty() && options.registryHive.empty())
    folder = vapp::GetEnv("QUILLANE_CONFIG");
  if (!options.xmlFile.empty()) {
    gFactory = std::make_unique<VXmlFileStoreFactory>(VUnicodeString::FromUtf8(options.xmlFile));
  } else if (!options.registryHive.empty()) {
    VRegistryHive hive = VRegistryHive::CurrentUser;
    if (!VParseRegistryHive(options.registryHive, hive)) {
      error = "--registry takes HKCU or HKLM";
      return false;
    }
    gFactory = std::make_unique<VRegistryStoreFactory>(hive, VUnicodeString());
  } else if (!folder.empty()) {
    gFactory = std::make_unique<VIniFileStoreFactory>(VUnicodeString::FromUtf8(folder),
                                                      VUnicodeString::FromUtf8(options.personalFolder));
  } else {
    error = "name the configuration with --config DIR, --xml FILE or --registry HIVE";
    return false;
  }
  QuillaneInit(nullptr, kInitCreatePassphraseCache);
  QuillaneInitProfileFactory(&Factory);
  // The application running is installed, wherever the host program itself lives.
  int product = GetDerivedAppProductID();
  if (product == kProductKarvell) SetKarvellInstalled(true);
  if (product == kProductLumbrel || product == kProductSkellan) SetLumbrelInstalled(true);

  VReportMessageParams report;
  uint32_t flags = prompting ? 0 : kPassphraseNoPrompting | kPassphraseDisableIfNeeded;
  uint32_t settled = InitializeConfigPassphrase(flags, report, nullptr);
  if (settled != 0 && !prompting) {
    // Pictures need no secrets: this run alone goes without the passphrase, on a private cache
    // so that the user's other processes are not switched off too.
    CloseConfigPassphraseCache();
    SetConfigPassphraseDisabled(true);
  } else if (settled != 0) {
    error = report.GetMessageId() ? MessageText(report).toStdString()
                                  : std::string("the configuration passphrase was not given");
    return false;
  }
  ProtocolLoadOptions load;
  load.onFailure = [](const VReportMessageParams& failure) {
    VReportMessageParams copy = failure;
    std::fprintf(stderr, "quillane-settings: warning: %s\n",
                 copy.GetTextTrimmed().ToUtf8().c_str());
    return false;
  };
  bool aborted = false;
  LoadConnectionProtocolDlls(nullptr, GetCurrentAppProductID(),
                             VUnicodeString::FromUtf8(vapp::ExecutableFolder()), aborted, report,
                             load);
  return true;
}

}  // namespace

int RunSessionWindow(const Options& options) {
  const bool grab = !options.grabFolder.empty();
  const bool defaultSession = options.window == Window::DefaultSession;
  std::string error;
  if (!StartHost(options, !grab, error)) return Fail(error);
  const VUnicodeString path = VUnicodeString::FromUtf8(options.windowArgument);

  if (grab) {
    if (vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing &&
        !vfs::CreateFolderTree(options.grabFolder, 0755).ok())
      return Fail("cannot create " + options.grabFolder);
    QString problem;
    if (!GrabSessionOptions(path, defaultSession, QString::fromStdString(options.grabFolder),
                            problem))
      return Fail(problem.toStdString());
    return kExitOk;
  }
  if (defaultSession) {
    bool allChanged = false;
    return EditDefaultSessionWithResult(nullptr, 0, nullptr, allChanged) == kIdOk ? kExitOk
                                                                                    : kExitFailed;
  }
  VReportMessageParams problem;
  int result = EditSessionAtPath(path, nullptr, problem);
  if (result == 0) return Fail(MessageText(problem).toStdString());
  return result == kIdOk ? kExitOk : kExitFailed;
}

}  // namespace settings
