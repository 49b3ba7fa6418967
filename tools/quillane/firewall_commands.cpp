// quillane firewall list|show|set|delete: the saved firewalls as the item database keeps them.
#include <iostream>

#include "config/items/firewall_config.h"
#include "config/items/firewall_messages.h"
#include "config/items/firewall_types.h"
#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "platform/app_info.h"
#include "platform/win32_errors.h"
#include "quillane/item_database.h"
#include "quillane/passphrase_settle.h"
#include "quillane/setting_commands.h"
#include "quillane/text_escape.h"
#include "quillane/value_source.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane firewall list\n"
    "  quillane firewall show NAME [SETTING ...] [--secrets]\n"
    "  quillane firewall set NAME SETTING (VALUE | --value-env VAR | --value-stdin)\n"
    "  quillane firewall delete NAME\n"
    "list gives the firewall names, \"None\" (no firewall) first. show lists the type number and\n"
    "every stored setting; --secrets adds the password's plaintext under the configuration\n"
    "passphrase. set creates the firewall when it does not exist, changes one setting and saves\n"
    "it; \"Firewall Password V2\" takes the plaintext and encrypts it, so it needs the passphrase.\n"
    "\"None\" is built in and cannot be changed or deleted.\n"
    "VALUE may come from environment variable VAR (--value-env VAR) or from one line of standard\n"
    "input (--value-stdin) instead, so that a secret never shows in the list of processes.\n";

constexpr uint32_t kMsgUnknownFirewallType = 0xE13F0090;  // %1: the name, %2: the types

SessionDatabase& Database() { return ItemDatabase(); }

bool IsBuiltIn(const std::string& name) { return vtext::EqualsNoCase(Wide(name), kNoFirewallName); }

int Fail(Context& context, int code, uint32_t id, const std::string& name,
         VReportMessageParams* why = nullptr) {
  VReportMessageParams message(id);
  message.AddInsert(Wide(name));
  if (why) message.AddInsert(why->GetTextOneLineTrimmed());
  return context.Fail(code, message);
}

int List(Context& context) { return ListNames(context, Database().ListFirewalls()); }

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.empty()) throw UsageError("expected NAME");
  const std::string& name = args.positionals[0];
  bool secrets = args.switches.count("--secrets") > 0;
  // "None" is made of defaults and never read; a stored one may carry an older password, which
  // loading turns into the current form under the passphrase.
  if (!IsBuiltIn(name)) {
    if (int status = SettlePassphrase(context, PassphraseUse::Optional, 0, secrets)) return status;
  }
  VRef<FirewallConfig> firewall = Database().OpenFirewall(Wide(name));
  if (!firewall) return Fail(context, kExitNotFound, kMsgFirewallMissing, name);
  int number = firewall->GetTypeNumber();
  if (!context.Json()) {
    std::cout << "type\t" << number << '\t' << Utf8(GetFirewallTypeDisplayName(number)) << "\n";
  }
  SecretText plaintext;
  if (secrets) {
    FirewallConfig* config = firewall.Get();
    plaintext = [config](const VSettingInfo& info, std::string& text) {
      if (config->FindSetting(info.name) != &config->firewallPassword) return false;
      text = Utf8(config->firewallPassword.GetPlaintext());
      return true;
    };
  }
  std::vector<std::string> names(args.positionals.begin() + 1, args.positionals.end());
  if (int status = ShowSettings(context, firewall->ListSettings(), names, plaintext)) return status;
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("type_number", number);
    result.Set("settings", context.Result());
    context.SetResult(std::move(result));
  }
  return kExitOk;
}

// A type name no type has would load as "None" and the firewall would silently stop proxying:
// refuse it and name the types there are.
int CheckTypeName(Context& context, const std::string& text) {
  const VUnicodeString name = Wide(text);
  if (GetFirewallTypeNumber(name) != 0 || vtext::EqualsNoCase(name, kNoFirewallName)) return kExitOk;
  VUnicodeString types;
  for (const FirewallTypeInfo& type : FirewallTypes()) {
    if (!types.empty()) types += u", ";
    types += type.storedName;
  }
  return context.Fail(kExitFailed, kMsgUnknownFirewallType, {name, types});
}

int Set(Context& context, const ParsedArgs& args) {
  const std::vector<std::string> given = PositionalsWithValue(args, 3, "NAME SETTING VALUE");
  const std::string& name = given[0];
  if (IsBuiltIn(name)) return Fail(context, kExitFailed, kMsgFirewallBuiltIn, name);
  // Settled before loading, which may carry an older password into the current form. A password
  // is encrypted under the passphrase: without it, it cannot be saved at all.
  bool secret = vtext::EqualsNoCase(Wide(given[1]), kFirewallPasswordName);
  PassphraseUse use = secret ? PassphraseUse::Required : PassphraseUse::Optional;
  if (int status = SettlePassphrase(context, use)) return status;
  VRef<FirewallConfig> firewall = Database().OpenFirewall(Wide(name));
  if (!firewall) {
    firewall = VRef<FirewallConfig>(new FirewallConfig(Wide(name)));
    firewall->Load(nullptr, VGetDerivedProductId());
  }
  std::vector<VSettingInfo> all = firewall->ListSettings();
  const VSettingInfo* info = FindListed(all, given[1]);
  if (!info) return UnknownSetting(context, given[1]);
  if (&firewall->firewallType == firewall->FindSetting(info->name)) {
    if (int status = CheckTypeName(context, given[2])) return status;
  }
  VReportMessageParams error;
  if (!SetSettingFromText(*firewall.Get(), *info, given[2], error))
    return context.Fail(kExitFailed, error);
  if (!Database().SaveItem(*firewall.Get(), error))
    return Fail(context, kExitFailed, kMsgFirewallNotSaved, name, &error);
  return kExitOk;
}

int Delete(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected NAME");
  const std::string& name = args.positionals[0];
  if (IsBuiltIn(name)) return Fail(context, kExitFailed, kMsgFirewallBuiltIn, name);
  return DeleteNamedItem(context, ItemCollection::Firewalls, Wide(name), kMsgFirewallMissing,
                         kMsgFirewallNotDeleted);
}

int RunFirewall(Context& context) {
  if (context.args.empty()) throw UsageError("firewall needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "list") {
    if (!ParseArgs(rest, {}, {}).positionals.empty()) throw UsageError("list takes no arguments");
    return List(context);
  }
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {"--secrets"}));
  if (sub == "set") return Set(context, ParseArgs(rest, {kValueEnvFlag}, {kValueStdinFlag}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown firewall sub-command " + sub);
}

CommandRegistration registration({"firewall", "list, show, change and delete saved firewalls",
                                  kUsage, &RunFirewall});

}  // namespace
}  // namespace cli
