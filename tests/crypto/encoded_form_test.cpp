// The scrambled hexadecimal form: exact bytes, round trips, and damaged texts.
#include <gtest/gtest.h>

#include "crypto/crypto_messages.h"
#include "crypto/encoded_form.h"
#include "crypto_test_helpers.h"

namespace {

using crypto_test::CountingRandomSource;

bool Decode(const VUnicodeString& text, VUnicodeString& plaintext, uint32_t* id = nullptr) {
  VReportMessageParams error;
  bool done = DecodeScrambledHex(text, plaintext, error);
  if (id) *id = error.GetMessageId();
  return done;
}

TEST(EncodedForm, FourMaskBytesThenEachUtf16ByteXoredInTurn) {
  CountingRandomSource random(0x10);  // mask 10 11 12 13
  VUnicodeString text;
  VReportMessageParams error;
  ASSERT_TRUE(EncodeScrambledHex(u"AB\u00e9", text, error, &random));
  // 41 00 42 00 e9 00 XOR 10 11 12 13 10 11
  EXPECT_EQ(text, u"10111213" u"51115013" u"f911");
  VUnicodeString back;
  ASSERT_TRUE(Decode(text, back));
  EXPECT_EQ(back, u"AB\u00e9");
  EXPECT_TRUE(back.IsSensitive());
}

TEST(EncodedForm, RoundTripsAndVariesWithTheMask) {
  for (const VUnicodeString& plaintext :
       {VUnicodeString(u""), VUnicodeString(u"x"), U8("login: user\\npassword: 密码 😀")}) {
    VUnicodeString a, b;
    VReportMessageParams error;
    ASSERT_TRUE(EncodeScrambledHex(plaintext, a, error));
    ASSERT_TRUE(EncodeScrambledHex(plaintext, b, error));
    EXPECT_EQ(a.size(), 8 + 4 * plaintext.size());
    EXPECT_NE(a, b);  // a new random mask each time
    VUnicodeString back;
    ASSERT_TRUE(Decode(a, back));
    EXPECT_EQ(back, plaintext);
    ASSERT_TRUE(Decode(b, back));
    EXPECT_EQ(back, plaintext);
  }
}

TEST(EncodedForm, EmptyTextBareMaskUpperCaseDigitsAndAZeroCharacter) {
  VUnicodeString back = u"left over";
  EXPECT_TRUE(Decode(u"", back));
  EXPECT_TRUE(back.empty());
  back = u"left over";
  EXPECT_TRUE(Decode(u"a1b2c3d4", back));
  EXPECT_TRUE(back.empty());
  // "A", then a zero character, then "B": the text ends at the zero.
  ASSERT_TRUE(Decode(u"00000000" u"4100" u"0000" u"4200", back));
  EXPECT_EQ(back, u"A");
  ASSERT_TRUE(Decode(u"FFFFFFFF" u"BEFF", back));
  EXPECT_EQ(back, u"A");
}

TEST(EncodedForm, DamagedTextsFailEmpty) {
  const VUnicodeString bad[] = {
      u"1011121",             // seven digits
      u"10111213511",         // odd digit count
      u"1011121351",          // one byte: half a character
      u"10111213zz11",        // not hexadecimal
      u"1011 213",            // a space
      u"CAPI:0011223344",     // another form
  };
  for (const auto& text : bad) {
    VUnicodeString back = u"left over";
    uint32_t id = 0;
    EXPECT_FALSE(Decode(text, back, &id)) << text.ToUtf8();
    EXPECT_EQ(id, crypto_messages::kEncodedForm);
    EXPECT_TRUE(back.empty());
  }
}

TEST(EncodedForm, RandomFailureFails) {
  CountingRandomSource random;
  random.SetFailing(true);
  VUnicodeString text = u"kept";
  VReportMessageParams error;
  EXPECT_FALSE(EncodeScrambledHex(u"x", text, error, &random));
  EXPECT_EQ(error.GetMessageId(), crypto_messages::kRandomFailed);
  EXPECT_EQ(text, u"kept");
}

}  // namespace
