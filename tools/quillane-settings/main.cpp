// quillane-settings: the graphical host of the options dialogs.
#include <cstdio>
#include <vector>

#include <QApplication>

#include "dialog_grab.h"
#include "global_window.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "report/message_catalogue.h"
#include "settings_options.h"
#include "ui/registered_dialogs.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& message, int code) {
  std::fprintf(stderr, "quillane-settings: %s\n", message.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  settings::Options options;
  std::string error;
  if (!settings::ParseOptions(argc, argv, options, error))
    return Fail(error + "\n" + settings::Usage(), kExitUsage);
  if (options.help) {
    std::fputs(settings::Usage().c_str(), stdout);
    return kExitOk;
  }
  if (!options.language.empty()) {
    VLanguage language;
    if (VParseLanguage(options.language, language)) VSetMessageLanguage(language);
  }
  VSetAppName(VUnicodeString::FromUtf8(options.appName));

  // Pictures need no display: they are drawn offscreen unless the caller chose a platform.
  std::vector<char*> qtArguments(argv, argv + argc);
  char platformOption[] = "-platform";
  char offscreen[] = "offscreen";
  if (!options.grabFolder.empty() && vapp::GetEnv("QT_QPA_PLATFORM").empty()) {
    qtArguments.push_back(platformOption);
    qtArguments.push_back(offscreen);
  }
  int qtArgc = static_cast<int>(qtArguments.size());
  qtArguments.push_back(nullptr);
  QApplication app(qtArgc, qtArguments.data());
  VRegisteredDialogs dialogs;

  if (options.window == settings::Window::GlobalOptions) {
    if (!options.grabFolder.empty() && vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing &&
        !vfs::CreateFolderTree(options.grabFolder, 0755).ok())
      return Fail("cannot create " + options.grabFolder, kExitFailed);
    return settings::RunGlobalOptionsWindow(options);
  }
  if (options.window != settings::Window::Dialog)
    return Fail("this build has the passphrase and firewall dialogs (--dialog) and the Global "
                "Options dialog (--global-options) only; the main window and the other "
                "windows are not part of it yet",
                kExitUsage);
  if (options.grabFolder.empty())
    return Fail("--dialog shows its dialog only as pictures, with --grab DIR", kExitUsage);
  if (vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing) {
    VStatus made = vfs::CreateFolderTree(options.grabFolder, 0755);
    if (!made.ok()) return Fail("cannot create " + options.grabFolder, kExitFailed);
  }
  if (!settings::GrabDialogs(options.windowArgument, options.grabFolder, error))
    return Fail(error, kExitFailed);
  return kExitOk;
}
