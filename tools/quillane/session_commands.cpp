// quillane session show|set|create|delete: one saved session as the library loads and saves it.
#include <iostream>

#include "config/session/session_config.h"
#include "config/session/session_messages.h"
#include "config/session/session_name.h"
#include "config/session/session_store.h"
#include "quillane/cli.h"
#include "quillane/passphrase_settle.h"
#include "quillane/setting_commands.h"
#include "quillane/value_source.h"

namespace cli {
namespace {

constexpr char kUsage[] =
    "  quillane session show PATH [NAME ...] [--secrets]\n"
    "  quillane session set PATH NAME (VALUE | --value-env VAR | --value-stdin)\n"
    "  quillane session create PATH\n"
    "  quillane session delete PATH\n"
    "PATH is the session's path below the Sessions folder (Lab/router1). show lists every\n"
    "setting (terminal part, session settings, printer part, protocol names) as a save would\n"
    "write it; --secrets adds the plaintext of each secret, decrypted under the configuration\n"
    "passphrase (empty when it does not decrypt). set changes one setting and saves the\n"
    "session: numbers in decimal or after 0x, booleans 0, 1, true or false, lists as a JSON array\n"
    "of strings, secrets as their plaintext (encrypted under the configuration passphrase),\n"
    "the login script as its text form. create makes a session from the Default session.\n"
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

int Show(Context& context, const ParsedArgs& args) {
  if (args.positionals.empty()) throw UsageError("expected PATH");
  // A settings file that cannot be read must not make its sessions look absent.
  if (int failed = context.CheckStore()) return failed;
  bool wantSecrets = args.switches.count("--secrets") > 0;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional, 0, wantSecrets))
    return status;
  VReportMessageParams error;
  VRef<SessionConfig> session = Open(SessionPath(args.positionals[0]), error);
  if (!session) return FailFor(context, error);
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
  return ShowSettings(context, session->ListSettings(), names, secrets);
}

int Set(Context& context, const ParsedArgs& args) {
  const std::vector<std::string> given = PositionalsWithValue(args, 3, "PATH NAME VALUE");
  if (int failed = context.CheckStore()) return failed;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional)) return status;
  VUnicodeString path = SessionPath(given[0]);
  VReportMessageParams error;
  // The session is found, read, changed and saved through one key of one store.
  enum class Refused { No, Unknown, Value } refused = Refused::No;
  bool done = UpdateSessionAtPath(
      path,
      [&](SessionConfig& session, VReportMessageParams& problem) {
        // One search of the member table, by the name as a listing shows it.
        VProfileComposite::SettingRow found;
        if (!session.FindSettingRow(Wide(given[1]), found)) {
          refused = Refused::Unknown;
          return false;
        }
        if (SetSettingFromText(found, given[2], problem)) return true;
        refused = Refused::Value;
        return false;
      },
      error);
  if (refused == Refused::Unknown) return UnknownSetting(context, given[1]);
  if (refused == Refused::Value) return context.Fail(kExitFailed, error);
  if (!done) return FailFor(context, error);
  return kExitOk;
}

int Create(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1) throw UsageError("expected PATH");
  if (int failed = context.CheckStore()) return failed;
  if (int status = SettlePassphrase(context, PassphraseUse::Optional)) return status;
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
