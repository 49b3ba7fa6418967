// Firewalls over a real configuration folder: types, loading with the older password carried over,
// the credentials asked for at connect time, adding one, and the passes over every saved secret.
#include <sys/stat.h>

#include <algorithm>
#include <thread>

#include "config/items/firewall_config.h"
#include "config/items/firewall_new.h"
#include "config/items/firewall_prompts.h"
#include "config/items/firewall_types.h"
#include "config/database/secret_passes.h"
#include "config/database/session_database.h"
#include "crypto/capi_form.h"
#include "crypto/encoded_form.h"
#include "session_test_env.h"

namespace {

using FirewallTest = SessionFolderTest;

class TextSink : public IString {
 public:
  void SetText(const VUnicodeString& value) override { text = value.ToUtf8(); }
  std::string text = "(untouched)";
};

class ScriptedPrompts : public IFirewallCredentialPrompts {
 public:
  bool confirm = true;
  bool save = false;
  int asked = 0;
  bool AskUsername(VUnicodeString& text, bool& saveIt, void*) override { return Answer(u"user", text, saveIt); }
  bool AskPassword(VUnicodeString& text, bool& saveIt, void*) override { return Answer(u"pass", text, saveIt); }

 private:
  bool Answer(const char16_t* value, VUnicodeString& text, bool& saveIt) {
    ++asked;
    text = value;
    saveIt = save;
    return confirm;
  }
};

TEST(FirewallTypes, NamesNumbersAndPortsFollowTheTable) {
  ASSERT_EQ(FirewallTypes().size(), 12u);
  EXPECT_EQ(GetFirewallTypeNumber(u"socksv5_userpass"), 4);
  EXPECT_EQ(GetFirewallTypeNumber(u"USER USER@HOST LOGIN"), 11);
  EXPECT_EQ(GetFirewallTypeNumber(u"Carrier Pigeon"), 0);
  EXPECT_TRUE(FindFirewallType(6)->needsCredentials);
  EXPECT_FALSE(FindFirewallType(5)->needsCredentials);
  EXPECT_EQ(GetFirewallTypeDisplayName(4), u"SOCKS version 5 (user name/password)");
  const unsigned short ports[] = {0, 0, 1080, 1080, 1080, 8080, 8080, 21, 21, 21, 21, 21, 0};
  for (int number = 0; number <= 12; ++number) EXPECT_EQ(GetFirewallDefaultPort(number), ports[number]);
}

TEST_F(FirewallTest, LoadingKeepsStoredValuesAndCarriesTheOlderPasswordOnce) {
  VUnicodeString encoded;
  VReportMessageParams error;
  ASSERT_TRUE(EncodeScrambledHex(u"old-secret", encoded, error));
  folder_.WriteLines("Firewalls/web", "S:\"Firewall Type\"=http\r\nS:\"Firewall Password\"=" +
                                          encoded.ToUtf8() + "\r\n");
  SetConfigPassphrase(u"pp");
  SessionDatabase db;
  VRef<FirewallConfig> web = db.OpenFirewall(u"web");
  ASSERT_TRUE(web);
  EXPECT_EQ(web->GetTypeNumber(), 5);
  EXPECT_EQ(web->GetPort(), 1080);  // the type's own port comes only from the dialog
  EXPECT_EQ(web->firewallPassword.GetPlaintext(), u"old-secret");
  ASSERT_TRUE(db.SaveItem(*web.Get(), error));
  std::string lines = folder_.Lines("Firewalls/web");
  EXPECT_NE(lines.find("S:\"Firewall Password\"=\r\n"), std::string::npos);
  EXPECT_NE(lines.find("S:\"Firewall Password V2\"=02:"), std::string::npos);
  EXPECT_EQ(db.OpenFirewall(u"web")->firewallPassword.GetPlaintext(), u"old-secret");

  // The per-user protected form is carried as well; a key without a type is no firewall.
  VUnicodeString capi;
  ASSERT_TRUE(EncodeCapiForm(u"capi-secret", capi, error));
  folder_.WriteLines("Firewalls/socks", "S:\"Firewall Type\"=SOCKSv5\r\nS:\"Firewall Password\"=" +
                                            capi.ToUtf8() + "\r\n");
  folder_.WriteLines("Firewalls/junk", "S:\"Firewall Address\"=proxy\r\n");
  EXPECT_EQ(db.OpenFirewall(u"socks")->firewallPassword.GetPlaintext(), u"capi-secret");
  EXPECT_FALSE(db.OpenFirewall(u"junk"));
  EXPECT_FALSE(db.OpenFirewall(u"missing"));
  VStringArray names = db.ListFirewalls();
  ASSERT_EQ(names.GetSize(), 3u);
  EXPECT_EQ(names[0], u"None");
  EXPECT_EQ(names[1], u"socks");
}

TEST_F(FirewallTest, CredentialsAreAskedForOnlyWhenNeededAndSavedOnRequest) {
  SetConfigPassphrase(u"pp");
  folder_.WriteLines("Firewalls/auth", "S:\"Firewall Type\"=socksv5_userpass\r\n");
  folder_.WriteLines("Firewalls/plain", "S:\"Firewall Type\"=SOCKSv5\r\n");
  ScriptedPrompts prompts;
  SetFirewallCredentialPrompts(&prompts);
  SessionDatabase db;
  TextSink sink;

  VRef<FirewallConfig> plain = db.OpenFirewall(u"plain");
  EXPECT_TRUE(plain->GetUsername(&sink));
  EXPECT_EQ(sink.text, "");
  EXPECT_EQ(prompts.asked, 0);

  VRef<FirewallConfig> auth = db.OpenFirewall(u"auth");
  prompts.confirm = false;
  EXPECT_FALSE(auth->GetUsername(&sink));
  EXPECT_EQ(sink.text, "");
  prompts.confirm = true;
  ASSERT_TRUE(auth->GetUsername(&sink));  // this connection only
  EXPECT_EQ(sink.text, "user");
  EXPECT_TRUE(auth->GetUsername(&sink));
  EXPECT_EQ(prompts.asked, 2);
  EXPECT_EQ(folder_.Lines("Firewalls/auth").find("Firewall User\"=user"), std::string::npos);

  prompts.save = true;
  ASSERT_TRUE(auth->GetPassword(&sink));
  EXPECT_EQ(sink.text, "pass");
  VRef<FirewallConfig> again = db.OpenFirewall(u"auth");
  EXPECT_EQ(again->firewallPassword.GetPlaintext(), u"pass");
  EXPECT_TRUE(again->firewallUser.Current().empty());
  EXPECT_TRUE(again->GetPassword(&sink));
  EXPECT_EQ(prompts.asked, 3);
  SetFirewallCredentialPrompts(nullptr);
  EXPECT_FALSE(again->GetUsername(&sink));  // nothing can be asked
}

class NewFirewallDialog : public IFirewallPropertiesDialog {
 public:
  std::u16string name;
  bool ShowNew(FirewallConfig& firewall, VUnicodeString& entered) override {
    ChangeFirewallType(firewall, 6);
    firewall.firewallAddress = VUnicodeString(u"proxy.lan");
    entered = name;
    return !name.empty();
  }
};

TEST_F(FirewallTest, ANewFirewallIsSavedUnderAFreeNameWithItsTypesPort) {
  NewFirewallDialog dialog;
  SetFirewallPropertiesDialog(&dialog);
  VUnicodeString name;
  VReportMessageParams error;
  EXPECT_FALSE(ShowAddNewFirewallDialog(name, error));  // cancelled
  dialog.name = u"office";
  ASSERT_TRUE(ShowAddNewFirewallDialog(name, error)) << error.GetTextTrimmed().ToUtf8();
  EXPECT_EQ(name, u"office");
  std::string lines = folder_.Lines("Firewalls/office");
  EXPECT_NE(lines.find("S:\"Firewall Type\"=HTTP_BASICAUTH\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Firewall Port\"=00001f90\r\n"), std::string::npos);
  for (const char16_t* taken : {u"office", u"none"}) {
    dialog.name = taken;
    EXPECT_FALSE(ShowAddNewFirewallDialog(name, error));
    EXPECT_TRUE(error.GetMessageId() == 0xE1380605u || error.GetMessageId() == 0xE1380603u);
  }
  SetFirewallPropertiesDialog(nullptr);
}

class RecordingProgress : public VWaitingSecretPassProgress {
 public:
  std::vector<std::string> items;
  size_t total = 0;
  std::vector<VSecretPassFailure> failures;
  std::string shown;
  std::thread::id worker;
  void ShowFailures(const std::vector<VSecretPassFailure>& list) override { failures = list; }

 protected:
  void OnShow(VReportMessageParams& message) override { shown = message.GetTextTrimmed().ToUtf8(); }
  void OnAdvance(size_t, size_t all, const VUnicodeString& item) override {
    items.push_back(item.ToUtf8());
    total = all;
    worker = std::this_thread::get_id();
  }
};

TEST_F(FirewallTest, ReEncryptionVisitsEveryItemAndNamesThoseLeftBehind) {
  VSetAppName(u"Karvell");
  SetConfigPassphrase(u"old");
  VEncryptedString secret;
  ASSERT_TRUE(secret.SetPlaintext(u"s3", u"old"));
  for (const char* path : {"Lab/a", "b"})
    WriteSession(path, "D:\"Is Session\"=00000001\r\nS:\"Monitor Password V2\"=" + secret.ToUtf8() + "\r\n");
  folder_.WriteLines("Firewalls/fw", "S:\"Firewall Type\"=HTTP\r\nS:\"Firewall Password V2\"=" +
                                         secret.ToUtf8() + "\r\n");
  chmod(SessionFile("b").c_str(), 0444);
  RecordingProgress progress;
  VSecretPassResult result = ReEncryptSensitiveData(std::u16string_view(u"old"), u"new", &progress);
  EXPECT_EQ(progress.shown, "Karvell is re-encrypting your sensitive data. This operation cannot be canceled.");
  std::sort(progress.items.begin(), progress.items.end() - 1);  // sessions in the store's order
  EXPECT_EQ(progress.items, (std::vector<std::string>{"Lab\\a", "b", "fw"}));
  EXPECT_EQ(progress.total, 3u);
  EXPECT_NE(progress.worker, std::this_thread::get_id());
  EXPECT_EQ(result.sessions, 2u);
  EXPECT_EQ(result.firewalls, 1u);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].item, u"b");
  EXPECT_EQ(progress.failures.size(), 1u);
  VReportMessageParams message;
  ASSERT_TRUE(DescribeSecretPassFailures(result, message));
  EXPECT_NE(message.GetTextTrimmed().ToUtf8().find("1 item(s) could not be re-encrypted"), std::string::npos);

  // What reaches the disk is checked over a thousand sessions, and by the host's own change.
  SetConfigPassphrase(u"new");
  chmod(SessionFile("b").c_str(), 0644);

  // A password that does not decrypt under the old passphrase is left alone and named.
  VRef<FirewallConfig> firewall = SessionDatabase().OpenFirewall(u"fw");
  VReportMessageParams why;
  const VUnicodeString before = firewall->firewallPassword.Current();
  EXPECT_FALSE(firewall->ReEncryptPassword(std::u16string_view(u"wrong"), u"x", why));
  EXPECT_EQ(why.GetMessageId(), 0xE1380602u);
  EXPECT_EQ(firewall->firewallPassword.Current(), before);
  // Without a progress window the pass runs on the calling thread.
  VSecretPassResult quiet = EncryptSensitiveDataFirstTime(nullptr);
  EXPECT_TRUE(quiet.Succeeded());
  EXPECT_EQ(quiet.sessions, 2u);
}

}  // namespace
