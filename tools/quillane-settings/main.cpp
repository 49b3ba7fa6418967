// quillane-settings: the graphical host of the options dialogs.
#include <cstdio>
#include <vector>

#include <QApplication>

#include "colors_window.h"
#include "dialog_grab.h"
#include "global_window.h"
#include "host_startup.h"
#include "keymap_window.h"
#include "main_window_host.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "report/message_catalogue.h"
#include "session_window.h"
#include "settings_options.h"
#include "ui/registered_dialogs.h"

namespace {

using settings::kExitFailed;
using settings::kExitOk;
using settings::kExitUsage;

// Lets the passphrase cache go on every way out.
struct StopHostAtExit {
  ~StopHostAtExit() { settings::StopHost(); }
};

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

  StopHostAtExit stopHost;

  if (!options.grabFolder.empty() && vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing) {
    VStatus made = vfs::CreateFolderTree(options.grabFolder, 0755);
    if (!made.ok()) return Fail("cannot create " + options.grabFolder, kExitFailed);
  }
  if (options.window == settings::Window::Main) return settings::RunMainWindow(options);
  if (options.window != settings::Window::Dialog) {
    int exitCode = kExitOk;
    if (!settings::StartHost(options, error, exitCode))
      return settings::ReportStartFailure(error, exitCode);
    if (options.window == settings::Window::KeymapEditor)
      return settings::RunKeymapEditorWindow(options);
    if (options.window == settings::Window::Colors) return settings::RunColorsWindow(options);
    if (options.window == settings::Window::Session ||
        options.window == settings::Window::DefaultSession)
      return settings::RunSessionWindow(options);
    return settings::RunGlobalOptionsWindow(options);
  }
  if (options.grabFolder.empty())
    return Fail("--dialog shows its dialog only as pictures, with --grab DIR", kExitUsage);
  if (!settings::GrabDialogs(options.windowArgument, options.grabFolder, error))
    return Fail(error, kExitFailed);
  return kExitOk;
}
