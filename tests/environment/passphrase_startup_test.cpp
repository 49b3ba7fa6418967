// Settling the passphrase at start-up over a real configuration folder, with a scripted console
// and scripted dialogs standing in for the person.
#include <sys/stat.h>

#include <deque>
#include <optional>

#include "config/items/firewall_config.h"
#include "config/database/session_database.h"
#include "config/session_test_env.h"
#include "crypto/passphrase_cache.h"
#include "environment/library_init.h"
#include "environment/passphrase_startup.h"
#include "platform/win32_errors.h"

namespace {

// Answers prompts from a script; nullopt is Esc. Running out of answers is a test failure.
class ScriptedConsole : public IPassphraseConsole {
 public:
  std::deque<std::optional<std::u16string>> answers;
  std::vector<std::u16string> prompts;
  std::vector<std::string> lines;

  Result ReadEntry(std::u16string_view prompt, const VConsoleEntryOptions&, VUnicodeString& entry,
                   VReportMessageParams&) override {
    prompts.emplace_back(prompt);
    if (answers.empty()) {
      ADD_FAILURE() << "nobody should have been asked: " << VUnicodeString(prompt).ToUtf8();
      return Result::Cancelled;
    }
    std::optional<std::u16string> answer = answers.front();
    answers.pop_front();
    if (!answer) return Result::Cancelled;
    entry = *answer;
    return Result::Entered;
  }
  bool WriteLine(std::u16string_view text, VReportMessageParams&) override {
    lines.push_back(VUnicodeString(text).ToUtf8());
    return true;
  }
};

class ScriptedDialogs : public IPassphraseDialogs {
 public:
  std::function<bool(VUnicodeString&)> create;
  std::deque<std::pair<VEnterPassphraseChoice, std::u16string>> enter;
  std::function<bool(const VPassphraseVerifier&, VPassphraseChange&)> change;
  std::vector<std::string> calls;

  bool AskToContinue(VReportMessageParams&) override { return false; }
  bool CreatePassphrase(const VCreatePassphraseTexts& texts, VUnicodeString& passphrase) override {
    calls.push_back("create");
    createTexts = texts;
    return create && create(passphrase);
  }
  VEnterPassphraseChoice EnterPassphrase(const VPassphraseVerifier& verify,
                                         VUnicodeString& passphrase) override {
    calls.push_back("enter");
    if (enter.empty()) return VEnterPassphraseChoice::Cancelled;
    auto [choice, text] = enter.front();
    enter.pop_front();
    passphrase = text;
    if (choice == VEnterPassphraseChoice::Entered) {
      EXPECT_TRUE(verify(text));
    }
    return choice;
  }
  bool ChangePassphrase(const VPassphraseVerifier& verify, VPassphraseChange& request) override {
    calls.push_back("change");
    if (!change || !change(verify, request)) return false;
    VReportMessageParams error;
    return ValidatePassphraseChange(request, verify, error);
  }
  ISecretPassProgress* GetSecretPassProgress() override { return nullptr; }

  VCreatePassphraseTexts createTexts;
};

class PassphraseStartup : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    SetConfigPassphrase(nullptr);
    services_.console = &console_;
    services_.dialogs = &dialogs_;
  }
  void TearDown() override {
    CloseConfigPassphraseCache();
    SessionFolderTest::TearDown();
  }
  uint32_t Init(uint32_t flags, const char16_t* given = nullptr) {
    FreeGlobalConfig();  // as a process starting
    return InitializeConfigPassphrase(flags, report_, given, services_);
  }
  // A configuration whose passphrase is `passphrase`, as another process left it: nothing cached.
  void MakeConfiguration(const char16_t* passphrase, bool changeRequested = false) {
    VEncryptedString check;
    VReportMessageParams error;
    ASSERT_TRUE(MakeConfigPassphraseCheckValue(passphrase, check, error));
    folder_.WriteLines("Global", "S:\"Config Passphrase\"=" + check.ToUtf8() + "\r\n" +
                                     (changeRequested ? "D:\"Change Config Passphrase\"=00000001\r\n" : ""));
    SetConfigPassphrase(nullptr);
  }
  std::string StoredCheck() {
    std::string lines = folder_.Lines("Global");
    size_t at = lines.find("S:\"Config Passphrase\"=");
    if (at == std::string::npos) return {};
    at += 22;
    return lines.substr(at, lines.find("\r\n", at) - at);
  }
  bool Opens(const std::string& stored, const char16_t* passphrase) {
    return IsConfigPassphraseCorrect(VEncryptedString(VUnicodeString::FromUtf8(stored)), passphrase);
  }
  std::string Id() { return std::to_string(report_.GetMessageId()); }

  ScriptedConsole console_;
  ScriptedDialogs dialogs_;
  VPassphraseStartupServices services_;
  VReportMessageParams report_;
};

constexpr uint32_t kConsole = kPassphraseConsoleMode;
constexpr uint32_t kNoPrompt = kPassphraseNoPrompting;

TEST_F(PassphraseStartup, FirstUseCreatesTheCheckValueOrRefusesWithoutPrompting) {
  EXPECT_EQ(Init(kNoPrompt), win32::kCancelled);
  EXPECT_EQ(report_.GetMessageId(), 0xE1380035u);
  EXPECT_TRUE(StoredCheck().empty());

  // Typed twice; a mismatch starts again, Esc gives up and nothing is created.
  console_.answers = {u"one", u"two", std::nullopt};
  EXPECT_EQ(Init(kConsole), win32::kCancelled);
  EXPECT_FALSE(report_.IsError());
  EXPECT_EQ(console_.lines, (std::vector<std::string>{"The passphrases do not match."}));
  EXPECT_EQ(VUnicodeString(console_.prompts[0]).ToUtf8(), "Create configuration passphrase: ");
  EXPECT_EQ(VUnicodeString(console_.prompts[1]).ToUtf8(), "Re-enter configuration passphrase: ");
  EXPECT_TRUE(StoredCheck().empty());

  // A session with a secret in its oldest form is rewritten by the first pass.
  WriteSession("s", "D:\"Is Session\"=00000001\r\nS:\"Login Script\"=0\x1Fogin:\x1Fme\x1F\r\n");
  console_.answers = {u"pw", u"pw"};
  ASSERT_EQ(Init(kConsole), win32::kSuccess) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(Opens(StoredCheck(), u"pw"));
  EXPECT_FALSE(Opens(StoredCheck(), u""));
  EXPECT_EQ(GetConfigPassphrase(), u"pw");
  EXPECT_NE(Session("s").find("S:\"Login Script V3\"=02:"), std::string::npos);
  // Settled: the next start in this process family asks nobody.
  EXPECT_EQ(Init(kNoPrompt), win32::kSuccess);
}

TEST_F(PassphraseStartup, FirstUseTakesAGivenPassphraseOrTheDialogsChoice) {
  // A passphrase handed over is only tried against an existing one, unless the host says its user
  // chose it: a new configuration still asks, or fails where nobody may be asked.
  EXPECT_EQ(Init(kNoPrompt, u"given"), win32::kCancelled);
  EXPECT_EQ(report_.GetMessageId(), 0xE1380035u);
  EXPECT_TRUE(StoredCheck().empty());
  console_.answers = {std::nullopt};
  EXPECT_EQ(Init(kConsole, u"given"), win32::kCancelled);
  EXPECT_EQ(VUnicodeString(console_.prompts.at(0)).ToUtf8(), "Create configuration passphrase: ");
  EXPECT_EQ(Init(0, u"given"), win32::kCancelled);
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"create"}));
  EXPECT_TRUE(StoredCheck().empty());
  dialogs_.calls.clear();
  services_.givenPassphraseCreates = true;
  ASSERT_EQ(Init(kNoPrompt, u"given"), win32::kSuccess);
  EXPECT_TRUE(Opens(StoredCheck(), u"given"));
  services_.givenPassphraseCreates = false;

  // The Skellan product alone goes without a passphrase, without asking.
  folder_.WriteLines("Global", "");
  SetConfigPassphrase(nullptr);
  VSetDerivedProductId(9);
  ASSERT_EQ(Init(0), win32::kSuccess);
  EXPECT_TRUE(dialogs_.calls.empty());
  EXPECT_TRUE(Opens(StoredCheck(), u""));

  // Elsewhere the create dialog decides; an existing configuration brings the warning.
  folder_.WriteLines("Global", "S:\"Version\"=7B2F2717-85C8-4729-8394-3B7697039CEB\r\n");
  SetConfigPassphrase(nullptr);
  VSetDerivedProductId(6);
  EXPECT_EQ(Init(0), win32::kCancelled);
  EXPECT_EQ(dialogs_.createTexts.withoutWarning, 0x61380038u);
  EXPECT_TRUE(dialogs_.createTexts.warnExistingConfiguration);
  dialogs_.create = [](VUnicodeString& p) { p = u"chosen"; return true; };
  ASSERT_EQ(Init(0), win32::kSuccess);
  EXPECT_TRUE(Opens(StoredCheck(), u"chosen"));
}

TEST_F(PassphraseStartup, AnExistingPassphraseIsCheckedAskedForOrGoneWithout) {
  // A configuration made without a passphrase never asks.
  MakeConfiguration(u"");
  EXPECT_EQ(Init(kConsole), win32::kSuccess);
  EXPECT_TRUE(console_.prompts.empty());

  MakeConfiguration(u"secret");
  EXPECT_EQ(Init(kNoPrompt, u"wrong"), win32::kCancelled);
  EXPECT_EQ(report_.GetMessageId(), 0xE1380035u);
  SetConfigPassphrase(nullptr);
  EXPECT_EQ(Init(kNoPrompt, u"secret"), win32::kSuccess);
  EXPECT_EQ(GetConfigPassphrase(), u"secret");

  SetConfigPassphrase(nullptr);
  console_.answers = {u"", u"nope", u"secret"};
  EXPECT_EQ(Init(kConsole), win32::kSuccess);
  EXPECT_EQ(console_.lines, (std::vector<std::string>{"The passphrase cannot be empty.",
                                                      "The passphrase that was entered is not correct."}));
  EXPECT_EQ(VUnicodeString(console_.prompts[0]).ToUtf8(), "Configuration passphrase: ");

  // Going without it: saved secrets read as empty and new ones are refused; nothing wrong is
  // cached.
  VEncryptedString saved;
  ASSERT_TRUE(saved.SetPlaintext(u"monitor", u"secret"));
  WriteSession("s", "D:\"Is Session\"=00000001\r\nS:\"Monitor Password V2\"=" + saved.ToUtf8() + "\r\n");
  SetConfigPassphrase(nullptr);
  EXPECT_EQ(Init(kConsole | kPassphraseDisableIfNeeded, u"wrong"), win32::kSuccess);
  EXPECT_TRUE(IsConfigPassphraseDisabled());
  EXPECT_TRUE(GetConfigPassphrase().empty());
  VRef<SessionConfig> session = Open(u"s");
  EXPECT_EQ(session->monitorPassword.GetPlaintext(), u"");
  EXPECT_FALSE(session->monitorPassword.SetPlaintext(u"new"));

  SetConfigPassphraseDisabled(false);
  dialogs_.enter = {{VEnterPassphraseChoice::ContinueWithout, u""}};
  EXPECT_EQ(Init(0), win32::kSuccess);
  EXPECT_TRUE(IsConfigPassphraseDisabled());
  SetConfigPassphraseDisabled(false);
  EXPECT_EQ(Init(0), win32::kCancelled);  // the dialog cancelled
}

TEST_F(PassphraseStartup, ARequestedChangeIsCarriedOutOnlyWhereDialogsCanAskForIt) {
  MakeConfiguration(u"old", true);
  EXPECT_EQ(Init(kConsole), win32::kNotSupported);
  EXPECT_EQ(report_.GetMessageId(), 0xE138003Cu);
  EXPECT_EQ(Init(kNoPrompt), win32::kCancelled);
  EXPECT_EQ(report_.GetMessageId(), 0xE1380035u);

  // Cancelling the change drops the request for good and asks for the current passphrase.
  dialogs_.enter = {{VEnterPassphraseChoice::Entered, u"old"}};
  EXPECT_EQ(Init(0), win32::kSuccess);
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"change", "enter"}));
  EXPECT_EQ(folder_.Lines("Global").find("\"Change Config Passphrase\"=00000001"), std::string::npos);

  // The change button asks again; OK re-encrypts the session and the firewall.
  SetConfigPassphrase(u"old");
  WriteSession("s", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  ASSERT_TRUE(session->monitorPassword.SetPlaintext(u"monitor"));
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  VEncryptedString fw;
  ASSERT_TRUE(fw.SetPlaintext(u"fw-pw", u"old"));
  folder_.WriteLines("Firewalls/fw", "S:\"Firewall Type\"=HTTP\r\nS:\"Firewall Password V2\"=" +
                                         fw.ToUtf8() + "\r\n");
  SetConfigPassphrase(nullptr);
  dialogs_.calls.clear();
  dialogs_.enter = {{VEnterPassphraseChoice::ChangeRequested, u""}};
  dialogs_.change = [](const VPassphraseVerifier&, VPassphraseChange& change) {
    change.current = u"old";
    change.newPassphrase = change.confirmation = u"new";
    return true;
  };
  ASSERT_EQ(Init(0), win32::kSuccess) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"enter", "change"}));
  EXPECT_TRUE(Opens(StoredCheck(), u"new"));
  EXPECT_EQ(GetConfigPassphrase(), u"new");
  EXPECT_EQ(Open(u"s")->monitorPassword.GetPlaintext(), u"monitor");
  VRef<FirewallConfig> firewall = SessionDatabase().OpenFirewall(u"fw");
  EXPECT_EQ(firewall->firewallPassword.GetPlaintext(), u"fw-pw");

  // A reset cannot carry secrets: they become empty under the new passphrase.
  folder_.WriteLines("Global", folder_.Lines("Global") + "D:\"Change Config Passphrase\"=00000001\r\n");
  SetConfigPassphrase(nullptr);
  dialogs_.change = [](const VPassphraseVerifier&, VPassphraseChange& change) {
    change.mode = VPassphraseChangeMode::Reset;
    change.newPassphrase = change.confirmation = u"fresh";
    return true;
  };
  ASSERT_EQ(Init(0), win32::kSuccess);
  EXPECT_TRUE(Opens(StoredCheck(), u"fresh"));
  EXPECT_EQ(Open(u"s")->monitorPassword.GetPlaintext(), u"");
  EXPECT_FALSE(Open(u"s")->monitorPassword.Current().empty());
}

TEST_F(PassphraseStartup, AChangeThatCannotSaveItsCheckValueChangesNothing) {
  MakeConfiguration(u"old");
  SetConfigPassphrase(u"old");
  WriteSession("s", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  ASSERT_TRUE(session->monitorPassword.SetPlaintext(u"monitor"));
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  std::string before = Session("s");
  chmod(folder_.FilePath("Global").c_str(), 0444);
  VSecretPassResult result;
  VReportMessageParams error;
  EXPECT_FALSE(CarryOutConfigPassphraseChange(std::u16string_view(u"old"), u"new", nullptr,
                                              result, error));
  EXPECT_EQ(error.GetMessageId(), 0xE1380318u);
  EXPECT_EQ(Session("s"), before);
  EXPECT_EQ(GetConfigPassphrase(), u"old");
  chmod(folder_.FilePath("Global").c_str(), 0644);

  // An old passphrase too long for the cache stops the change before anything is carried, and
  // the new one, which the check value on disk does not name, is not left cached either.
  const std::u16string longOld(1500, u'x');
  MakeConfiguration(longOld.c_str());
  const std::string check = StoredCheck();
  EXPECT_FALSE(CarryOutConfigPassphraseChange(std::u16string_view(longOld), u"new", nullptr,
                                              result, error));
  EXPECT_EQ(error.GetMessageId(), 0xE1380314u);
  EXPECT_FALSE(IsConfigPassphraseSettled());
  EXPECT_EQ(StoredCheck(), check);
  EXPECT_EQ(Session("s"), before);
}

class YesNo : public IUserQuestions {
 public:
  bool answer = true;
  std::string asked;
  bool AskYesNo(VReportMessageParams& question) override {
    asked = question.GetTextTrimmed().ToUtf8();
    return answer;
  }
  void Notify(VReportMessageParams&, VNoticeKind) override {}
  bool AskFolder(VReportMessageParams&, VUnicodeString&) override { return false; }
};

TEST_F(PassphraseStartup, TheChangePromptRecordsTheAnswerForTheNextStart) {
  VSetAppName(u"Karvell");
  YesNo questions;
  EXPECT_TRUE(LaunchChangeConfigPassphrasePrompt(questions));
  EXPECT_EQ(questions.asked.rfind("Do you want to change/reset the configuration passphrase the "
                                  "next time Karvell starts?", 0), 0u);
  ASSERT_TRUE(SaveGlobalConfig(false));
  EXPECT_NE(folder_.Lines("Global").find("D:\"Change Config Passphrase\"=00000001"), std::string::npos);
  questions.answer = false;
  EXPECT_FALSE(LaunchChangeConfigPassphrasePrompt(questions));
  ASSERT_TRUE(SaveGlobalConfig(false));
  EXPECT_NE(folder_.Lines("Global").find("D:\"Change Config Passphrase\"=00000000"), std::string::npos);
}

TEST(PassphraseCacheScope, EachConfigurationFolderHasItsOwnNames) {
  EXPECT_EQ(ConfigPassphraseCacheScope(u""), "");
  std::string a = ConfigPassphraseCacheScope(u"/home/u/.config/Tolvane/Karvell/Config");
  EXPECT_EQ(a.size(), 16u);
  EXPECT_EQ(a, ConfigPassphraseCacheScope(u"/home/u/.config/Tolvane/Karvell/Config"));
  EXPECT_NE(a, ConfigPassphraseCacheScope(u"/srv/shared/Config"));
  EXPECT_EQ(BuildPassphraseCacheNames(3, false, 1000, a).mapping,
            "{BE251B73-D0CC-49D6-BAD8-73E1DF33D0DE}{3}-1000-" + a);
}

}  // namespace
