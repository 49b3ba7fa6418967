// Time stamps kept as text: the calendar conversion, the text form, its ranges, and the setting.
#include <gtest/gtest.h>

#include "ini_folder.h"
#include "storage/values/profile_time.h"
#include "storage/values/setting_text.h"

namespace {

VFileTime Parse(const char16_t* text) {
  VFileTime time = VFileTime::FromTicks(12345);
  EXPECT_TRUE(VParseTimeText(text, time)) << vtext::ToUtf8(text);
  return time;
}

bool Refused(const char16_t* text) {
  VFileTime time = VFileTime::FromTicks(12345);
  bool parsed = VParseTimeText(text, time);
  EXPECT_EQ(time.Ticks(), 12345u) << "a refused text must leave the time as it was";
  return !parsed;
}

TEST(FileTime, KnownMoments) {
  EXPECT_EQ(Parse(u"1601:01:01:00:00:00:000").Ticks(), 0u);
  VUnicodeString text;
  ASSERT_TRUE(VFormatTimeText(VFileTime{}, text));
  EXPECT_EQ(text, u"1601:01:01:00:00:00:000");
  // 1970-01-01 is 11644473600 seconds after 1601-01-01.
  EXPECT_EQ(Parse(u"1970:01:01:00:00:00:000").Ticks(), 116444736000000000u);
  VFileTime moment = Parse(u"2020:01:31:08:05:09:250");
  EXPECT_EQ(moment.Ticks(), 116444736000000000u + (1580457909ull * 1000 + 250) * 10000);
  ASSERT_TRUE(VFormatTimeText(moment, text));
  EXPECT_EQ(text, u"2020:01:31:08:05:09:250");
  EXPECT_EQ(Parse(u"2024:02:29:23:59:59:999").Ticks() + 10000,
            Parse(u"2024:03:01:00:00:00:000").Ticks());
  EXPECT_EQ(Parse(u"30827:12:31:23:59:59:999").Ticks(), 0x7FFF35F4F06C58F0u);
  EXPECT_EQ(Parse(u"2018:1:1:0:0:0:5").Ticks(), Parse(u"2018:01:01:00:00:00:005").Ticks());
  EXPECT_GT(VFileTime::Now().Ticks(), Parse(u"2020:01:01:00:00:00:000").Ticks());
}

TEST(FileTime, ExactlySevenNumbersEachInItsRange) {
  for (const char16_t* text :
       {u"2018:13:01:00:00:00:000", u"2018:00:01:00:00:00:000", u"2018:01:00:00:00:00:000",
        u"2018:01:32:00:00:00:000", u"2018:02:29:00:00:00:000",  // not a leap year
        u"1900:02:29:00:00:00:000", u"2018:01:01:24:00:00:000", u"2018:01:01:00:60:00:000",
        u"2018:01:01:00:00:60:000", u"2018:01:01:00:00:00:1000", u"1600:12:31:23:59:59:999",
        u"30828:01:01:00:00:00:000", u"", u"2018:01:01:00:00:00", u"2018:01:01:00:00:00:000:0",
        u"2018:01:01:00:00:00:", u"2018:01:01:00:00::000", u"2018:01:01:00:00:00:-1",
        u" 2018:01:01:00:00:00:000", u"2018:01:01:00:00:00:000 ",
        u"2018:01:01:00:00:00:0000000000001"})
    EXPECT_TRUE(Refused(text)) << vtext::ToUtf8(text);
}

TEST(FileTime, TimesBeyondTheLastYearHaveNoText) {
  VUnicodeString text;
  EXPECT_FALSE(VFormatTimeText(VFileTime::FromTicks(0x8000000000000000u), text));
  EXPECT_FALSE(VFormatTimeText(VFileTime::FromTicks(UINT64_MAX), text));
  VSystemTime fields;
  EXPECT_FALSE(VFileTimeToSystemTime(VFileTime::FromTicks(UINT64_MAX), fields));
}

TEST(ProfileTime, StoredAsTextAndUnreadableTextIsAbsent) {
  IniFolder folder;
  folder.WriteLines("Test",
                    "S:\"Good\"=2021:06:15:12:30:00:500\r\nS:\"Bad\"=2018:13:01:00:00:00:000\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileTime good(u"Good", {});
    VProfileTime bad(u"Bad", VFileTime::FromTicks(42));
    EXPECT_TRUE(good.Load(&key));
    EXPECT_EQ(good.Current().Ticks(), Parse(u"2021:06:15:12:30:00:500").Ticks());
    EXPECT_FALSE(bad.Load(&key));
    EXPECT_EQ(bad.Current().Ticks(), 42u);
    EXPECT_TRUE(bad.IsWritePending());
    EXPECT_TRUE(good.Save(key, false));
    EXPECT_TRUE(bad.Save(key, false));  // the default replaces the unreadable text
  });
  EXPECT_EQ(folder.Lines("Test"),
            "S:\"Good\"=2021:06:15:12:30:00:500\r\nS:\"Bad\"=1601:01:01:00:00:00:000\r\n");
}

TEST(ProfileTime, ATimeWithoutTextIsNotWritten) {
  IniFolder folder;
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileTime late(u"Late", VFileTime::FromTicks(UINT64_MAX));
    late.Load(&key);
    EXPECT_FALSE(late.Save(key, true));
    EXPECT_TRUE(late.IsWritePending());
    VStoredValue stored;
    EXPECT_FALSE(late.GetStoredValue(stored));
  });
  EXPECT_FALSE(folder.HasFile("Test"));
}

TEST(ProfileTime, SettingText) {
  VReportMessageParams error;
  VProfileTime time(u"Last Run", {});
  EXPECT_TRUE(time.SetFromText(u"2000:01:01:00:00:00:000", error));
  VStoredValue stored;
  ASSERT_TRUE(time.GetStoredValue(stored));
  EXPECT_EQ(stored, VStoredValue::String(u"2000:01:01:00:00:00:000"));
  EXPECT_FALSE(time.SetFromText(u"yesterday", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingTime);
  EXPECT_EQ(error.GetInserts()[0], u"Last Run");
  VVariant v;
  EXPECT_FALSE(time.ToVariant(v, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionNotSupported);
}

}  // namespace
