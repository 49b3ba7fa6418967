// quillane secret: texts through standard input and output, exit statuses and messages.
#include <gtest/gtest.h>

#include <string>

#include "crypto/blowfish_string.h"
#include "crypto/v2_codec.h"
#include "support/test_support.h"

namespace {

using qtest::Quillane;
using qtest::RunResult;

class SecretCommand : public ::testing::Test {
 protected:
  std::map<std::string, std::string> Env(const std::string& passphrase = {}) {
    std::map<std::string, std::string> env = qtest::HostEnv(dir_);
    if (!passphrase.empty()) env["SECRET_PASS"] = passphrase;
    return env;
  }
  static std::string Chomp(const std::string& out) {
    return !out.empty() && out.back() == '\n' ? out.substr(0, out.size() - 1) : out;
  }
  qtest::TempDir dir_;
};

TEST_F(SecretCommand, EncryptAndDecryptUnderThePassphraseOfTheEnvironment) {
  RunResult encrypted = Quillane({"--passphrase-env", "SECRET_PASS", "secret", "encrypt"},
                                 Env("phrase ✓"), "pässword\n");
  ASSERT_EQ(encrypted.status, 0) << encrypted.err;
  std::string text = Chomp(encrypted.out);
  EXPECT_EQ(text.substr(0, 3), "02:");
  // The library reads it under the same passphrase.
  VUnicodeString plaintext;
  VReportMessageParams error;
  ASSERT_TRUE(CryptUtils::DecryptV2String(U8(text), U8("phrase ✓"), plaintext, error));
  EXPECT_EQ(plaintext, U8("pässword"));

  RunResult decrypted = Quillane({"--passphrase-env", "SECRET_PASS", "secret", "decrypt"},
                                 Env("phrase ✓"), text + "\n");
  EXPECT_EQ(decrypted.status, 0) << decrypted.err;
  EXPECT_EQ(decrypted.out, "pässword\n");
}

TEST_F(SecretCommand, WithoutTheOptionThePassphraseIsEmptyAndOnlyOneFinalLineFeedIsDropped) {
  RunResult empty = Quillane({"secret", "encrypt"}, Env(), "");
  ASSERT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out.size(), 3u + 96u + 1u);  // the empty plaintext
  VUnicodeString plaintext = u"x";
  VReportMessageParams error;
  ASSERT_TRUE(CryptUtils::DecryptV2String(U8(Chomp(empty.out)), u"", plaintext, error));
  EXPECT_TRUE(plaintext.empty());
  RunResult encrypted = Quillane({"secret", "encrypt"}, Env(), "two lines\n\n");
  RunResult decrypted = Quillane({"--json", "secret", "decrypt"}, Env(), encrypted.out);
  EXPECT_EQ(decrypted.status, 0);
  EXPECT_EQ(decrypted.out, "{\"text\": \"two lines\\n\"}\n");
}

TEST_F(SecretCommand, AWrongPassphraseOrDamagedTextExitsThreeWithTheReason) {
  RunResult encrypted = Quillane({"--passphrase-env", "SECRET_PASS", "secret", "encrypt"},
                                 Env("right"), "pw");
  RunResult wrong = Quillane({"--passphrase-env", "SECRET_PASS", "secret", "decrypt"},
                             Env("wrong"), encrypted.out);
  EXPECT_EQ(wrong.status, 3);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(wrong.err,
            "quillane: The encrypted text could not be decrypted: it was encrypted under another "
            "passphrase, or it is damaged.\n");
  RunResult damaged = Quillane({"--json", "secret", "decrypt"}, Env(), "02:abc");
  EXPECT_EQ(damaged.status, 3);
  EXPECT_NE(damaged.out.find("\"id\": \"0xE1380302\""), std::string::npos) << damaged.out;
}

TEST_F(SecretCommand, OlderFormsDecodeAndEncode) {
  RunResult encoded = Quillane({"secret", "encode", "--form", "encoded"}, Env(), "login script");
  ASSERT_EQ(encoded.status, 0);
  EXPECT_EQ(Chomp(encoded.out).size(), 8u + 4 * 12);
  RunResult decoded = Quillane({"secret", "decode", "--form", "encoded"}, Env(), encoded.out);
  EXPECT_EQ(decoded.out, "login script\n");

  RunResult capi = Quillane({"secret", "encode", "--form=capi"}, Env(), "protected");
  ASSERT_EQ(capi.status, 0) << capi.err;
  EXPECT_EQ(capi.out.substr(0, 5), "CAPI:");
  RunResult back = Quillane({"--json", "secret", "decode", "--form", "capi"}, Env(), capi.out);
  EXPECT_EQ(back.out, "{\"text\": \"protected\"}\n");

  for (int mode = 0; mode <= 2; ++mode) {
    VUnicodeString text;
    VReportMessageParams error;
    ASSERT_TRUE(VBlowfishString::Encode(u"old one", VBlowfishString::Kind::WideSparse, mode, text, error));
    RunResult blowfish = Quillane(
        {"secret", "decode", "--form", "blowfish", "--mode", std::to_string(mode)}, Env(), text.ToUtf8());
    EXPECT_EQ(blowfish.status, 0) << blowfish.err;
    EXPECT_EQ(blowfish.out, "old one\n");
  }
}

TEST_F(SecretCommand, OlderFormsThatDoNotDecodeExitThree) {
  RunResult blowfish = Quillane({"secret", "decode", "--form", "blowfish"}, Env(), "0123456789ab");
  EXPECT_EQ(blowfish.status, 3);
  EXPECT_NE(blowfish.err.find("older encrypted form"), std::string::npos);
  RunResult encoded = Quillane({"secret", "decode", "--form", "encoded"}, Env(), "123");
  EXPECT_EQ(encoded.status, 3);
  RunResult odd = Quillane({"--json", "secret", "decode", "--form", "capi"}, Env(), "CAPI:ABC");
  EXPECT_EQ(odd.status, 3);
  EXPECT_NE(odd.out.find("\"id\": \"0xE1040047\""), std::string::npos) << odd.out;
  RunResult other = Quillane({"--lang", "fr", "secret", "decode", "--form", "capi"}, Env(),
                             "CAPI:00112233");
  EXPECT_EQ(other.status, 3);
  EXPECT_EQ(other.err,
            "quillane: Les données protégées n'ont pas pu être déchiffrées : Les données ont été "
            "protégées par un autre utilisateur ou sur un autre ordinateur, ou elles sont "
            "endommagées.\n");
}

TEST_F(SecretCommand, InputThatIsNotUtf8IsRefused) {
  RunResult result = Quillane({"secret", "encrypt"}, Env(), "caf\xe9");
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "quillane: The text on standard input is not valid UTF-8.\n");
  EXPECT_EQ(result.out, "");
}

TEST_F(SecretCommand, WrongCommandLinesExitTwo) {
  const std::vector<std::vector<std::string>> lines = {
      {"secret"},
      {"secret", "scramble"},
      {"secret", "decode"},
      {"secret", "decode", "--form", "rot13"},
      {"secret", "encode", "--form", "blowfish"},
      {"secret", "decode", "--form", "blowfish", "--mode", "3"},
      {"secret", "decode", "--form", "encoded", "--mode", "1"},
      {"secret", "encrypt", "--form", "capi"},
      {"secret", "encrypt", "extra"},
      {"--passphrase-env", "NOT_SET_ANYWHERE", "secret", "encrypt"},
  };
  for (const auto& line : lines) {
    RunResult result = Quillane(line, Env(), "x");
    EXPECT_EQ(result.status, 2) << line.back();
    EXPECT_NE(result.err.find("usage"), std::string::npos) << result.err;
  }
}

}  // namespace
