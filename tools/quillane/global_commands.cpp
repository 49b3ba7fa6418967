// quillane global show|set|save: the global configuration as the library loads and saves it.
#include <iostream>

#include "config/global/global_config_instance.h"
#include "quillane/cli.h"
#include "quillane/setting_commands.h"
#include "quillane/value_source.h"
#include "storage/values/setting_text.h"

namespace cli {
namespace {

// The passphrase check value changes only with the passphrase itself.
constexpr uint32_t kMsgSettingIsPassphraseCheck = 0xE13F0040;

constexpr char kUsage[] =
    "  quillane global show [NAME ...]\n"
    "  quillane global set NAME (VALUE | --value-env VAR | --value-stdin)\n"
    "  quillane global save [--force]\n"
    "show lists every setting (or the named ones) as a save would write it: the kind of value,\n"
    "the name it is stored under, the value, and whether it came from the store or is a default.\n"
    "set changes one setting and saves: numbers in decimal or after 0x, booleans 0, 1, true or\n"
    "false, lists as a JSON array of strings, other kinds in their text form. save writes the\n"
    "changed and flagged values, or every value with --force. --app decides which product's\n"
    "names are used (Lumbrel and Skellan keep their own values of some settings).\n"
    "VALUE may come from environment variable VAR (--value-env VAR) or from one line of standard\n"
    "input (--value-stdin) instead, so that a secret never shows in the list of processes.\n";

// The shared instance, held for the length of a command.
VRef<GlobalConfig> Shared() {
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  return VRef<GlobalConfig>(config);
}

int Show(Context& context, const ParsedArgs& args) {
  // Settings that are there but cannot be read must not be shown as defaults.
  if (int failed = context.CheckStore()) return failed;
  VReportMessageParams unreadable;
  if (GlobalConfigUnreadable(unreadable)) return context.Fail(kExitFailed, unreadable);
  VRef<GlobalConfig> config = Shared();
  return ShowSettings(context, config->ListSettings(), args.positionals);
}

int Save(Context& context, bool force) {
  VReportMessageParams error;
  if (SaveGlobalConfig(force, error)) return kExitOk;
  return context.Fail(kExitFailed, kMsgKeyNotSaved, {u"Global", error.GetTextOneLineTrimmed()});
}

int Set(Context& context, const ParsedArgs& args) {
  const std::vector<std::string> given = PositionalsWithValue(args, 2, "NAME VALUE");
  if (int failed = context.CheckStore()) return failed;
  const std::string& name = given[0];
  const std::string& value = given[1];
  VRef<GlobalConfig> config = Shared();
  std::vector<VSettingInfo> all = config->ListSettings();
  const VSettingInfo* info = FindListed(all, name);
  if (!info) return UnknownSetting(context, name);
  if (config->FindSetting(info->name) == &config->configPassphrase)
    return context.Fail(kExitFailed, kMsgSettingIsPassphraseCheck, {info->name});
  VReportMessageParams error;
  if (!SetSettingFromText(*config.Get(), *info, value, error))
    return context.Fail(kExitFailed, error);
  return Save(context, false);
}

int RunGlobal(Context& context) {
  if (context.args.empty()) throw UsageError("global needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {}));
  if (sub == "set") return Set(context, ParseArgs(rest, {kValueEnvFlag}, {kValueStdinFlag}));
  if (sub == "save") {
    ParsedArgs args = ParseArgs(rest, {}, {"--force"});
    if (!args.positionals.empty()) throw UsageError("save takes no arguments");
    return Save(context, args.switches.count("--force") > 0);
  }
  throw UsageError("unknown global sub-command " + sub);
}

CommandRegistration registration({"global", "show, change and save the global configuration",
                                  kUsage, &RunGlobal});

}  // namespace
}  // namespace cli
