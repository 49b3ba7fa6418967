#include "settings_options.h"

#include <algorithm>
#include <string_view>

namespace settings {

const std::vector<std::string>& DialogNames() {
  static const std::vector<std::string> names = {
      "passphrase-create", "passphrase-enter",  "passphrase-change",
      "firewall-username", "firewall-password", "firewall-new",
      "keyword-list",      "filter"};
  return names;
}

const std::vector<std::string>& AppNames() {
  static const std::vector<std::string> names = {"Karvell", "Lumbrel", "Pyrrel", "Wyrmhold",
                                                 "Skellan"};
  return names;
}

std::string Usage() {
  return "usage: quillane-settings [--config DIR | --xml FILE | --registry HKCU|HKLM]\n"
         "                         [--personal DIR] [--app NAME] [--lang en|fr]\n"
         "                         [--session PATH | --default-session | --global-options\n"
         "                          | --colors | --keymap-editor PATH | --dialog NAME]\n"
         "                         [--grab DIR]\n"
         "  --dialog NAME   one of the passphrase, firewall, keyword and filter dialogs:\n"
         "                  passphrase-create, passphrase-enter, passphrase-change,\n"
         "                  firewall-username, firewall-password, firewall-new,\n"
         "                  keyword-list, filter, or all (with --grab)\n"
         "  --grab DIR      render the window offscreen into DIR, one PNG per page, and exit\n";
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  bool storeChosen = false;
  bool windowChosen = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        error = std::string(arg) + " needs a value";
        return false;
      }
      into = argv[++i];
      if (into.empty()) {
        error = std::string(arg) + " needs a value that is not empty";
        return false;
      }
      return true;
    };
    auto store = [&](std::string& into) {
      if (storeChosen) {
        error = "only one of --config, --xml and --registry may be given";
        return false;
      }
      storeChosen = true;
      return value(into);
    };
    auto window = [&](Window kind, bool takesValue) {
      if (windowChosen) {
        error = "only one window option may be given (" + std::string(arg) + ")";
        return false;
      }
      windowChosen = true;
      options.window = kind;
      return !takesValue || value(options.windowArgument);
    };
    bool ok = true;
    if (arg == "--help" || arg == "-h") options.help = true;
    else if (arg == "--config") ok = store(options.configFolder);
    else if (arg == "--xml") ok = store(options.xmlFile);
    else if (arg == "--registry") {
      ok = store(options.registryHive);
      if (ok && options.registryHive != "HKCU" && options.registryHive != "HKLM") {
        error = "--registry takes HKCU or HKLM, not '" + options.registryHive + "'";
        ok = false;
      }
    } else if (arg == "--personal") ok = value(options.personalFolder);
    else if (arg == "--app") {
      ok = value(options.appName);
      const auto& apps = AppNames();
      if (ok && std::find(apps.begin(), apps.end(), options.appName) == apps.end()) {
        error = "--app takes Karvell, Lumbrel, Pyrrel, Wyrmhold or Skellan, not '" +
                options.appName + "'";
        ok = false;
      }
    }
    else if (arg == "--lang") {
      ok = value(options.language);
      if (ok && options.language != "en" && options.language != "fr") {
        error = "--lang takes en or fr, not '" + options.language + "'";
        ok = false;
      }
    } else if (arg == "--session") ok = window(Window::Session, true);
    else if (arg == "--default-session") ok = window(Window::DefaultSession, false);
    else if (arg == "--global-options") ok = window(Window::GlobalOptions, false);
    else if (arg == "--colors") ok = window(Window::Colors, false);
    else if (arg == "--keymap-editor") ok = window(Window::KeymapEditor, true);
    else if (arg == "--dialog") {
      ok = window(Window::Dialog, true);
      const auto& names = DialogNames();
      if (ok && options.windowArgument != "all" &&
          std::find(names.begin(), names.end(), options.windowArgument) == names.end()) {
        error = "--dialog does not know '" + options.windowArgument + "'";
        ok = false;
      }
    } else if (arg == "--grab") ok = value(options.grabFolder);
    else {
      error = "unknown option '" + std::string(arg) + "'";
      ok = false;
    }
    if (!ok) return false;
  }
  if (options.window == Window::Dialog && options.windowArgument == "all" &&
      options.grabFolder.empty()) {
    error = "--dialog all is only for --grab";
    return false;
  }
  return true;
}

}  // namespace settings
