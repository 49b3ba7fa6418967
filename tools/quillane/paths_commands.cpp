// quillane paths ...: where the configuration and the personal data live, the values each
// application remembers about them, and the checks a host runs on its folders at start-up.
#include <iostream>

#include "environment/app_paths.h"
#include "environment/config_path_checks.h"
#include "environment/console_questions.h"
#include "environment/installed_products.h"
#include "environment/local_names.h"
#include "platform/file_identity.h"
#include "platform/file_system.h"
#include "quillane/cli.h"
#include "quillane/store_location.h"
#include "quillane/secret_exposure.h"
#include "quillane/text_escape.h"
#include "storage/ini/ini_file_key.h"
#include "storage/values/profile_path.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane paths show\n"
    "  quillane paths set-config DIR [--force]\n"
    "  quillane paths personal [--set DIR] [--separate on|off] [--migrate on|off]\n"
    "                          [--merge on|off] [--force]\n"
    "  quillane paths check-command-line ARG\n"
    "  quillane paths check-redirect DIR [--save]\n"
    "  quillane paths check-filename NAME\n"
    "  quillane paths expand TEXT\n"
    "  quillane paths contract PATH\n"
    "show lists the folders and flags the running application (--app) remembers and the folders\n"
    "they resolve to. set-config remembers DIR as the configuration folder; personal writes the\n"
    "personal data values given and shows them. DIR is made a full path; a missing one may be\n"
    "created (asked on the terminal); an empty DIR forgets the value. In an integrated pair the\n"
    "other application's configuration folder is written too when it has none or with --force;\n"
    "its personal data values only with --force.\n"
    "check-command-line checks a folder given after /F and prints the folder to use.\n"
    "check-redirect checks DIR for a moved or incomplete configuration and prints the folder to\n"
    "use; --save remembers a new folder. An incomplete Global.ini is renamed aside.\n"
    "check-filename tells whether NAME may be a local file name. expand prints what a path\n"
    "setting stored as TEXT means here; contract prints how a path setting holding PATH is\n"
    "stored.\n";

// Questions on the terminal; failures are kept for the command's own report instead of being
// printed as they happen, so that they leave with the exit status and the JSON error.
class CommandLineQuestions : public IUserQuestions {
 public:
  explicit CommandLineQuestions(const Context& context)
      : console_(!context.options.noPrompt, std::cerr) {}
  bool AskYesNo(VReportMessageParams& question) override { return console_.AskYesNo(question); }
  bool AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) override {
    return console_.AskFolder(prompt, folder);
  }
  void Notify(VReportMessageParams& message, VNoticeKind kind) override {
    if (kind == VNoticeKind::Error)
      failure = message;
    else
      console_.Notify(message, kind);
  }
  VReportMessageParams failure;

 private:
  VConsoleQuestions console_;
};

void Expect(const ParsedArgs& args, size_t count, const char* what) {
  if (args.positionals.size() != count) throw UsageError(std::string("paths expects ") + what);
}

bool OnOff(const ParsedArgs& args, const std::string& flag, bool& value) {
  auto it = args.values.find(flag);
  if (it == args.values.end()) return false;
  if (it->second != "on" && it->second != "off") throw UsageError(flag + " takes on or off");
  value = it->second == "on";
  return true;
}

std::string ConfigFolder(const Context& context) {
  if (context.storeKind == StoreKind::IniFolder) return context.storeLocation;
  std::string how;
  return ResolveConfigFolder(context.options, how);
}

// A folder typed on the command line, as it will be remembered: a full path that is a folder or
// does not exist yet. False with the reason in `questions.failure`.
bool FolderToRemember(const std::string& typed, CommandLineQuestions& questions,
                      VUnicodeString& folder) {
  folder.clear();
  if (typed.empty()) return true;  // forgets the value
  RequireUtf8Path(typed, "DIR");
  auto full = vfs::FullPath(typed);
  if (!full) {
    questions.failure.SetStatus(full.Status());
    return false;
  }
  folder = Wide(*full);
  return ValidateLocalFolder(questions, folder);
}

int Show(Context& context) {
  VUnicodeString app = Wide(context.options.app);
  std::string config = ConfigFolder(context);
  VUnicodeString configStored = GetAppConfigPath(app);
  VUnicodeString personal = GetAppPersonalDataPath(app, Wide(config));
  if (!context.options.personal.empty()) {
    auto full = vfs::FullPath(context.options.personal);
    personal = Wide(full ? *full : context.options.personal);
  }
  VUnicodeString personalStored = GetAppPersonalDataPathStored(app);
  bool separate = UsePersonalDataPath(app);
  bool migrate = DoPersonalDataMigration(app);
  bool merge = DoPersonalDataMerge(app);
  VUnicodeString other;
  bool integrated = IsIntegrated(other);
  const bool exposed = WarnIfSecretsReadableByOthers(context, context.storeLocation);

  if (context.Json()) {
    Json result = Json::Object();
    result.Set("app", context.options.app);
    result.Set("config_path", config);
    result.Set("config_path_stored", Utf8(configStored));
    result.Set("personal_data_path", Utf8(personal));
    result.Set("personal_data_path_stored", Utf8(personalStored));
    result.Set("store_personal_data_separately", separate);
    result.Set("do_personal_data_migration", migrate);
    result.Set("do_personal_data_merge", merge);
    result.Set("integrated", integrated);
    result.Set("other_app", integrated ? Json(Utf8(other)) : Json());
    result.Set("secrets_readable_by_others", exposed);
    context.SetResult(std::move(result));
    return kExitOk;
  }
  auto stored = [](const VUnicodeString& value) {
    return value.empty() ? std::string("(none)") : EscapeText(value);
  };
  auto yesNo = [](bool value) { return value ? "yes" : "no"; };
  std::cout << "Application:                      " << context.options.app << '\n'
            << "Configuration folder:             " << EscapeText(config) << '\n'
            << "  remembered:                     " << stored(configStored) << '\n'
            << "Personal data folder:             " << EscapeText(personal) << '\n'
            << "  remembered:                     " << stored(personalStored) << '\n'
            << "Store personal data separately:   " << yesNo(separate) << '\n'
            << "Personal data migration pending:  " << yesNo(migrate) << '\n'
            << "Personal data merge pending:      " << yesNo(merge) << '\n'
            << "Integrated with:                  "
            << (integrated ? EscapeText(other) : std::string("(not integrated)")) << '\n';
  return kExitOk;
}

int SetConfig(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "DIR");
  CommandLineQuestions questions(context);
  VUnicodeString folder;
  if (!FolderToRemember(args.positionals[0], questions, folder))
    return context.Fail(kExitFailed, questions.failure);
  VReportMessageParams error;
  if (!SaveAppConfigPath(folder, args.switches.count("--force") > 0, &error))
    return context.Fail(kExitFailed, error);
  return kExitOk;
}

int Personal(Context& context, const ParsedArgs& args) {
  Expect(args, 0, "no DIR (use --set DIR)");
  bool force = args.switches.count("--force") > 0;
  VReportMessageParams error;
  if (auto it = args.values.find("--set"); it != args.values.end()) {
    CommandLineQuestions questions(context);
    VUnicodeString folder;
    if (!FolderToRemember(it->second, questions, folder))
      return context.Fail(kExitFailed, questions.failure);
    // Told apart by what the folders are on disk: a link to the configuration folder, or the
    // folder written another way, is the configuration folder.
    if (!folder.empty() && vfs::SameFileOrFolder(Utf8(folder), ConfigFolder(context)))
      return context.Fail(kExitFailed, kMsgPersonalFolderIsConfigFolder);
    if (!SaveAppPersonalDataPath(folder, force, &error)) return context.Fail(kExitFailed, error);
  }
  bool value = false;
  if (OnOff(args, "--separate", value) && !SaveUsePersonalDataPath(value, force, &error))
    return context.Fail(kExitFailed, error);
  if (OnOff(args, "--migrate", value) && !SaveDoPersonalDataMigration(value, force, &error))
    return context.Fail(kExitFailed, error);
  if (OnOff(args, "--merge", value) && !SaveDoPersonalDataMerge(value, force, &error))
    return context.Fail(kExitFailed, error);
  return Show(context);
}

int PrintPath(Context& context, const char* member, const VUnicodeString& path) {
  if (context.Json()) {
    Json result = Json::Object();
    result.Set(member, Utf8(path));
    context.SetResult(std::move(result));
  } else {
    std::cout << EscapeText(path) << '\n';
  }
  return kExitOk;
}

int CheckCommandLine(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "ARG");
  VUnicodeString folder;
  VReportMessageParams report;
  if (!CheckAppConfigPathCommandLine(Wide(args.positionals[0]), folder, report))
    return context.Fail(kExitFailed, report);
  return PrintPath(context, "path", folder);
}

int CheckRedirect(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "DIR");
  auto full = vfs::FullPath(args.positionals[0]);
  VUnicodeString folder = Wide(full ? *full : args.positionals[0]);
  Json message;
  auto report = [&](const VReportMessageParams& shown) {
    VReportMessageParams copy(shown);
    std::string text = Utf8(copy.GetTextTrimmed());
    std::cerr << text << std::endl;
    message = Json(text);
  };
  VUnicodeString before = folder;
  VReportMessageParams error;
  bool ok = CheckAppConfigPathRedirect(args.switches.count("--save") > 0, report, folder, &error);
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("path", Utf8(folder));
    result.Set("redirected", folder != before);
    result.Set("message", message);
    context.SetResult(std::move(result));
  } else if (ok) {
    std::cout << EscapeText(folder) << '\n';
  }
  return ok ? kExitOk : context.Fail(kExitFailed, error);
}

int CheckFilename(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "NAME");
  VReportMessageParams error;
  bool valid = CheckLocalFilename(Wide(args.positionals[0]), error);
  Json result = Json::Object();
  result.Set("valid", valid);
  context.SetResult(std::move(result));
  return valid ? kExitOk : context.Fail(kExitFailed, error);
}

int Expand(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "TEXT");
  VPathKind kind = kPathNone;
  return PrintPath(context, "path",
                   VExpandStoredPath(Wide(args.positionals[0]), VPathFolders::Current(), kind));
}

int Contract(Context& context, const ParsedArgs& args) {
  Expect(args, 1, "PATH");
  return PrintPath(context, "stored",
                   VContractPath(Wide(args.positionals[0]), VPathFolders::Current(), kPathNone));
}

int RunPaths(Context& context) {
  if (context.args.empty()) throw UsageError("paths needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "show") {
    Expect(ParseArgs(rest, {}, {}), 0, "no arguments");
    return Show(context);
  }
  if (sub == "set-config") return SetConfig(context, ParseArgs(rest, {}, {"--force"}));
  if (sub == "personal")
    return Personal(context,
                    ParseArgs(rest, {"--set", "--separate", "--migrate", "--merge"}, {"--force"}));
  if (sub == "check-command-line") return CheckCommandLine(context, ParseArgs(rest, {}, {}));
  if (sub == "check-redirect") return CheckRedirect(context, ParseArgs(rest, {}, {"--save"}));
  if (sub == "check-filename") return CheckFilename(context, ParseArgs(rest, {}, {}));
  if (sub == "expand") return Expand(context, ParseArgs(rest, {}, {}));
  if (sub == "contract") return Contract(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown paths sub-command " + sub);
}

CommandRegistration registration({"paths", "where the configuration and personal data live", kUsage,
                                  &RunPaths});

}  // namespace
}  // namespace cli
