#include "environment/passphrase_startup.h"

#include <mutex>

#include "config/global/global_config_instance.h"
#include "crypto/config_passphrase.h"
#include "crypto/crypto_messages.h"
#include "environment/installed_products.h"
#include "environment/library_init.h"
#include "environment/passphrase_change_record.h"
#include "environment/products.h"
#include "platform/app_info.h"
#include "platform/win32_errors.h"

namespace {

// The quoted prompts, each followed by a blank so that the asterisks stand apart.
constexpr char16_t kCreatePrompt[] = u"Create configuration passphrase: ";
constexpr char16_t kReenterPrompt[] = u"Re-enter configuration passphrase: ";
constexpr char16_t kEnterPrompt[] = u"Configuration passphrase: ";

constexpr const char16_t* kGlobalKey = u"Global";
constexpr const char16_t* kCheckValueName = u"Config Passphrase";
constexpr const char16_t* kChangeRequestName = u"Change Config Passphrase";

std::mutex gDialogsMutex;
IPassphraseDialogs* gDialogs = nullptr;

IPassphraseDialogs* RegisteredDialogs() {
  std::lock_guard<std::mutex> lock(gDialogsMutex);
  return gDialogs;
}

// The shared global configuration as the store has it now. Another process may have chosen or
// changed the passphrase while this one waited for the busy flag; a copy loaded before that would
// make this process create a second passphrase over the first, and the secrets saved under the
// first would no longer open.
VRef<GlobalConfig> CurrentGlobalConfig() {
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  VRef<GlobalConfig> held(config);
  VUnicodeString storedCheck;
  VDword storedRequest = 0;
  {
    VProfileStore store(true, nullptr);
    VProfileKey key(*store.GetRootKey(), kGlobalKey);
    key.ReadString(kCheckValueName, storedCheck);
    key.ReadDword(kChangeRequestName, storedRequest);
  }
  if (!(storedCheck == held->configPassphrase.Current()) ||
      (storedRequest != 0) != held->changeConfigPassphrase.current) {
    ReloadGlobalConfig(&config);
    held = VRef<GlobalConfig>(config);
  }
  return held;
}

bool IsGlobalConfigWritable(VReportMessageParams& error) {
  VProfileStore store(false, nullptr);
  VProfileKey key(*store.GetRootKey(), kGlobalKey);
  if (key.CanWrite()) return true;
  VReportMessageParams why = key.GetLastError();
  if (!why.IsError()) why.SetError(win32::kAccessDenied);
  error.Reset(crypto_messages::kGlobalConfigNotWritable);
  error.AddInsert(why.GetTextOneLineTrimmed());
  return false;
}

class Startup {
 public:
  Startup(uint32_t flags, VReportMessageParams& report, const char16_t* given,
          const VPassphraseStartupServices& services)
      : flags_(flags),
        mode_(PassphrasePromptModeFromFlags(flags)),
        report_(report),
        services_(services),
        console_(services.console ? services.console : &terminal_),
        dialogs_(services.dialogs ? services.dialogs : RegisteredDialogs()) {
    if (given) {
      given_.SetSensitive(true);
      given_ = VUnicodeString(given);
      hasGiven_ = true;
    }
  }

  uint32_t Run() {
    report_.Reset(0);
    OpenConfigPassphraseCacheForConfiguration();
    VPassphraseBusyWait wait;
    wait.mode = mode_;
    wait.console = console_;
    wait.dialog = dialogs_;
    wait.sleep = services_.sleep;
    VPassphraseBusyHold busy;
    if (uint32_t code = busy.Take(wait, report_)) return code;
    if (IsConfigPassphraseSettled()) return win32::kSuccess;

    global_ = CurrentGlobalConfig();
    check_ = global_->configPassphrase.Current();
    hasRecord_ = ReadPassphraseChangeRecord(record_);
    if (check_.empty()) return FirstUse();
    if (hasGiven_ && Verify(given_)) return Settle(given_);
    return AskLoop();
  }

 private:
  // The passphrase the check value names, or the one a change that was stopped part way was
  // going to: given that one, the change is finished (see Settle).
  bool Verify(std::u16string_view candidate) const {
    return IsConfigPassphraseCorrect(check_, candidate) ||
           (hasRecord_ && IsRecordedNewPassphrase(record_, candidate));
  }
  VPassphraseVerifier Verifier() const {
    return [this](std::u16string_view candidate) { return Verify(candidate); };
  }

  uint32_t Refuse(uint32_t id, uint32_t code) {
    report_.Reset(id);
    return code;
  }

  // Shows the console's trouble, or nothing for a cancel; 1223 either way.
  uint32_t ConsoleEnded(IPassphraseConsole::Result result, VReportMessageParams& error) {
    if (result == IPassphraseConsole::Result::Failed) report_ = error;
    return win32::kCancelled;
  }

  void Say(uint32_t id) {
    VReportMessageParams message(id);
    VReportMessageParams ignored;
    console_->WriteLine(message.GetTextTrimmed(), ignored);
  }

  uint32_t FirstUse() {
    VUnicodeString chosen;
    chosen.SetSensitive(true);
    if (hasGiven_ && services_.givenPassphraseCreates) {
      // The caller's user chose it already: nobody needs to be asked.
      chosen = given_;
    } else if (mode_ == VPassphrasePromptMode::NoPrompting) {
      return Refuse(crypto_messages::kPassphraseNeedsPrompting, win32::kCancelled);
    } else if (mode_ == VPassphrasePromptMode::Console) {
      if (uint32_t code = CreateOnConsole(chosen)) return code;
    } else if (GetCurrentAppProductID() == kProductSkellan && !IsIntegrated()) {
      // This product runs without a passphrase unless it shares its configuration.
    } else if (!dialogs_) {
      return Refuse(crypto_messages::kPassphraseNeedsPrompting, win32::kCancelled);
    } else {
      VCreatePassphraseTexts texts = GetCreatePassphraseTexts(GetCurrentAppProductID(), IsIntegrated());
      texts.warnExistingConfiguration = !global_->IsNewConfiguration();
      texts.configurationFolder = GetTlvConfigPathSub();
      if (!dialogs_->CreatePassphrase(texts, chosen)) return win32::kCancelled;
    }

    VEncryptedString check;
    if (!MakeConfigPassphraseCheckValue(chosen, check, report_)) return win32::kCancelled;
    // Cached first: a passphrase the cache cannot hold could not be used by this process either,
    // and must not become the configuration's.
    if (!StoreConfigPassphrase(chosen.c_str(), report_)) return win32::kCancelled;
    global_->configPassphrase = check;
    if (!SaveGlobalConfig(false, report_)) {
      // Without its check value on disk the passphrase would be asked for again and never
      // recognised; nothing may be encrypted under it.
      global_->configPassphrase = VEncryptedString();
      SetConfigPassphrase(nullptr);
      return win32::kCancelled;
    }
    bool quiet = (QuillaneGetInitFlags() & kInitNoProgressWindows) != 0;
    VSecretPassResult result = EncryptSensitiveDataFirstTime(quiet ? nullptr : Progress());
    DescribeSecretPassFailures(result, report_);
    return win32::kSuccess;
  }

  uint32_t CreateOnConsole(VUnicodeString& chosen) {
    VConsoleEntryOptions options;  // masked, not empty
    VReportMessageParams error;
    for (;;) {
      VUnicodeString first, second;
      auto result = console_->ReadEntry(kCreatePrompt, options, first, error);
      if (result != IPassphraseConsole::Result::Entered) return ConsoleEnded(result, error);
      result = console_->ReadEntry(kReenterPrompt, options, second, error);
      if (result != IPassphraseConsole::Result::Entered) return ConsoleEnded(result, error);
      if (first == second) {
        chosen = first;
        return win32::kSuccess;
      }
      Say(crypto_messages::kPassphrasesDoNotMatch);
    }
  }

  uint32_t EnterOnConsole(VUnicodeString& entered) {
    VConsoleEntryOptions options;
    options.allowEmpty = true;  // an empty entry is answered with its own message
    VReportMessageParams error;
    for (;;) {
      auto result = console_->ReadEntry(kEnterPrompt, options, entered, error);
      if (result != IPassphraseConsole::Result::Entered) return ConsoleEnded(result, error);
      VReportMessageParams wrong;
      if (ValidateEnteredPassphrase(entered, Verifier(), wrong)) return win32::kSuccess;
      Say(wrong.GetMessageId());
    }
  }

  uint32_t AskLoop() {
    bool changeRequested = global_->changeConfigPassphrase.current;
    for (;;) {
      VUnicodeString passphrase;
      passphrase.SetSensitive(true);
      if (changeRequested) {
        if (mode_ == VPassphrasePromptMode::NoPrompting)
          return Refuse(crypto_messages::kPassphraseNeedsPrompting, win32::kCancelled);
        if (mode_ == VPassphrasePromptMode::Console)
          return Refuse(crypto_messages::kPassphraseChangeNeedsGui, win32::kNotSupported);
        if (!dialogs_) return Refuse(crypto_messages::kPassphraseNeedsPrompting, win32::kCancelled);
        global_->changeConfigPassphrase = false;
        VPassphraseChange change;
        if (dialogs_->ChangePassphrase(Verifier(), change)) return Change(change);
        // Saved, so that the request is gone; the current passphrase is asked for instead.
        VReportMessageParams ignored;
        SaveGlobalConfig(false, ignored);
        changeRequested = false;
        continue;
      }
      if (Verify(u"")) return Settle(passphrase);
      if (mode_ == VPassphrasePromptMode::NoPrompting)
        return Refuse(crypto_messages::kPassphraseNeedsPrompting, win32::kCancelled);
      if (flags_ & kPassphraseDisableIfNeeded) {
        // Nothing is cached with it: a passphrase known to be wrong must never encrypt anything,
        // should the flag be cleared later.
        SetConfigPassphraseDisabled(true);
        return win32::kSuccess;
      }
      if (mode_ == VPassphrasePromptMode::Console) {
        if (uint32_t code = EnterOnConsole(passphrase)) return code;
        return Settle(passphrase);
      }
      if (!dialogs_) return Refuse(crypto_messages::kPassphraseNeedsPrompting, win32::kCancelled);
      switch (dialogs_->EnterPassphrase(Verifier(), passphrase)) {
        case VEnterPassphraseChoice::Entered:
          if (!Verify(passphrase)) return Refuse(crypto_messages::kPassphraseNotCorrect, win32::kCancelled);
          return Settle(passphrase);
        case VEnterPassphraseChoice::ContinueWithout:
          SetConfigPassphraseDisabled(true);
          return win32::kSuccess;
        case VEnterPassphraseChoice::ChangeRequested:
          changeRequested = true;
          continue;
        case VEnterPassphraseChoice::Cancelled:
          return win32::kCancelled;
      }
    }
  }

  uint32_t Change(VPassphraseChange& change) {
    std::optional<std::u16string_view> old;
    if (change.mode != VPassphraseChangeMode::Reset) old = change.current;
    VSecretPassResult result;
    VReportMessageParams error;
    if (!CarryOutConfigPassphraseChange(old, change.newPassphrase, Progress(), result, error)) {
      report_ = error;
      // The old passphrase, when known, still opens everything.
      if (old && StoreConfigPassphrase(change.current.c_str(), error)) return win32::kSuccess;
      return win32::kCancelled;
    }
    DescribeSecretPassFailures(result, report_);
    return win32::kSuccess;
  }

  // Step h: a disabled passphrase is not cached; any other is.
  uint32_t Settle(const VUnicodeString& passphrase) {
    if (IsConfigPassphraseDisabled()) return win32::kSuccess;
    if (hasRecord_) {
      if (IsRecordedNewPassphrase(record_, passphrase)) return FinishChange(passphrase);
      // The old passphrase still serves, but the secrets the change reached read as empty under
      // it: the user is told how to get them back.
      report_.Reset(crypto_messages::kPassphraseChangeUnfinished);
    }
    return StoreConfigPassphrase(passphrase.c_str(), report_) ? win32::kSuccess
                                                              : win32::kCancelled;
  }

  // A change stopped part way, given its new passphrase: the old one comes out of the record and
  // the change runs again; the secrets it reached already are found under the new passphrase and
  // left as they are.
  uint32_t FinishChange(const VUnicodeString& newPassphrase) {
    bool quiet = (QuillaneGetInitFlags() & kInitNoProgressWindows) != 0;
    ISecretPassProgress* progress = quiet ? nullptr : Progress();
    VSecretPassResult result;
    VReportMessageParams error;
    if (!FinishStoppedConfigPassphraseChange(newPassphrase, progress, result, error)) {
      report_ = error;
      return win32::kCancelled;
    }
    hasRecord_ = false;
    DescribeSecretPassFailures(result, report_);
    return win32::kSuccess;
  }

  ISecretPassProgress* Progress() {
    if (mode_ == VPassphrasePromptMode::Dialogs)
      return dialogs_ ? dialogs_->GetSecretPassProgress() : nullptr;
    return services_.consoleProgress;
  }

  uint32_t flags_;
  VPassphrasePromptMode mode_;
  VReportMessageParams& report_;
  const VPassphraseStartupServices& services_;
  VTerminalConsole terminal_;
  IPassphraseConsole* console_;
  IPassphraseDialogs* dialogs_;
  VUnicodeString given_;
  bool hasGiven_ = false;
  VRef<GlobalConfig> global_;
  VEncryptedString check_;
  VPassphraseChangeRecord record_;
  bool hasRecord_ = false;
};

}  // namespace

void SetPassphraseDialogs(IPassphraseDialogs* dialogs) {
  std::lock_guard<std::mutex> lock(gDialogsMutex);
  gDialogs = dialogs;
}

uint32_t InitializeConfigPassphrase(uint32_t flags, VReportMessageParams& report,
                                    const char16_t* passphrase) {
  return InitializeConfigPassphrase(flags, report, passphrase, VPassphraseStartupServices());
}

uint32_t InitializeConfigPassphrase(uint32_t flags, VReportMessageParams& report,
                                    const char16_t* passphrase,
                                    const VPassphraseStartupServices& services) {
  return Startup(flags, report, passphrase, services).Run();
}

bool CarryOutConfigPassphraseChange(std::optional<std::u16string_view> oldPassphrase,
                                    std::u16string_view newPassphrase,
                                    ISecretPassProgress* progress, VSecretPassResult& result,
                                    VReportMessageParams& error) {
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  VRef<GlobalConfig> global(config);
  if (!IsGlobalConfigWritable(error)) return false;
  // Secrets that a stopped change carried to its passphrase would open under neither the old nor
  // this new one: that change is finished (or carried out again) before any other.
  VPassphraseChangeRecord pending;
  if (ReadPassphraseChangeRecord(pending) && !IsRecordedNewPassphrase(pending, newPassphrase)) {
    error.Reset(crypto_messages::kOtherPassphraseChangeUnfinished);
    return false;
  }
  VEncryptedString newCheck;
  if (!MakeConfigPassphraseCheckValue(newPassphrase, newCheck, error)) return false;
  const VUnicodeString newText(newPassphrase);
  const VUnicodeString oldText(oldPassphrase.value_or(u""));
  // Whatever goes wrong, the cache must not be left holding a passphrase the check value on disk
  // does not name: the old one stays cached when it is known and fits, else nothing is.
  auto keepOld = [&] {
    VReportMessageParams ignored;
    if (!oldPassphrase || !StoreConfigPassphrase(oldText.c_str(), ignored))
      SetConfigPassphrase(nullptr);
  };
  // Both must fit the cache before anything is touched; the old one stays cached while the
  // secrets are carried, so that values in older forms are read under it.
  if (!StoreConfigPassphrase(newText.c_str(), error)) return false;
  if (!StoreConfigPassphrase(oldText.c_str(), error)) {
    keepOld();
    return false;
  }
  SetConfigPassphraseDisabled(false);
  // Recorded before the first secret is touched, so that a process stopped part way leaves what
  // the next one needs to finish the change.
  if (!WritePassphraseChangeRecord(oldPassphrase, newPassphrase, newCheck, error)) {
    keepOld();
    return false;
  }
  result = ReEncryptSensitiveData(oldPassphrase, newPassphrase, progress);

  const VEncryptedString oldCheck = global->configPassphrase.Current();
  const bool oldRequest = global->changeConfigPassphrase.current;
  global->configPassphrase = newCheck;
  global->changeConfigPassphrase = false;
  if (!SaveGlobalConfig(false, error)) {
    // The check value on disk still names the old passphrase: the secrets go back under it, or
    // they would open under no passphrase anybody could give.
    global->configPassphrase = oldCheck;
    global->changeConfigPassphrase = oldRequest;
    if (oldPassphrase) {
      ReEncryptSensitiveData(newPassphrase, *oldPassphrase, nullptr);
      VReportMessageParams ignored;
      ClearPassphraseChangeRecord(ignored);
    }
    keepOld();
    return false;
  }
  // Left behind, the record would only make the next start walk the secrets once more.
  VReportMessageParams ignored;
  ClearPassphraseChangeRecord(ignored);
  StoreConfigPassphrase(newText.c_str(), error);
  return true;
}

bool FinishStoppedConfigPassphraseChange(std::u16string_view newPassphrase,
                                         ISecretPassProgress* progress, VSecretPassResult& result,
                                         VReportMessageParams& error) {
  VPassphraseChangeRecord record;
  std::optional<VUnicodeString> old;
  if (!ReadPassphraseChangeRecord(record) || !RecoverOldPassphrase(record, newPassphrase, old)) {
    error.Reset(crypto_messages::kPassphraseChangeRecordDamaged);
    return false;
  }
  std::optional<std::u16string_view> oldView;
  if (old) oldView = std::u16string_view(*old);
  return CarryOutConfigPassphraseChange(oldView, newPassphrase, progress, result, error);
}

bool LaunchChangeConfigPassphrasePrompt(IUserQuestions& questions) {
  VReportMessageParams question(IsIntegrated() ? crypto_messages::kChangeAtNextStartQuestionPair
                                               : crypto_messages::kChangeAtNextStartQuestion);
  question.AddInsert(VGetAppName());
  bool yes = questions.AskYesNo(question);
  GlobalConfig* config = nullptr;
  GetGlobalConfig(&config, -1);
  VRef<GlobalConfig> global(config);
  global->changeConfigPassphrase = yes;
  return yes;
}
