// Numbers kept as 32-bit values: narrowing, defaults written once, forced writes, commits,
// text and automation conversions.
#include <gtest/gtest.h>

#include "ini_folder.h"
#include "storage/values/profile_number.h"
#include "storage/values/setting_text.h"

namespace {

TEST(ProfileNumber, DefaultIsWrittenOnceThenOnlyWhenChanged) {
  IniFolder folder;
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<int> value(u"Rows", 24);
    EXPECT_FALSE(value.Load(&key));  // absent: default kept and flagged
    EXPECT_TRUE(value.IsWritePending());
    EXPECT_EQ(value.current, 24);
    EXPECT_TRUE(value.Save(key, false));
    EXPECT_FALSE(value.IsWritePending());
    // A default of -1 is 255 in a byte; signed values keep their sign in the stored 32 bits.
    VProfile<unsigned char> alpha(u"Alpha", static_cast<unsigned char>(-1));
    EXPECT_EQ(alpha.current, 255);
    VProfile<short> height(u"Height", -1);
    alpha.Load(&key);
    height.Load(&key);
    EXPECT_TRUE(alpha.Save(key, false) && height.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"),
            "D:\"Rows\"=00000018\r\nD:\"Alpha\"=000000ff\r\nD:\"Height\"=ffffffff\r\n");

  // Present and unchanged: nothing is written (the file is not even rewritten).
  folder.WriteLines("Test", "D:\"Rows\"=00000018\r\nD:\"Other\"=00000001\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<int> value(u"Rows", 24);
    EXPECT_TRUE(value.Load(&key));
    EXPECT_FALSE(value.IsWritePending());
    EXPECT_TRUE(value.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "D:\"Rows\"=00000018\r\nD:\"Other\"=00000001\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<int> value(u"Rows", 24);
    value.Load(&key);
    value = 43;
    EXPECT_TRUE(value.IsModified());
    EXPECT_TRUE(value.Save(key, false));
    EXPECT_FALSE(value.IsModified());
  });
  EXPECT_EQ(folder.Lines("Test"), "D:\"Rows\"=0000002b\r\nD:\"Other\"=00000001\r\n");
}

TEST(ProfileNumber, UnchangedLoadedValueIsNotWrittenButForceWritesIt) {
  IniFolder folder;
  folder.WriteLines("Test", "D:\"Flag\"=00000002\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<bool> flag(u"Flag", false);
    EXPECT_TRUE(flag.Load(&key));
    EXPECT_TRUE(flag.current);  // 2 reads as true
    EXPECT_TRUE(flag.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "D:\"Flag\"=00000002\r\n");  // left as stored
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<bool> flag(u"Flag", false);
    flag.Load(&key);
    EXPECT_TRUE(flag.Save(key, true));
  });
  EXPECT_EQ(folder.Lines("Test"), "D:\"Flag\"=00000001\r\n");  // forced: written as 1
}

TEST(ProfileNumber, NarrowsOnRead) {
  IniFolder folder;
  folder.WriteLines("Test",
                    "D:\"U8\"=ffffffff\r\nD:\"S16\"=00012345\r\nD:\"Neg\"=fffffffe\r\n"
                    "D:\"Big\"=ffffffff\r\nD:\"Tri\"=00000002\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<unsigned char> u8(u"U8", 0);
    VProfile<short> s16(u"S16", 0);
    VProfile<short> negative(u"Neg", 0);
    VProfile<unsigned long> big(u"Big", 0);
    VProfile<VTriState> tri(u"Tri", TriStateOff);
    EXPECT_TRUE(u8.Load(&key) && s16.Load(&key) && negative.Load(&key) && big.Load(&key) &&
                tri.Load(&key));
    EXPECT_EQ(u8.current, 255);
    EXPECT_EQ(s16.current, 0x2345);
    EXPECT_EQ(negative.current, -2);
    EXPECT_EQ(big.current, 0xFFFFFFFFu);
    static_assert(sizeof(big.current) == 4, "unsigned long settings stay 32 bits");
    EXPECT_EQ(tri.current, TriStateNotSet);
  }, true);
}

TEST(ProfileNumber, RevertAndCopy) {
  VProfile<int> a(u"A", 1);
  a = 5;
  a.Revert();
  EXPECT_EQ(a.current, 1);
  VProfile<int> b(u"B", 7);
  a.CopyValue(b);
  EXPECT_EQ(a.current, 7);
  EXPECT_EQ(a.GetName(), u"A");
  VProfile<short> other(u"C", 3);
  a.CopyValue(other);  // another kind: ignored
  EXPECT_EQ(a.current, 7);
  EXPECT_EQ(a.GetMember(0), &a);
}

TEST(ProfileNumber, FailedWriteKeepsTheValueFlagged) {
  IniFolder folder;
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfile<int> bad(u"Bad\"Name", 3);  // a name the file format cannot hold
    bad.Load(&key);
    bad = 4;
    EXPECT_FALSE(bad.Save(key, false));
    EXPECT_TRUE(bad.IsWritePending());
    EXPECT_TRUE(bad.IsModified());
  });
}

TEST(ProfileNumber, LoadFromTextUsesStrtolRulesInTheRadix) {
  VReportMessageParams error;
  VProfile<int> value(u"Value", 0);
  EXPECT_TRUE(value.LoadFromText(u"0x1f", nullptr, error));
  EXPECT_EQ(value.current, 31);
  EXPECT_EQ(value.saved, 31);
  EXPECT_FALSE(value.IsWritePending());
  value.radix = 10;
  EXPECT_TRUE(value.LoadFromText(u"0x1f", nullptr, error));
  EXPECT_EQ(value.current, 0);
  value.radix = 0;
  EXPECT_TRUE(value.LoadFromText(u"017", nullptr, error));
  EXPECT_EQ(value.current, 15);  // octal after a leading 0
  EXPECT_TRUE(value.LoadFromText(u"  -12abc", nullptr, error));
  EXPECT_EQ(value.current, -12);
  EXPECT_TRUE(value.LoadFromText(u"4294967295", nullptr, error));
  EXPECT_EQ(value.current, -1);

  // No digit at all, or more than 32 bits: refused with the value's name, nothing changed.
  EXPECT_FALSE(value.LoadFromText(u"abc", nullptr, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionFailed);
  EXPECT_EQ(error.GetInserts()[0], u"Value");
  EXPECT_EQ(value.current, -1);
  EXPECT_FALSE(value.LoadFromText(u"99999999999", nullptr, error));
  EXPECT_EQ(value.current, -1);
}

class YesNoConverter : public IProfileTextConverter {
 public:
  bool ToBool(const VUnicodeString& text, bool& value, VReportMessageParams& error) override {
    if (text == u"yes" || text == u"no") {
      value = text == u"yes";
      return true;
    }
    error.Reset(0xE1040099);
    return false;
  }
  bool ToString(const VUnicodeString&, VUnicodeString&, VReportMessageParams& error) override {
    error.Reset(kMsgTextConversionNotHandled);
    return false;
  }
};

TEST(ProfileNumber, BoolLoadFromTextGoesThroughTheConverter) {
  VReportMessageParams error;
  VProfile<bool> flag(u"Flag", false);
  YesNoConverter converter;
  EXPECT_TRUE(flag.LoadFromText(u"yes", &converter, error));
  EXPECT_TRUE(flag.current);
  EXPECT_FALSE(flag.LoadFromText(u"1", &converter, error));
  EXPECT_EQ(error.GetMessageId(), 0xE1040099u);  // the converter's own failure is kept
  EXPECT_TRUE(flag.LoadFromText(u"false", nullptr, error));  // the default converter
  EXPECT_FALSE(flag.current);
  EXPECT_FALSE(flag.LoadFromText(u"maybe", nullptr, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionFailed);
}

TEST(ProfileNumber, VariantsUseTheTypesOfTheTable) {
  VReportMessageParams error;
  VVariant v;
  VProfile<bool> flag(u"Flag", true);
  VProfile<unsigned char> u8(u"U8", 200);
  VProfile<short> s16(u"S16", -5);
  VProfile<unsigned short> u16(u"U16", 65535);
  VProfile<int> i32(u"I32", -1);
  VProfile<unsigned int> u32(u"U32", 1);
  VProfile<unsigned long> ul(u"UL", 1);
  VProfile<VTriState> tri(u"Tri", TriStateOn);
  const std::pair<VProfileData*, VVarType> kinds[] = {
      {&flag, VT_BOOL}, {&u8, VT_I1},  {&s16, VT_I2}, {&u16, VT_UI2},
      {&i32, VT_UI4},   {&u32, VT_UI4}, {&ul, VT_UI4}, {&tri, VT_BOOL}};
  for (auto [value, vt] : kinds) {
    ASSERT_TRUE(value->ToVariant(v, error));
    EXPECT_EQ(v.vt, vt) << value->GetName().ToUtf8();
  }
  ASSERT_TRUE(flag.ToVariant(v, error));
  EXPECT_EQ(v.number, -1);
  ASSERT_TRUE(s16.ToVariant(v, error));
  EXPECT_EQ(v.number, -5);
  ASSERT_TRUE(i32.ToVariant(v, error));
  EXPECT_EQ(v.number, 0xFFFFFFFF);
  tri = TriStateNotSet;
  ASSERT_TRUE(tri.ToVariant(v, error));
  EXPECT_EQ(v.vt, VT_EMPTY);

  // Round trips, and values that fit by their bits.
  ASSERT_TRUE(u8.FromVariant(VVariant::Integer(VT_I1, -1), error));
  EXPECT_EQ(u8.current, 255);
  ASSERT_TRUE(i32.FromVariant(VVariant::Integer(VT_UI4, 0xFFFFFFFE), error));
  EXPECT_EQ(i32.current, -2);
  ASSERT_TRUE(flag.FromVariant(VVariant::Bool(false), error));
  EXPECT_FALSE(flag.current);
  ASSERT_TRUE(tri.FromVariant(VVariant::Bool(true), error));
  EXPECT_EQ(tri.current, TriStateOn);
  ASSERT_TRUE(tri.FromVariant(VVariant(), error));
  EXPECT_EQ(tri.current, TriStateNotSet);
  ASSERT_TRUE(s16.FromVariant(VVariant::String(u"0x10"), error));
  EXPECT_EQ(s16.current, 16);

  // What does not fit fails with the value's name and leaves it as it was.
  EXPECT_FALSE(s16.FromVariant(VVariant::Integer(VT_I4, 70000), error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionFailed);
  EXPECT_EQ(error.GetInserts()[0], u"S16");
  EXPECT_EQ(s16.current, 16);
  EXPECT_FALSE(tri.FromVariant(VVariant::Integer(VT_I4, 3), error));
  EXPECT_FALSE(i32.FromVariant(VVariant::String(u"twelve"), error));
}

TEST(ProfileNumber, StreamsAreNotSupported) {
  VReportMessageParams error;
  VProfile<int> value(u"Value", 1);
  class NullStream : public IProfileValueStream {
   public:
    bool Write(const VVariant&) override { return true; }
    bool Read(VVariant&) override { return true; }
  } stream;
  EXPECT_FALSE(value.WriteToStream(stream, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionNotSupported);
  EXPECT_EQ(error.GetInserts()[0], u"Value");
}

TEST(ProfileNumber, SetFromTextChecksTheRangeOfTheType) {
  VReportMessageParams error;
  VProfile<unsigned char> u8(u"Alpha", 0);
  EXPECT_TRUE(u8.SetFromText(u"0xff", error));
  EXPECT_EQ(u8.current, 255);
  EXPECT_FALSE(u8.SetFromText(u"256", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingNumber);
  EXPECT_EQ(error.GetInserts()[0], u"Alpha");
  EXPECT_EQ(error.GetInserts()[1], u"256");
  EXPECT_EQ(error.GetInserts()[2], u"0");
  EXPECT_EQ(error.GetInserts()[3], u"255");
  EXPECT_FALSE(u8.SetFromText(u"-1", error));
  EXPECT_EQ(u8.current, 255);

  VProfile<int> i32(u"Color", 0);
  EXPECT_TRUE(i32.SetFromText(u"0xFFFFFFFF", error));
  EXPECT_EQ(i32.current, -1);
  EXPECT_TRUE(i32.SetFromText(u"-2147483648", error));
  EXPECT_FALSE(i32.SetFromText(u"2147483648", error));
  EXPECT_FALSE(i32.SetFromText(u"0x100000000", error));
  EXPECT_FALSE(i32.SetFromText(u"12 ", error));
  EXPECT_FALSE(i32.SetFromText(u"", error));

  VProfile<bool> flag(u"Flag", false);
  EXPECT_TRUE(flag.SetFromText(u"TRUE", error));
  EXPECT_TRUE(flag.current);
  EXPECT_TRUE(flag.SetFromText(u"0", error));
  EXPECT_FALSE(flag.current);
  EXPECT_FALSE(flag.SetFromText(u"2", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingBool);

  VProfile<VTriState> tri(u"Tri", TriStateOff);
  EXPECT_TRUE(tri.SetFromText(u"2", error));
  EXPECT_EQ(tri.current, TriStateNotSet);
  EXPECT_FALSE(tri.SetFromText(u"3", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingTriState);
  // The message reads as a sentence naming the setting and the text.
  EXPECT_NE(error.GetTextTrimmed().find(u"'Tri'"), VUnicodeString::npos);
}

}  // namespace
