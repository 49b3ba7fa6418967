// quillane export, import and personal-data: a whole configuration carried in one settings file,
// and the personal values of every session moved out of the configuration folder and back.
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "crypto/config_passphrase.h"
#include "crypto/console_entry.h"
#include "crypto/passphrase_console.h"
#include "environment/app_paths.h"
#include "environment/console_progress.h"
#include "environment/console_questions.h"
#include "environment/import_export_settings.h"
#include "environment/moving_messages.h"
#include "environment/personal_data_move.h"
#include "platform/file_system.h"
#include "quillane/cli.h"
#include "quillane/passphrase_settle.h"
#include "quillane/store_location.h"
#include "quillane/text_escape.h"
#include "storage/ini/ini_file_store.h"

namespace cli {
namespace {

constexpr char kExportUsage[] =
    "  quillane export FILE [--global] [--sessions] [--tasks]\n"
    "Writes the chosen sections (by default the global options and the sessions) into the XML\n"
    "settings file FILE. An older FILE is kept beside it with the extension .bak; the log of the\n"
    "run is written beside it with the extension .log. The file holds this configuration's\n"
    "secrets as stored, and is readable by its owner only.\n";

constexpr char kImportUsage[] =
    "  quillane import FILE [--global] [--sessions] [--tasks]\n"
    "                       [--file-passphrase-env VAR | --skip-secrets]\n"
    "Reads the chosen sections (by default the global options and the sessions) of the settings\n"
    "file FILE into this configuration. Secrets are carried to this configuration's passphrase.\n"
    "When the file's secrets are under another passphrase, it is taken from environment variable\n"
    "VAR, else asked at a terminal. --skip-secrets imports every secret empty, whatever it is\n"
    "under. Files the settings file carries are written only inside the configuration, user data\n"
    "and SSH data folders.\n";

constexpr char kPersonalUsage[] =
    "  quillane personal-data status\n"
    "  quillane personal-data migrate [--yes]\n"
    "  quillane personal-data merge [--yes]\n"
    "status shows where personal data is kept and what is pending (as paths show). migrate moves\n"
    "the personal values of every session into the personal data folder; merge takes them back\n"
    "into the configuration folder. Both ask Continue/Postpone at a terminal unless --yes is\n"
    "given; without a terminal and without --yes they postpone.\n";

// The console side of a run: warnings and errors on standard error as they come, a bar on a
// terminal, the file's passphrase from the environment or the terminal.
class ConsoleSink : public IImportExportSink {
 public:
  ConsoleSink(const Context& context, const ParsedArgs& args)
      : mayPrompt_(!context.options.noPrompt && isatty(STDIN_FILENO)),
        drawing_(isatty(STDERR_FILENO) && !context.Json()),
        skip_(args.Has("--skip-secrets")) {
    if (auto it = args.values.find("--file-passphrase-env"); it != args.values.end()) {
      const char* value = std::getenv(it->second.c_str());
      if (!value)
        throw UsageError("the environment variable " + it->second +
                         " named by --file-passphrase-env is not set");
      fromEnvironment_ = true;
      passphrase_.SetSensitive(true);
      passphrase_ = VUnicodeString::FromUtf8(value);
    }
  }
  ~ConsoleSink() override { EndBar(); }

  void LogLine(VImportExportLevel level, VReportMessageParams& message) override {
    if (level != VImportExportLevel::Warn && level != VImportExportLevel::Err) return;
    // The first error is the command's own, printed as it ends.
    if (level == VImportExportLevel::Err && !firstError_.IsError()) {
      firstError_ = message;
      return;
    }
    EndBar();
    std::cerr << "quillane: " << (level == VImportExportLevel::Warn ? "warning: " : "")
              << message.GetTextOneLineTrimmed().ToUtf8() << std::endl;
  }

  void Advance(size_t done, size_t total, const VUnicodeString&) override {
    if (!drawing_) return;
    std::cerr << '\r' << VConsoleSecretPassProgress::Bar(done, total, 40) << "\x1b[K"
              << std::flush;
    drawn_ = true;
  }

  FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier& verify,
                                         VUnicodeString& passphrase) override {
    if (fromEnvironment_) {
      passphrase = passphrase_;
      return FilePassphraseAnswer::Passphrase;
    }
    if (skip_) return FilePassphraseAnswer::SkipSecrets;
    if (!mayPrompt_) return FilePassphraseAnswer::Cancel;
    EndBar();
    VTerminalConsole console;
    VReportMessageParams question(moving_messages::kPassphraseMismatchQuestion);
    VReportMessageParams error;
    console.WriteLine(question.GetTextOneLineTrimmed(), error);
    for (int attempt = 0; attempt < 3; ++attempt) {
      VUnicodeString entry;
      entry.SetSensitive(true);
      VConsoleEntryOptions options;
      auto result = console.ReadEntry(u"Passphrase of the settings file (empty: do not import "
                                      u"sensitive data): ",
                                      options, entry, error);
      if (result != IPassphraseConsole::Result::Entered) return FilePassphraseAnswer::Cancel;
      if (entry.empty()) return FilePassphraseAnswer::SkipSecrets;
      if (verify(entry)) {
        passphrase = entry;
        return FilePassphraseAnswer::Passphrase;
      }
      VReportMessageParams wrong(moving_messages::kFilePassphraseWrong);
      console.WriteLine(wrong.GetTextOneLineTrimmed(), error);
    }
    return FilePassphraseAnswer::Cancel;
  }

  VReportMessageParams& FirstError() { return firstError_; }

 private:
  void EndBar() {
    if (!drawn_) return;
    std::cerr << '\n' << std::flush;
    drawn_ = false;
  }

  bool mayPrompt_;
  bool drawing_;
  bool drawn_ = false;
  bool skip_;
  bool fromEnvironment_ = false;
  VUnicodeString passphrase_;
  VReportMessageParams firstError_;
};

uint32_t Sections(const ParsedArgs& args) {
  uint32_t options = 0;
  if (args.Has("--global")) options |= kImportExportGlobal;
  if (args.Has("--sessions")) options |= kImportExportSessions;
  if (args.Has("--tasks")) options |= kImportExportTasks;
  return options ? options : kImportExportGlobal | kImportExportSessions;
}

Json Paths(const std::vector<VUnicodeString>& paths) {
  Json list = Json::Array();
  for (const VUnicodeString& path : paths) list.Push(Utf8(path));
  return list;
}

int Report(Context& context, bool import, const VImportExportSummary& summary, ConsoleSink& sink) {
  if (context.Json()) {
    Json result = Json::Object();
    result.Set("file", summary.settingsFile);
    result.Set("backup", summary.backup.empty() ? Json() : Json(summary.backup));
    result.Set("log", summary.log);
    result.Set("sessions", static_cast<uint64_t>(summary.sessions));
    result.Set("warnings", static_cast<uint64_t>(summary.warnings));
    result.Set("errors", static_cast<uint64_t>(summary.errors));
    if (import) {
      result.Set("files_written", Paths(summary.filesWritten));
      result.Set("files_refused", Paths(summary.filesRefused));
    }
    context.SetResult(std::move(result));
  } else {
    std::cout << "File:      " << EscapeText(summary.settingsFile) << '\n';
    if (!summary.backup.empty()) std::cout << "Backup:    " << EscapeText(summary.backup) << '\n';
    std::cout << "Log:       " << EscapeText(summary.log) << '\n'
              << "Sessions:  " << summary.sessions << '\n'
              << "Warnings:  " << summary.warnings << '\n'
              << "Errors:    " << summary.errors << '\n';
    for (const VUnicodeString& path : summary.filesWritten)
      std::cout << "Written:   " << EscapeText(path) << '\n';
    for (const VUnicodeString& path : summary.filesRefused)
      std::cout << "Refused:   " << EscapeText(path) << '\n';
  }
  if (summary.errors == 0) return kExitOk;
  return context.Fail(kExitFailed, sink.FirstError());
}

int RunMove(Context& context, bool import) {
  ParsedArgs args =
      ParseArgs(context.args, import ? std::vector<std::string>{"--file-passphrase-env"}
                                     : std::vector<std::string>{},
                import ? std::vector<std::string>{"--global", "--sessions", "--tasks",
                                                  "--skip-secrets"}
                       : std::vector<std::string>{"--global", "--sessions", "--tasks"});
  if (args.positionals.size() != 1)
    throw UsageError(std::string(import ? "import" : "export") + " takes one FILE");
  if (args.Has("--file-passphrase-env") && args.Has("--skip-secrets"))
    throw UsageError("--file-passphrase-env and --skip-secrets exclude each other");
  RequireUtf8Path(args.positionals[0], "FILE");
  if (int status = context.CheckStore()) return status;
  if (int status = SettlePassphrase(context, PassphraseUse::Required)) return status;
  ConsoleSink sink(context, args);
  VImportExportSummary summary;
  // Skipped whatever the file's secrets are under, not only when its passphrase would be asked.
  const uint32_t skip = import && args.Has("--skip-secrets") ? kImportExportSkipSecrets : 0;
  RunImportExportSettings(import, args.positionals[0], Sections(args) | skip, VUnicodeString(), 0,
                          &sink, &summary, context.Factory());
  return Report(context, import, summary, sink);
}

int RunExport(Context& context) { return RunMove(context, false); }
int RunImport(Context& context) { return RunMove(context, true); }

// Yes to every question: --yes.
class AnswerYes : public IUserQuestions {
 public:
  bool AskYesNo(VReportMessageParams&) override { return true; }
  void Notify(VReportMessageParams&, VNoticeKind) override {}
  bool AskFolder(VReportMessageParams&, VUnicodeString&) override { return false; }
};

int RunPersonalData(Context& context) {
  if (context.args.empty()) throw UsageError("personal-data needs a sub-command");
  std::string sub = context.args[0];
  std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (sub == "status") {
    ParsedArgs args = ParseArgs(rest, {}, {});
    if (!args.positionals.empty()) throw UsageError("status takes no arguments");
    auto paths = Commands().find("paths");
    if (paths == Commands().end()) throw UsageError("paths is not available");
    context.args = {"show"};
    return paths->second.run(context);
  }
  if (sub != "migrate" && sub != "merge") throw UsageError("unknown personal-data sub-command " + sub);
  ParsedArgs args = ParseArgs(rest, {}, {"--yes"});
  if (!args.positionals.empty()) throw UsageError(sub + " takes no arguments");
  if (context.storeKind != StoreKind::IniFolder)
    throw UsageError("personal-data applies to a configuration folder only");
  VUnicodeString app = Wide(context.options.app);
  VUnicodeString config = Wide(context.storeLocation);
  VUnicodeString personal = context.options.personal.empty()
                                ? GetAppPersonalDataPath(app, config)
                                : Wide(context.options.personal);
  if (auto full = vfs::FullPath(personal.ToUtf8())) personal = Wide(*full);

  // Moving the values one way while the applications read them from the other place would hide
  // them: each direction needs the option that goes with it.
  bool separate = UsePersonalDataPath(app);
  if (sub == "migrate" && !separate)
    return context.Fail(kExitFailed, moving_messages::kMigrateWhileNotSeparate, {app});
  if (sub == "merge" && separate)
    return context.Fail(kExitFailed, moving_messages::kMergeWhileSeparate, {app});

  AnswerYes yes;
  VConsoleQuestions console(!context.options.noPrompt, std::cerr);
  IUserQuestions& questions = args.Has("--yes") ? static_cast<IUserQuestions&>(yes) : console;
  VConsoleSecretPassProgress progress(stderr, false);
  VPersonalDataMoveResult result;
  if (sub == "migrate") {
    VIniFileStoreFactory factory(config, personal);
    result = MigrateToPersonalDataLocation(questions, &progress, config, personal, &factory);
  } else {
    result = MergeFromPersonalDataLocation(questions, &progress, config, personal);
  }
  if (context.Json()) {
    Json out = Json::Object();
    out.Set("done", result.done);
    out.Set("sessions", static_cast<uint64_t>(result.sessions));
    out.Set("passed_over", Paths(result.passedOver));
    out.Set("error", Json());
    context.SetResult(std::move(out));
  } else {
    std::cout << (result.done ? "Done" : "Postponed") << '\n'
              << "Sessions:     " << result.sessions << '\n';
    for (const VUnicodeString& path : result.passedOver)
      std::cout << "Passed over:  " << EscapeText(path) << '\n';
  }
  if (result.error.IsError()) return context.Fail(kExitFailed, result.error);
  return kExitOk;
}

CommandRegistration exportRegistration({"export", "write settings into one settings file",
                                        kExportUsage, &RunExport});
CommandRegistration importRegistration({"import", "read a settings file into this configuration",
                                        kImportUsage, &RunImport});
CommandRegistration personalRegistration({"personal-data",
                                          "migrate or merge the personal data of every session",
                                          kPersonalUsage, &RunPersonalData});

}  // namespace
}  // namespace cli
