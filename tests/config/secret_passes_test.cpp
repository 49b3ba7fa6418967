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

}  // namespace
