// quillane passphrase status|init|hold|check|change|request-change: the configuration passphrase
// of the running application, settled and shared as the applications do.
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "config/global/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "environment/console_progress.h"
#include "environment/library_init.h"
#include "environment/passphrase_change_record.h"
#include "environment/passphrase_startup.h"
#include "platform/win32_errors.h"
#include "quillane/passphrase_settle.h"
#include "quillane/setting_commands.h"
#include "quillane/text_escape.h"

namespace cli {
namespace {

constexpr uint32_t kMsgNoPassphraseYet = 0xE13F0080;
constexpr uint32_t kMsgPassphraseInUseElsewhere = 0xE13F0082;  // %1: other processes
constexpr uint32_t kMsgPassphraseNotShared = 0xE13F0083;        // %1: why

constexpr char kUsage[] =
    "  quillane passphrase status\n"
    "  quillane passphrase init [--disable-if-needed]\n"
    "  quillane passphrase hold [--seconds N]\n"
    "  quillane passphrase check\n"
    "  quillane passphrase change --new-env VAR\n"
    "  quillane passphrase request-change on|off\n"
    "status shows whether the passphrase is known to this user's processes, whether the\n"
    "configuration has one, and whether a change was asked for. init settles it as an application\n"
    "starting does: the passphrase of --passphrase-env is tried first (on a new configuration it\n"
    "becomes the passphrase), then a person at a terminal is asked; --no-prompt or a standard input\n"
    "that is not a terminal never asks; --disable-if-needed goes on without the passphrase where it\n"
    "would be asked for. hold settles it, prints \"ready\" and keeps it for this user's later\n"
    "commands on the same configuration until N seconds pass or it is stopped (exit status 3, and\n"
    "no \"ready\", when it cannot be shared with them). check tells whether\n"
    "the passphrase of --passphrase-env is the configuration's. change re-encrypts every saved\n"
    "secret from the passphrase of --passphrase-env to the one in VAR (an empty VAR removes it) and\n"
    "lists the items that could not be re-encrypted. request-change asks the applications to\n"
    "change the passphrase at their next start.\n";

VRef<GlobalConfig> Shared() {
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  return VRef<GlobalConfig>(config);
}

void PrintState(Context& context) {
  const char* state = PassphraseStateName();
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("state", state);
    context.SetResult(std::move(result));
  } else {
    std::cout << state << std::endl;
  }
}

int Status(Context& context) {
  OpenConfigPassphraseCacheForConfiguration();
  VRef<GlobalConfig> config = Shared();
  bool checkValue = !config->configPassphrase.Current().empty();
  bool changeRequested = config->changeConfigPassphrase.current;
  bool shared = IsConfigPassphraseCacheShared();
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("state", PassphraseStateName());
    result.Set("check_value", checkValue);
    result.Set("change_requested", changeRequested);
    result.Set("shared", shared);
    context.SetResult(std::move(result));
  } else {
    auto yesNo = [](bool value) { return value ? "true" : "false"; };
    std::cout << "state\t" << PassphraseStateName() << "\ncheck_value\t" << yesNo(checkValue)
              << "\nchange_requested\t" << yesNo(changeRequested) << "\nshared\t"
              << yesNo(shared) << std::endl;
  }
  return kExitOk;
}

int Init(Context& context, const ParsedArgs& args) {
  uint32_t extra = args.switches.count("--disable-if-needed") ? kPassphraseDisableIfNeeded : 0;
  if (int status = SettlePassphrase(context, PassphraseUse::Required, extra)) return status;
  PrintState(context);
  return kExitOk;
}

// Waits for `seconds` (forever when negative), or until the process is asked to stop; the caller
// then lets the cache go as every command does at its end.
void WaitUntilStopped(long seconds) {
  sigset_t stops;
  sigemptyset(&stops);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, signal);
  sigprocmask(SIG_BLOCK, &stops, nullptr);
  struct timespec deadline {};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += seconds;
  for (;;) {
    int received;
    if (seconds < 0) {
      received = sigwaitinfo(&stops, nullptr);
    } else {
      struct timespec now {};
      clock_gettime(CLOCK_MONOTONIC, &now);
      if (now.tv_sec > deadline.tv_sec ||
          (now.tv_sec == deadline.tv_sec && now.tv_nsec >= deadline.tv_nsec))
        return;
      struct timespec left {deadline.tv_sec - now.tv_sec, deadline.tv_nsec - now.tv_nsec};
      if (left.tv_nsec < 0) {
        left.tv_sec -= 1;
        left.tv_nsec += 1000000000L;
      }
      received = sigtimedwait(&stops, nullptr, &left);
    }
    if (received > 0) return;  // stopped
    if (received < 0 && errno != EINTR && errno != EAGAIN) return;
  }
}

int Hold(Context& context, const ParsedArgs& args) {
  long seconds = -1;
  if (args.values.count("--seconds")) seconds = ParseDword(args.values.at("--seconds"), "--seconds");
  if (int status = SettlePassphrase(context, PassphraseUse::Required)) return status;
  // Holding a cache that nobody else can open would only pretend: the later commands would find
  // nothing and ask again, or fail where nobody may be asked.
  VReportMessageParams why;
  if (!OpenConfigPassphraseCacheForConfiguration(why) || !IsConfigPassphraseCacheShared()) {
    if (!why.IsError()) why.SetError(win32::kNotSupported);
    return context.Fail(kExitFailed, kMsgPassphraseNotShared, {why.GetTextOneLineTrimmed()});
  }
  if (context.Json()) {
    PrintState(context);
    context.Finish();
  } else {
    std::cout << "ready" << std::endl;
  }
  WaitUntilStopped(seconds);
  return kExitOk;
}

int Check(Context& context) {
  VRef<GlobalConfig> config = Shared();
  const VEncryptedString& check = config->configPassphrase.Current();
  if (check.empty()) return context.Fail(kExitNotFound, kMsgNoPassphraseYet);
  bool correct = IsConfigPassphraseCorrect(check, CommandLinePassphrase(context));
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("correct", correct);
    context.SetResult(std::move(result));
  }
  if (!correct) return context.Fail(kExitFailed, crypto_messages::kPassphraseNotCorrect);
  return kExitOk;
}

VUnicodeString NewPassphrase(const std::string& variable) {
  const char* value = std::getenv(variable.c_str());
  if (!value) throw UsageError("the environment variable " + variable + " named by --new-env is not set");
  if (!vtext::IsValidUtf8(value)) throw UsageError("the passphrase in " + variable + " is not valid UTF-8");
  VUnicodeString passphrase;
  passphrase.SetSensitive(true);
  passphrase = VUnicodeString::FromUtf8(value);
  return passphrase;
}

void ShowChange(Context& context, const VSecretPassResult& result) {
  if (context.Json()) {
    Json failed = Json::Array();
    for (const VSecretPassFailure& failure : result.failures) {
      VReportMessageParams reason = failure.reason;
      Json item = Json::Object();
      item.Set("kind", Utf8(failure.kind));
      item.Set("name", Utf8(failure.item));
      item.Set("reason", Utf8(reason.GetTextOneLineTrimmed()));
      failed.Push(std::move(item));
    }
    Json out = Json::Object();
    out.Set("sessions", static_cast<uint64_t>(result.sessions));
    out.Set("firewalls", static_cast<uint64_t>(result.firewalls));
    out.Set("failed", std::move(failed));
    context.SetResult(std::move(out));
    return;
  }
  std::cout << "sessions\t" << result.sessions << "\nfirewalls\t" << result.firewalls << "\n";
  for (const VSecretPassFailure& failure : result.failures) {
    VReportMessageParams reason = failure.reason;
    std::cout << "failed\t" << EscapeText(failure.kind) << '\t' << EscapeText(failure.item) << '\t'
              << EscapeText(reason.GetTextOneLineTrimmed()) << "\n";
  }
  std::cout.flush();
}

int Change(Context& context, const ParsedArgs& args) {
  if (!args.values.count("--new-env")) throw UsageError("change needs --new-env VAR");
  VUnicodeString newPassphrase = NewPassphrase(args.values.at("--new-env"));
  VUnicodeString oldPassphrase = CommandLinePassphrase(context);

  // Nobody else may enter or change the passphrase meanwhile.
  OpenConfigPassphraseCacheForConfiguration();
  VPassphraseBusyWait wait;
  wait.mode = context.options.noPrompt || !isatty(STDIN_FILENO)
                  ? VPassphrasePromptMode::NoPrompting
                  : VPassphrasePromptMode::Console;
  VTerminalConsole console;
  wait.console = &console;
  VPassphraseBusyHold busy;
  VReportMessageParams error;
  if (busy.Take(wait, error) != win32::kSuccess) {
    if (!error.IsError()) error.SetError(win32::kCancelled);
    return context.Fail(kExitFailed, error);
  }
  // A process still running with the old passphrase would save new secrets under it.
  uint32_t holders = GetConfigPassphraseCacheHolders();
  if (holders > 1) {
    VReportMessageParams inUse(kMsgPassphraseInUseElsewhere);
    inUse.AddInsertFormatted(u"%1!u!", holders - 1);
    return context.Fail(kExitFailed, inUse);
  }
  VRef<GlobalConfig> config = Shared();
  const VEncryptedString check = config->configPassphrase.Current();
  if (check.empty()) return context.Fail(kExitNotFound, kMsgNoPassphraseYet);
  VConsoleSecretPassProgress progress(stderr, false);
  if (!IsConfigPassphraseCorrect(check, oldPassphrase)) {
    // The passphrase of a change that was stopped part way: that change is finished first, and
    // this one goes on from there.
    VPassphraseChangeRecord pending;
    if (!ReadPassphraseChangeRecord(pending) || !IsRecordedNewPassphrase(pending, oldPassphrase))
      return context.Fail(kExitFailed, crypto_messages::kPassphraseNotCorrect);
    VSecretPassResult finished;
    if (!FinishStoppedConfigPassphraseChange(oldPassphrase, &progress, finished, error)) {
      ShowChange(context, finished);
      return context.Fail(kExitFailed, error);
    }
  }

  VSecretPassResult result;
  if (!CarryOutConfigPassphraseChange(std::u16string_view(oldPassphrase), newPassphrase,
                                      &progress, result, error)) {
    ShowChange(context, result);
    return context.Fail(kExitFailed, error);
  }
  ShowChange(context, result);
  VReportMessageParams failures;
  if (DescribeSecretPassFailures(result, failures)) return context.Fail(kExitFailed, failures);
  return kExitOk;
}

int RequestChange(Context& context, const ParsedArgs& args) {
  if (args.positionals.size() != 1 || (args.positionals[0] != "on" && args.positionals[0] != "off"))
    throw UsageError("request-change takes on or off");
  VRef<GlobalConfig> config = Shared();
  config->changeConfigPassphrase = args.positionals[0] == "on";
  VReportMessageParams error;
  if (!SaveGlobalConfig(false, error))
    return context.Fail(kExitFailed, kMsgKeyNotSaved, {u"Global", error.GetTextOneLineTrimmed()});
  return kExitOk;
}

int RunPassphrase(Context& context) {
  if (context.args.empty()) throw UsageError("passphrase needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  auto none = [&](const ParsedArgs& args) {
    if (!args.positionals.empty()) throw UsageError(sub + " takes no arguments");
    return args;
  };
  if (sub == "status") {
    none(ParseArgs(rest, {}, {}));
    return Status(context);
  }
  if (sub == "init") return Init(context, none(ParseArgs(rest, {}, {"--disable-if-needed"})));
  if (sub == "hold") return Hold(context, none(ParseArgs(rest, {"--seconds"}, {})));
  if (sub == "check") {
    none(ParseArgs(rest, {}, {}));
    return Check(context);
  }
  if (sub == "change") return Change(context, none(ParseArgs(rest, {"--new-env"}, {})));
  if (sub == "request-change") return RequestChange(context, ParseArgs(rest, {}, {}));
  throw UsageError("unknown passphrase sub-command " + sub);
}

CommandRegistration registration({"passphrase",
                                  "settle, share, check and change the configuration passphrase",
                                  kUsage, &RunPassphrase});

}  // namespace
}  // namespace cli
