// The per-user protected form: round trips, the key file's creation and checks, and values that
// belong to someone else.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "crypto/capi_form.h"
#include "crypto/crypto_messages.h"
#include "crypto/user_protection.h"
#include "crypto_test_helpers.h"
#include "support/test_support.h"

namespace {

using qtest::ScopedEnv;

class CapiForm : public ::testing::Test {
 protected:
  CapiForm() : env_("XDG_DATA_HOME", dir_ / "data") {}
  std::string KeyFile() const { return dir_ / "data/Tolvane/protect.key"; }

  VUnicodeString Encode(const VUnicodeString& plaintext) {
    VUnicodeString text;
    VReportMessageParams error;
    EXPECT_TRUE(EncodeCapiForm(plaintext, text, error)) << error.GetTextTrimmed().ToUtf8();
    return text;
  }
  bool Decode(const VUnicodeString& text, VUnicodeString& plaintext, VReportMessageParams& error) {
    return DecodeCapiForm(text, plaintext, error);
  }

  qtest::TempDir dir_;
  ScopedEnv env_;
};

TEST_F(CapiForm, RoundTripWithUpperCaseHexAfterThePrefix) {
  for (const VUnicodeString& plaintext :
       {VUnicodeString(u""), VUnicodeString(u"pw"), U8("Grüße 密码 😀")}) {
    VUnicodeString text = Encode(plaintext);
    ASSERT_EQ(text.substr(0, 5), u"CAPI:");
    EXPECT_EQ(text.find_first_not_of(u"0123456789ABCDEF", 5), std::u16string::npos);
    // header 4 + nonce 12 + UTF-16 with terminator + tag 16
    EXPECT_EQ(text.size(), 5 + 2 * (4 + 12 + 2 * (plaintext.size() + 1) + 16));
    VUnicodeString back;
    VReportMessageParams error;
    ASSERT_TRUE(Decode(text, back, error));
    EXPECT_EQ(back, plaintext);
    ASSERT_TRUE(Decode(VUnicodeString(text.substr(5)), back, error));  // the prefix is optional
    EXPECT_EQ(back, plaintext);
  }
  EXPECT_NE(Encode(u"same"), Encode(u"same"));
  VUnicodeString back = u"x";
  VReportMessageParams error;
  EXPECT_TRUE(Decode(u"", back, error));  // the empty text is the empty plaintext
  EXPECT_TRUE(back.empty());
}

// Encoding creates the key, private, once; decoding never creates it.
TEST_F(CapiForm, TheKeyIsCreatedPrivateOnFirstEncodingOnly) {
  EXPECT_FALSE(qtest::Exists(KeyFile()));
  VUnicodeString text = Encode(u"x");
  struct stat info {};
  ASSERT_EQ(stat(KeyFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(info.st_size, 32);
  EXPECT_EQ(info.st_uid, geteuid());
  ASSERT_EQ(stat((dir_ / "data/Tolvane").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
  std::string key = qtest::ReadFile(KeyFile());
  Encode(u"y");
  EXPECT_EQ(qtest::ReadFile(KeyFile()), key);  // made once, then reused
  ASSERT_EQ(unlink(KeyFile().c_str()), 0);
  VUnicodeString back;
  VReportMessageParams error;
  EXPECT_FALSE(Decode(text, back, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kProtectedDataNotDecrypted);
  EXPECT_FALSE(qtest::Exists(KeyFile()));
}

TEST_F(CapiForm, ProcessesCreatingTheKeyAtOnceAgreeOnOne) {
  std::vector<VUnicodeString> texts(8);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < texts.size(); ++i) {
    threads.emplace_back([&texts, i] {
      VReportMessageParams error;
      EncodeCapiForm(u"together", texts[i], error);
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& text : texts) {
    VUnicodeString back;
    VReportMessageParams error;
    ASSERT_TRUE(Decode(text, back, error)) << text.ToUtf8();
    EXPECT_EQ(back, u"together");
  }
}

TEST_F(CapiForm, WhatDoesNotDecodeSaysWhy) {
  VUnicodeString odd;
  VReportMessageParams oddError;
  EXPECT_FALSE(Decode(u"CAPI:ABC", odd, oddError));
  EXPECT_EQ(oddError.GetTextTrimmed(),
            u"The protected data is not valid: it contains an odd number of hexadecimal digits.");
  VUnicodeString good = Encode(u"pw");
  VUnicodeString flipped = good;
  flipped[20] = flipped[20] == u'0' ? u'1' : u'0';
  const VUnicodeString bad[] = {
      flipped,
      u"CAPI:",
      u"CAPI:ZZ",
      // A blob of some other format, as another system writes it.
      u"CAPI:0100000000112233445566778899AABBCCDDEEFF01000000",
      VUnicodeString(good.substr(0, good.size() - 2)),
  };
  for (const auto& text : bad) {
    VUnicodeString back = u"left over";
    VReportMessageParams error;
    EXPECT_FALSE(Decode(text, back, error)) << text.ToUtf8();
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(error.GetMessageId(), crypto_messages::kProtectedDataNotDecrypted);
    EXPECT_EQ(error.GetTextTrimmed(),
              u"The protected data could not be decrypted: The data was protected by another user "
              u"or on another computer, or it is damaged.");
  }
}

TEST_F(CapiForm, AKeyFileOpenToOthersIsRefused) {
  VUnicodeString text = Encode(u"pw");
  for (mode_t mode : {0640, 0604, 0644, 0660}) {
    ASSERT_EQ(chmod(KeyFile().c_str(), mode), 0);
    VUnicodeString back;
    VReportMessageParams error;
    EXPECT_FALSE(Decode(text, back, error));
    EXPECT_EQ(error.GetMessageId(), crypto_messages::kProtectedDataNotDecrypted);
    EXPECT_NE(error.GetTextTrimmed().find(u"can be used by other users"), std::u16string::npos);
    VUnicodeString again = u"kept";
    EXPECT_FALSE(EncodeCapiForm(u"pw", again, error));
    EXPECT_EQ(error.GetMessageId(), crypto_messages::kKeyFileMode);
    EXPECT_EQ(again, u"kept");
  }
  ASSERT_EQ(chmod(KeyFile().c_str(), 0400), 0);  // stricter is fine
  VUnicodeString back;
  VReportMessageParams error;
  EXPECT_TRUE(Decode(text, back, error));
}

TEST_F(CapiForm, AKeyFileOwnedBySomeoneElseIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
  VUnicodeString text = Encode(u"pw");
  ASSERT_EQ(chown(KeyFile().c_str(), 65534, 65534), 0);
  VUnicodeString back;
  VReportMessageParams error;
  EXPECT_FALSE(Decode(text, back, error));
  EXPECT_NE(error.GetTextTrimmed().find(u"belongs to another user"), std::u16string::npos);
  EXPECT_FALSE(EncodeCapiForm(u"pw", back, error));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kKeyFileOwner);
}

TEST_F(CapiForm, TheOwnerCheckJudgesTheFileStatus) {
  struct stat info {};
  info.st_mode = S_IFREG | 0600;
  info.st_uid = 1000;
  info.st_size = 32;
  EXPECT_EQ(vprotect::CheckKeyFile(info, 1000), vprotect::KeyFileCheck::Ok);
  EXPECT_EQ(vprotect::CheckKeyFile(info, 1001), vprotect::KeyFileCheck::WrongOwner);
  info.st_mode = S_IFREG | 0620;
  EXPECT_EQ(vprotect::CheckKeyFile(info, 1000), vprotect::KeyFileCheck::OpenToOthers);
  info.st_mode = S_IFDIR | 0700;
  EXPECT_EQ(vprotect::CheckKeyFile(info, 1000), vprotect::KeyFileCheck::NotRegular);
  info.st_mode = S_IFREG | 0600;
  info.st_size = 31;
  EXPECT_EQ(vprotect::CheckKeyFile(info, 1000), vprotect::KeyFileCheck::WrongSize);
}

TEST_F(CapiForm, ALinkOrADamagedKeyFileIsRefused) {
  VUnicodeString text = Encode(u"pw");
  std::string key = qtest::ReadFile(KeyFile());
  ASSERT_EQ(rename(KeyFile().c_str(), (dir_ / "elsewhere.key").c_str()), 0);
  ASSERT_EQ(symlink((dir_ / "elsewhere.key").c_str(), KeyFile().c_str()), 0);
  VUnicodeString back;
  VReportMessageParams error;
  EXPECT_FALSE(Decode(text, back, error));
  EXPECT_NE(error.GetTextTrimmed().find(u"must be a regular file"), std::u16string::npos);
  ASSERT_EQ(unlink(KeyFile().c_str()), 0);
  qtest::WriteFile(KeyFile(), key + "x");
  ASSERT_EQ(chmod(KeyFile().c_str(), 0600), 0);
  EXPECT_FALSE(Decode(text, back, error));
  EXPECT_NE(error.GetTextTrimmed().find(u"must be a regular file"), std::u16string::npos);
}

TEST_F(CapiForm, AValueMadeUnderAnotherUsersKeyDoesNotDecode) {
  // The other account: a child process with its own data folder, hence its own key.
  qtest::RunResult other = qtest::Quillane({"secret", "encode", "--form", "capi"},
                                           {{"XDG_DATA_HOME", dir_ / "other"}}, "theirs\n");
  ASSERT_EQ(other.status, 0) << other.err;
  VUnicodeString theirs = U8(other.out.substr(0, other.out.size() - 1));
  Encode(u"mine");  // this user has a key too
  VUnicodeString back = u"left over";
  VReportMessageParams error;
  EXPECT_FALSE(Decode(theirs, back, error));
  EXPECT_TRUE(back.empty());
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kProtectedDataNotDecrypted);
  // Their own process reads it.
  qtest::RunResult again = qtest::Quillane({"secret", "decode", "--form", "capi"},
                                           {{"XDG_DATA_HOME", dir_ / "other"}}, theirs.ToUtf8());
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, "theirs\n");
}

}  // namespace
