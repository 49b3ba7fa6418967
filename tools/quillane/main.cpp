// quillane: a command-line host over a configuration folder, settings file or registry store.
#include <cstring>
#include <iostream>

#include "environment/library_init.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/platform_messages.h"
#include "quillane/cli.h"
#include "quillane/store_location.h"
#include "quillane/usage.h"
#include "report/message_catalogue.h"
#include "report/report_message_params.h"
#include "storage/model/profile_store.h"

namespace {

cli::Context* gContext = nullptr;

VProfileStoreFactory* CommandLineFactory() { return gContext ? gContext->Factory() : nullptr; }

const char* const kApps[] = {"Karvell", "Lumbrel", "Pyrrel", "Wyrmhold", "Skellan"};

// Parses the options before the command; returns the index of the command.
size_t ParseGlobalOptions(int argc, char** argv, cli::Options& options, bool& help) {
  int i = 1;
  for (; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) break;
    if (arg == "--help" || arg == "-h") {
      help = true;
      continue;
    }
    if (arg == "--json") {
      options.json = true;
      continue;
    }
    if (arg == "--no-prompt") {
      options.noPrompt = true;
      continue;
    }
    std::string name = arg;
    std::string value;
    if (size_t eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      throw cli::UsageError(name + " needs a value");
    }
    if (name == "--config") options.config = value;
    else if (name == "--personal") options.personal = value;
    else if (name == "--xml") options.xml = value;
    else if (name == "--registry") options.registry = value;
    else if (name == "--passphrase-env") options.passphraseEnv = value;
    else if (name == "--lang") {
      if (value != "en" && value != "fr") throw cli::UsageError("--lang takes en or fr");
      VSetMessageLanguage(value == "fr" ? VLanguage::French : VLanguage::English);
    } else if (name == "--app") {
      bool known = false;
      for (const char* app : kApps) {
        if (strcasecmp(app, value.c_str()) == 0) {
          options.app = app;
          known = true;
        }
      }
      if (!known) throw cli::UsageError("--app takes Karvell, Lumbrel, Pyrrel, Wyrmhold or Skellan");
    } else {
      throw cli::UsageError("unknown option " + name);
    }
    if (value.empty()) throw cli::UsageError(name + " needs a value");
  }
  cli::RequireUtf8Path(options.config, "--config");
  cli::RequireUtf8Path(options.personal, "--personal");
  cli::RequireUtf8Path(options.xml, "--xml");
  return static_cast<size_t>(i);
}

// Lets the passphrase cache go on every way out, so that the last of the user's processes to hold
// it removes its shared object.
struct CleanupAtExit {
  ~CleanupAtExit() { QuillaneCleanupForUnload(); }
};

}  // namespace

int main(int argc, char** argv) {
  CleanupAtExit cleanup;
  cli::Context context;
  gContext = &context;
  std::string commandName;
  try {
    bool help = false;
    size_t first = ParseGlobalOptions(argc, argv, context.options, help);
    if (first < static_cast<size_t>(argc)) commandName = argv[first];
    for (size_t i = first + 1; i < static_cast<size_t>(argc); ++i) context.args.push_back(argv[i]);
    context.commandName = commandName;

    if (help && commandName.empty()) {
      cli::PrintUsage(std::cout);
      return cli::kExitOk;
    }
    const cli::Command* command = nullptr;
    if (!commandName.empty()) {
      auto it = cli::Commands().find(commandName);
      if (it == cli::Commands().end()) throw cli::UsageError("unknown command " + commandName);
      command = &it->second;
      if (!context.args.empty()) {
        if (const cli::Command* sub = cli::FindSubCommand(commandName, context.args[0])) {
          command = sub;
          context.args.erase(context.args.begin());
          commandName = sub->name;
          context.commandName = commandName;
        }
      }
      for (const auto& arg : context.args) {
        if (arg == "--help") help = true;
      }
      if (help) {
        cli::PrintCommandUsage(std::cout, *command);
        return cli::kExitOk;
      }
    }

    VSetAppName(cli::Wide(context.options.app));
    // The passphrase cache is shared per configuration: where the folder is named on the command
    // line, the cache is opened for it at once.
    cli::NoteConfigFolderEarly(context.options);
    QuillaneInit(nullptr, kInitCreatePassphraseCache);
    QuillaneInitProfileFactory(&CommandLineFactory);
    cli::ResolveStoreLocation(context);
    // A save that went through but left a shared file with another group or mode is not a
    // failure of the command, but the user must hear of it: others may be locked out.
    vfs::SetOwnershipNoticeHandler([](const std::string& path, uint32_t code) {
      VStringArray inserts;
      inserts.Add(VUnicodeString::FromUtf8(path));
      inserts.Add(VFormatCatalogueMessage(code, {}, true));
      std::cerr << "quillane: warning: "
                << VFormatCatalogueMessage(kMsgOwnershipNotKept, inserts, true).ToUtf8() << std::endl;
    });

    int status = command ? command->run(context) : cli::RunOverview(context);
    context.Finish();
    return status;
  } catch (const cli::UsageError& error) {
    std::cerr << "quillane: " << error.what() << "\n\n";
    auto it = cli::Commands().find(commandName);
    size_t space = commandName.find(' ');
    const cli::Command* sub = space == std::string::npos
                                  ? nullptr
                                  : cli::FindSubCommand(commandName.substr(0, space),
                                                        commandName.substr(space + 1));
    if (sub) cli::PrintCommandUsage(std::cerr, *sub);
    else if (it != cli::Commands().end()) cli::PrintCommandUsage(std::cerr, it->second);
    else cli::PrintUsage(std::cerr);
    return cli::kExitUsage;
  }
}
