// The login script's text form, and the secrets of a session when the passphrase changes.
#include "session_test_env.h"

namespace {

using SessionSecretsTest = SessionFolderTest;

TEST(ExpectSendList, TheTextFormClosesEveryFieldWithTheUnitSeparator) {
  std::vector<ExpectSendEntry> entries = {{u"ogin:", u"me", false}, {u"", u"pw\x1E", true}};
  VUnicodeString text = ProfileExpectSendList::ToText(entries);
  EXPECT_EQ(text, u"0\x1Fogin:\x1Fme\x1F" u"1\x1F\x1Fpw\x1E\x1F");
  std::vector<ExpectSendEntry> back;
  ASSERT_TRUE(ProfileExpectSendList::FromText(text, back));
  EXPECT_EQ(back, entries);
  EXPECT_TRUE(ProfileExpectSendList::FromText(u"", back));
  EXPECT_TRUE(back.empty());
  // A field that is never closed, or an entry cut short, is damage; whole entries before it stay.
  EXPECT_FALSE(ProfileExpectSendList::FromText(u"0\x1F" u"a\x1F" u"b\x1F" u"1\x1F" u"c", back));
  ASSERT_EQ(back.size(), 1u);
  EXPECT_FALSE(ProfileExpectSendList::FromText(u"0\x1F" u"a\x1F", back));
}

TEST_F(SessionSecretsTest, ReEncryptionCarriesEverySecretToTheNewPassphrase) {
  RegisterSample(u"SSH2", 3);
  SetConfigPassphrase(u"old");
  WriteSession("s", "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=SSH2\r\n");
  VRef<SessionConfig> session = Open(u"s");
  VReportMessageParams error;
  ASSERT_TRUE(session->SetSetting(u"Monitor Password V2", VUnicodeString(u"monitor"), error));
  ASSERT_TRUE(session->SetSetting(u"Login Script V3", VUnicodeString(u"0\x1F" u"a\x1F" u"b\x1F"), error));
  auto* ssh = dynamic_cast<SampleProtocolConfig*>(session->GetTerminalConnectConfig());
  ASSERT_TRUE(ssh && ssh->password.SetPlaintext(u"ssh-pw"));
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  // A protocol whose module is not loaded keeps its secret; it is re-encrypted as well.
  VEncryptedString telnet;
  ASSERT_TRUE(telnet.SetPlaintext(u"telnet-pw", u"old"));
  folder_.WriteLines("Sessions/s", Session("s") + "S:\"Telnet Password V2\"=" + telnet.ToUtf8() + "\r\n");
  session = Open(u"s");
  EXPECT_EQ(session->GetSecretSettings().size(), 6u);
  EXPECT_TRUE(session->CanDecryptSecrets(u"old", u"old"));
  EXPECT_FALSE(session->CanDecryptSecrets(u"new", u"other"));

  ASSERT_TRUE(session->ReEncryptSecrets(std::u16string_view(u"old"), u"new", error));
  EXPECT_TRUE(session->CanDecryptSecrets(u"new", u"new"));
  EXPECT_FALSE(session->CanDecryptSecrets(u"old", u"old"));
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  SetConfigPassphrase(u"new");
  session = Open(u"s");
  EXPECT_EQ(session->monitorPassword.GetPlaintext(), u"monitor");
  EXPECT_EQ(dynamic_cast<SampleProtocolConfig*>(session->GetTerminalConnectConfig())
                ->password.GetPlaintext(),
            u"ssh-pw");
  EXPECT_EQ(session->GetSecretSettings().size(), 6u);
  size_t telnetIndex = 0;
  const VRetainedValues& retained = session->GetRetainedValues();
  for (size_t i = 0; i < retained.Size(); ++i) {
    if (retained.NameAt(i) == u"Telnet Password V2") telnetIndex = i;
  }
  VUnicodeString plaintext;
  EXPECT_TRUE(VEncryptedString(retained.ValueAt(telnetIndex).text).GetPlaintext(u"new", plaintext));
  EXPECT_EQ(plaintext, u"telnet-pw");

  // A wrong old passphrase changes nothing and names what it could not carry.
  const VUnicodeString before = session->monitorPassword.Current();
  EXPECT_FALSE(session->ReEncryptSecrets(std::u16string_view(u"wrong"), u"third", error));
  EXPECT_EQ(session->monitorPassword.Current(), before);
  EXPECT_NE(error.GetTextTrimmed().ToUtf8().find("Monitor Password V2"), std::string::npos);

  // A reset: without the old passphrase every secret becomes empty under the new one; empty
  // stored texts stay empty.
  ASSERT_TRUE(session->ReEncryptSecrets(std::nullopt, u"reset", error));
  EXPECT_TRUE(session->monitorPassword.Current().GetPlaintext(u"reset", plaintext));
  EXPECT_EQ(plaintext, u"");
  EXPECT_FALSE(session->monitorPassword.Current().empty());
  EXPECT_TRUE(session->scpShellPassword.Current().empty());
  EXPECT_TRUE(session->CanDecryptSecrets(u"reset", u"reset"));

  // Emptied, the protocol without its module included, and written so.
  session->ClearSecrets();
  for (VProfileEncryptedString* secret : session->GetSecretSettings())
    EXPECT_TRUE(secret->Current().empty()) << secret->GetName().ToUtf8();
  EXPECT_TRUE(session->GetRetainedValues().SecretIndexes().empty());
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  EXPECT_NE(folder_.Lines("Sessions/s").find("S:\"Telnet Password V2\"=\r\n"), std::string::npos)
      << folder_.Lines("Sessions/s");
}

}  // namespace
