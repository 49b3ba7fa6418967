// A change of passphrase over a configuration of the size people keep: every secret on disk must
// end up under the new passphrase and none under the old, and a reset must leave each one empty
// under the new passphrase rather than gone or still under the forgotten one.
#include <filesystem>
#include <set>

#include "config/database/secret_passes.h"
#include "crypto/v2_codec.h"
#include "session_test_env.h"

namespace {

using SecretPassesTest = SessionFolderTest;

constexpr int kSessions = 1000;
constexpr int kFirewalls = 10;

// Every encrypted text written below the configuration folder, with the file it stands in.
std::vector<std::pair<std::string, std::string>> EncryptedTexts(const std::filesystem::path& root) {
  std::vector<std::pair<std::string, std::string>> texts;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::string bytes = qtest::ReadFile(entry.path());
    for (size_t at = bytes.find("=02:"); at != std::string::npos; at = bytes.find("=02:", at + 1))
      texts.emplace_back(entry.path().string(), bytes.substr(at + 1, bytes.find('\r', at) - at - 1));
  }
  return texts;
}

bool Decrypts(const std::string& text, const char16_t* passphrase, VUnicodeString& plaintext) {
  VReportMessageParams error;
  return CryptUtils::DecryptV2String(VUnicodeString::FromUtf8(text), passphrase, plaintext, error);
}

TEST_F(SecretPassesTest, AChangeOverAThousandSessionsLeavesNothingUnderTheOldPassphrase) {
  RegisterSample(u"SSH2", 3);
  SetConfigPassphrase(u"old");
  // Two secrets per session, one of the session and one of its protocol, in 20 folders.
  for (int i = 0; i < kSessions; ++i) {
    VEncryptedString monitor, password;
    std::string n = std::to_string(i);
    ASSERT_TRUE(monitor.SetPlaintext(VUnicodeString::FromUtf8("m" + n), u"old"));
    ASSERT_TRUE(password.SetPlaintext(VUnicodeString::FromUtf8("p" + n), u"old"));
    WriteSession("F" + std::to_string(i % 20) + "/s" + n,
                 "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=SSH2\r\nS:\"Hostname\"=h" + n +
                     "\r\nS:\"Monitor Password V2\"=" + monitor.ToUtf8() +
                     "\r\nS:\"Password V2\"=" + password.ToUtf8() + "\r\n");
  }
  for (int i = 0; i < kFirewalls; ++i) {
    VEncryptedString password;
    ASSERT_TRUE(password.SetPlaintext(VUnicodeString::FromUtf8("f" + std::to_string(i)), u"old"));
    folder_.WriteLines("Firewalls/fw" + std::to_string(i),
                       "S:\"Firewall Type\"=HTTP\r\nS:\"Firewall Password V2\"=" + password.ToUtf8() + "\r\n");
  }
  const std::filesystem::path root = std::filesystem::path(folder_.FilePath("Global")).parent_path();
  ASSERT_EQ(EncryptedTexts(root).size(), size_t{2 * kSessions + kFirewalls});

  VSecretPassResult change = ReEncryptSensitiveData(std::u16string_view(u"old"), u"new", nullptr);
  EXPECT_TRUE(change.Succeeded());
  EXPECT_EQ(change.sessions, size_t{kSessions});
  EXPECT_EQ(change.firewalls, size_t{kFirewalls});
  auto texts = EncryptedTexts(root);
  ASSERT_EQ(texts.size(), size_t{2 * kSessions + kFirewalls});
  std::set<std::string> plaintexts;
  for (const auto& [file, text] : texts) {
    VUnicodeString plaintext;
    EXPECT_FALSE(Decrypts(text, u"old", plaintext)) << file;
    ASSERT_TRUE(Decrypts(text, u"new", plaintext)) << file;
    plaintexts.insert(plaintext.ToUtf8());
  }
  // Each secret kept its own plaintext: none was lost, blanked or swapped for another's.
  EXPECT_EQ(plaintexts.size(), texts.size());
  EXPECT_EQ(plaintexts.count("m999") + plaintexts.count("p0") + plaintexts.count("f9"), 3u);

  // A reset (the old passphrase forgotten) empties every secret under the new passphrase.
  SetConfigPassphrase(u"new");
  VSecretPassResult reset = ReEncryptSensitiveData(std::nullopt, u"newer", nullptr);
  EXPECT_TRUE(reset.Succeeded());
  texts = EncryptedTexts(root);
  ASSERT_EQ(texts.size(), size_t{2 * kSessions + kFirewalls});
  for (const auto& [file, text] : texts) {
    VUnicodeString plaintext;
    EXPECT_FALSE(Decrypts(text, u"new", plaintext)) << file;
    ASSERT_TRUE(Decrypts(text, u"newer", plaintext)) << file;
    EXPECT_TRUE(plaintext.empty()) << file;
  }
}

// A change stopped part way leaves some secrets under the new passphrase: carried out again, the
// pass keeps those as they are and names only the secrets that open under neither passphrase.
TEST_F(SecretPassesTest, ACarriedSecretIsFoundUnderTheNewPassphraseAndIsNoFailure) {
  RegisterSample(u"SSH2", 3);
  SetConfigPassphrase(u"old");
  auto secret = [](const std::string& plaintext, const char16_t* passphrase) {
    VEncryptedString text;
    EXPECT_TRUE(text.SetPlaintext(VUnicodeString::FromUtf8(plaintext), passphrase));
    return text.ToUtf8();
  };
  // Session i: its monitor password under "new" (already carried) when i is even, else "old";
  // its protocol password always under "old"; session "lost" holds one under neither.
  for (int i = 0; i < 6; ++i) {
    std::string n = std::to_string(i);
    WriteSession("s" + n, "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=SSH2\r\n"
                          "S:\"Monitor Password V2\"=" + secret("m" + n, i % 2 ? u"old" : u"new") +
                          "\r\nS:\"Password V2\"=" + secret("p" + n, u"old") + "\r\n");
  }
  WriteSession("lost", "D:\"Is Session\"=00000001\r\nS:\"Monitor Password V2\"=" +
                           secret("gone", u"other") + "\r\n");
  folder_.WriteLines("Firewalls/carried", "S:\"Firewall Type\"=HTTP\r\nS:\"Firewall Password V2\"=" +
                                             secret("fw", u"new") + "\r\n");
  const std::filesystem::path root = std::filesystem::path(folder_.FilePath("Global")).parent_path();

  VSecretPassResult change = ReEncryptSensitiveData(std::u16string_view(u"old"), u"new", nullptr);
  ASSERT_EQ(change.failures.size(), 1u);
  EXPECT_EQ(change.failures[0].item, u"lost");
  for (const auto& [file, text] : EncryptedTexts(root)) {
    VUnicodeString plaintext;
    bool lost = file.find("lost") != std::string::npos;
    EXPECT_EQ(Decrypts(text, u"new", plaintext), !lost) << file;
    if (!lost) {
      EXPECT_NE(plaintext.ToUtf8(), "") << file;
    }
  }
  VUnicodeString plaintext;
  std::string carried = qtest::ReadFile(folder_.FilePath("Sessions/s2"));
  size_t at = carried.find("\"Monitor Password V2\"=") + 22;
  ASSERT_TRUE(Decrypts(carried.substr(at, carried.find('\r', at) - at), u"new", plaintext));
  EXPECT_EQ(plaintext.ToUtf8(), "m2");

  // A reset stopped part way: what is under the new passphrase keeps its plaintext, the rest is
  // given up (emptied under the new passphrase), and nothing is a failure.
  WriteSession("s1", "D:\"Is Session\"=00000001\r\nS:\"Monitor Password V2\"=" +
                         secret("kept", u"newer") + "\r\n");
  VSecretPassResult reset = ReEncryptSensitiveData(std::nullopt, u"newer", nullptr);
  EXPECT_TRUE(reset.Succeeded());
  std::multiset<std::string> plaintexts;
  for (const auto& [file, text] : EncryptedTexts(root)) {
    ASSERT_TRUE(Decrypts(text, u"newer", plaintext)) << file;
    plaintexts.insert(plaintext.ToUtf8());
  }
  EXPECT_EQ(plaintexts.count("kept"), 1u);
  EXPECT_EQ(plaintexts.size(), plaintexts.count("") + 1);
}

}  // namespace
