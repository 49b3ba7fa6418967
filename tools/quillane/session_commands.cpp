// quillane session show|set|create|delete: one saved session as the library loads and saves it.
#include <iostream>

#include "config/global/global_config.h"
#include "config/global/global_config_instance.h"
#include "config/highlight/session_appearance.h"
#include "config/session/connect_protocol_table.h"
#include "config/session/none_config.h"
#include "config/session/session_config.h"
#include "config/session/session_messages.h"
#include "config/session/session_name.h"
#include "config/session/session_store.h"
#include "quillane/cli.h"
#include "quillane/item_database.h"
#include "environment/protocol_modules.h"
#include "quillane/passphrase_settle.h"
#include "quillane/protocol_loading.h"
#include "quillane/setting_commands.h"
#include "quillane/value_source.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane session show PATH [NAME ...] [--secrets]\n"
    "  quillane session set PATH NAME (VALUE | --value-env VAR | --value-stdin)\n"
    "  quillane session set PATH NAME VALUE [NAME VALUE ...]\n"
    "  quillane session create PATH\n"
    "  quillane session delete PATH\n"
    "PATH is the session's path below the Sessions folder (Lab/router1). show lists every\n"
    "setting (terminal part, session settings, printer part, protocol names, then the settings\n"
    "of the session's protocols) as a save would write it; --secrets adds the plaintext of each secret, decrypted under the configuration\n"
    "passphrase (empty when it does not decrypt). set changes one setting and saves the\n"
    "session: numbers in decimal or after 0x, booleans 0, 1, true or false, lists as a JSON array\n"
    "of strings, secrets as their plaintext (encrypted under the configuration passphrase),\n"
    "the login script as its text form. Several NAME VALUE pairs are set in one save; a\n"
    "protocol name among them (\"Protocol Name\", \"Transfer Protocol Name\") is chosen first, so\n"
    "that the settings of that protocol can follow. A setting that both protocol parts hold\n"
    "(\"Hostname\") is set in both. create makes a session from the Default session.\n"
    "The passphrase is settled as for quillane passphrase init; when it cannot be, the command\n"
    "goes on without it: secrets read as empty and new ones are refused.\n"
    "VALUE may come from environment variable VAR (--value-env VAR) or from one line of standard\n"
    "input (--value-stdin) instead, so that a secret never shows in the list of processes.\n";

VUnicodeString SessionPath(const std::string& path) { return VKeyPath::Parse(Wide(path)).Text(); }

// Missing sessions and folders are things that do not exist (exit 1); the rest failed (3).
int FailFor(Context& context, VReportMessageParams& error) {
  uint32_t id = error.GetMessageId();
  bool absent = id == kMsgSessionMissing || id == kMsgSessionIsFolder;
  return context.Fail(absent ? kExitNotFound : kExitFailed, error);
}

VRef<SessionConfig> Open(const VUnicodeString& path, VReportMessageParams& error) {
  return VRef<SessionConfig>(OpenSessionByPath(path, error));
}

// The session's own settings, then those of its protocols that the listing does not hold yet (a
// name both parts store is listed once).
std::vector<VSettingInfo> ListWithProtocols(SessionConfig& session) {
  std::vector<VSettingInfo> all = session.ListSettings();
  for (const ConnectConfig* config : {session.GetTerminalConnectConfig(), session.GetTransferConnectConfig()}) {
    if (!config) continue;
    for (VSettingInfo& info : config->ListSettings()) {
      if (!FindListed(all, Utf8(info.name))) all.push_back(std::move(info));
    }
  }
  return all;
}

// The keyword list and colour scheme a session names are kept as stored even when nothing of that
// name exists; the person looking at the session is told.
void WarnAboutAppearance(const SessionConfig& session) {
  GlobalConfig* global = nullptr;
  if (!GetGlobalConfig(&global, -1) || !global) return;
  VRef<GlobalConfig> held(global);
  SessionAppearance found = FindSessionAppearance(session, ItemDatabase(), global->colorSchemes);
  for (const VUnicodeString& warning : found.warnings)
    std::cerr << "quillane: warning: " << warning.ToUtf8() << std::endl;
}

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.empty()) throw UsageError("expected PATH");
  // A settings file that cannot be read must not make its sessions look absent.
  if (int failed = context.CheckStore()) return failed;
  bool wantSecrets = args.switches.count("--secrets") > 0;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional, 0, wantSecrets))
    return status;
  LoadHostProtocolModules();
  VReportMessageParams error;
  VRef<SessionConfig> session = Open(SessionPath(args.positionals[0]), error);
  if (!session) return FailFor(context, error);
  WarnAboutAppearance(*session.Get());
  std::vector<std::string> names(args.positionals.begin() + 1, args.positionals.end());
  SecretText secrets;
  if (wantSecrets) {
    SessionConfig* config = session.Get();
    secrets = [config](const VSettingInfo& info, std::string& plaintext) {
      auto* secret = dynamic_cast<VProfileEncryptedString*>(config->FindSetting(info.name));
      if (!secret) return false;
      plaintext = Utf8(secret->GetPlaintext());
      return true;
    };
  }
  return ShowSettings(context, ListWithProtocols(*session.Get()), names, secrets);
}

// A protocol name among the pairs, which must be chosen before that protocol's settings exist.
int ProtocolPartOf(const std::string& name) {
  if (vtext::EqualsNoCase(Wide(name), u"Protocol Name")) return 0;
  if (vtext::EqualsNoCase(Wide(name), u"Transfer Protocol Name")) return 1;
  return -1;
}

// Refuses a protocol the part cannot use here, naming the module when it is one of the table's
// rows that is not loaded.
bool CheckProtocolChoice(int part, const std::string& value, VReportMessageParams& error) {
  VUnicodeString name = Wide(value);
  if (vtext::EqualsNoCase(name, kNoneProtocolName) || GetConnectProtocolTable().Find(name, part) >= 0)
    return true;
  for (const ProtocolLoadResult& row : GetProtocolLoadResults()) {
    if (PartAcceptsProduct(part, row.productId) && vtext::EqualsNoCase(row.protocolName, name)) {
      error.Reset(kMsgProtocolModuleMissing);
      error.AddInsert(row.modulePath);
      error.AddInsert(row.protocolName);
      return false;
    }
  }
  error.Reset(kMsgProtocolNotAvailable);
  error.AddInsert(name);
  return false;
}

// Sets `name` wherever the session holds it: its own settings, or each protocol part that has
// it (both parts store a shared name such as "Hostname" under the one value of the key).
enum class Refused { No, Unknown, Value };
Refused SetEverywhere(SessionConfig& session, const std::string& name, const std::string& value,
                      VReportMessageParams& problem) {
  VProfileComposite::SettingRow found;
  if (session.FindSettingRow(Wide(name), found))
    return SetSettingFromText(found, value, problem) ? Refused::No : Refused::Value;
  bool any = false;
  for (ConnectConfig* config : {session.GetTerminalConnectConfig(), session.GetTransferConnectConfig()}) {
    if (!config || !config->FindSettingRow(Wide(name), found)) continue;
    any = true;
    if (!SetSettingFromText(found, value, problem)) return Refused::Value;
  }
  return any ? Refused::No : Refused::Unknown;
}

int Set(Context& context, const ParsedArgs& args) {
  const bool fromSource = args.Has(kValueEnvFlag) || args.Has(kValueStdinFlag);
  std::vector<std::string> given;
  if (fromSource || args.positionals.size() <= 3) {
    given = PositionalsWithValue(args, 3, "PATH NAME VALUE");
  } else {
    given = args.positionals;
    if (given.size() % 2 == 0) throw UsageError("expected PATH NAME VALUE [NAME VALUE ...]: a NAME without its VALUE");
  }
  if (int failed = context.CheckStore()) return failed;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional)) return status;
  LoadHostProtocolModules();
  VUnicodeString path = SessionPath(given[0]);
  std::vector<std::pair<std::string, std::string>> protocols, settings;
  for (size_t i = 1; i + 1 < given.size(); i += 2) {
    (ProtocolPartOf(given[i]) >= 0 ? protocols : settings).emplace_back(given[i], given[i + 1]);
  }
  VReportMessageParams error;
  Refused refused = Refused::No;
  std::string refusedName;
  // The session is found, read, changed and saved through one key of one store. A protocol
  // chosen among the pairs is chosen first, so that its settings can follow; it starts from
  // the values the key holds for it.
  bool done = UpdateSessionAtPath(
      path,
      [&](SessionConfig& session, VReportMessageParams& problem) {
        for (const auto& [name, value] : protocols) {
          int part = ProtocolPartOf(name);
          if (!CheckProtocolChoice(part, value, problem) ||
              !(part == 0 ? session.SetTerminalProtocol(Wide(value), problem)
                          : session.SetTransferProtocol(Wide(value), problem))) {
            refused = Refused::Value;
            return false;
          }
        }
        for (const auto& [name, value] : settings) {
          refused = SetEverywhere(session, name, value, problem);
          if (refused != Refused::No) {
            refusedName = name;
            return false;
          }
        }
        return true;
      },
      error);
  if (refused == Refused::Unknown) return UnknownSetting(context, refusedName);
  if (refused == Refused::Value) return context.Fail(kExitFailed, error);
  if (!done) return FailFor(context, error);
  return kExitOk;
}

int Create(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected PATH");
  if (int failed = context.CheckStore()) return failed;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional)) return status;
  LoadHostProtocolModules();
  std::vector<VUnicodeString> levels = SplitSessionPath(Wide(args.positionals[0]));
  if (levels.empty()) throw UsageError("expected a session path");
  VUnicodeString folder;
  for (size_t i = 0; i + 1 < levels.size(); ++i) {
    if (!folder.empty()) folder += u"\\";
    folder += levels[i];
  }
  VReportMessageParams error;
  if (!ValidateSessionName(folder, VUnicodeString(), levels.back(), false, nullptr, error))
    return context.Fail(kExitFailed, error);
  if (!CreateSessionFromDefault(SessionPath(args.positionals[0]), error))
    return FailFor(context, error);
  return kExitOk;
}

int Delete(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected PATH");
  if (int failed = context.CheckStore()) return failed;
  VReportMessageParams error;
  if (!DeleteSessionAtPath(SessionPath(args.positionals[0]), error)) return FailFor(context, error);
  return kExitOk;
}

int RunSession(Context& context) {
  if (context.args.empty()) throw UsageError("session needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "show") return Show(context, ParseArgs(rest, {}, {"--secrets"}));
  if (sub == "set") return Set(context, ParseArgs(rest, {kValueEnvFlag}, {kValueStdinFlag}));
  if (sub == "create") return Create(context, ParseArgs(rest, {}, {}));
  if (sub == "delete") return Delete(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown session sub-command " + sub);
}

CommandRegistration registration({"session", "show, change, create and delete saved sessions",
                                  kUsage, &RunSession});

}  // namespace
}  // namespace cli
