// The command line of quillane-settings: where the configuration is, which application and
// language, which window to open, and whether to render it into pictures instead.
#pragma once

#include <string>
#include <vector>

namespace settings {

enum class Window {
  Main,
  Session,         // --session PATH
  DefaultSession,  // --default-session
  GlobalOptions,   // --global-options
  Colors,          // --colors
  KeymapEditor,    // --keymap-editor PATH
  Dialog,          // --dialog NAME: one of the passphrase and firewall dialogs
};

struct Options {
  std::string configFolder;  // --config
  std::string xmlFile;       // --xml
  std::string registryHive;  // --registry HKCU|HKLM
  std::string personalFolder;
  std::string appName = "Karvell";
  std::string language;
  Window window = Window::Main;
  std::string windowArgument;  // the session path, key map path or dialog name
  std::string grabFolder;      // --grab
  bool help = false;
};

// The applications --app names.
const std::vector<std::string>& AppNames();
// The dialogs --dialog opens, in the order --grab writes them.
const std::vector<std::string>& DialogNames();

// False with a message naming the option at fault.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);
std::string Usage();

}  // namespace settings
