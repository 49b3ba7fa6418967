// Numbers and counts of value files are eight hexadecimal digits, read all at once. They must
// read as digit by digit would, in either case, and any other character must be refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "storage/ini/ini_entry_scan.h"
#include "storage/ini/ini_value_map.h"

namespace {

bool Reference(const std::string& text, uint32_t& value) {
  if (text.size() != 8) return false;
  uint32_t out = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9' ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0) return false;
    out = out << 4 | static_cast<uint32_t>(digit);
  }
  value = out;
  return true;
}

TEST(IniNumberScan, EightDigitsReadAsTheirValueInEitherCase) {
  const uint32_t samples[] = {0, 1, 0xF, 0x10, 0x16, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                              0x12345678, 0x9ABCDEF0, 0x0A0B0C0D, 0xDEADBEEF};
  for (uint32_t sample : samples) {
    for (const char* format : {"%08x", "%08X"}) {
      char text[16];
      std::snprintf(text, sizeof text, format, sample);
      uint32_t value = 0;
      ASSERT_TRUE(ini_scan_detail::ParseHex8(text, value)) << text;
      EXPECT_EQ(value, sample) << text;
    }
  }
  uint32_t value = 0;
  EXPECT_TRUE(ini_scan_detail::ParseHex8("aBcDeF09", value));
  EXPECT_EQ(value, 0xABCDEF09u);
}

TEST(IniNumberScan, AnyOtherCharacterAtAnyPlaceIsRefused) {
  // The neighbours of every digit range, a blank, a sign, and bytes above 0x7f.
  const char others[] = {'/', ':', '@', 'G', '`', 'g', ' ', '-', '+', 'x', '\0', '\x80',
                         '\xC3', '\xFF', '\x7F', '\x10'};
  for (int place = 0; place < 8; ++place) {
    for (char other : others) {
      std::string text = "0123abCD";
      text[static_cast<size_t>(place)] = other;
      uint32_t value = 77;
      uint32_t expected = 0;
      ASSERT_FALSE(Reference(text, expected));
      EXPECT_FALSE(ini_scan_detail::ParseHex8(text, value)) << place << " " << int(other);
      EXPECT_EQ(value, 77u);
    }
  }
  uint32_t value = 0;
  EXPECT_FALSE(ini_scan_detail::ParseHex8("0000001", value));
  EXPECT_FALSE(ini_scan_detail::ParseHex8("000000001", value));
}

TEST(IniNumberScan, EveryDigitPairAtEveryPlaceReadsAsDigitByDigit) {
  const std::string digits = "0123456789abcdefABCDEF";
  for (int place = 0; place < 8; place += 2) {
    for (char high : digits) {
      for (char low : digits) {
        std::string text = "5a5A5a5A";
        text[static_cast<size_t>(place)] = high;
        text[static_cast<size_t>(place) + 1] = low;
        uint32_t expected = 0;
        uint32_t value = 0;
        ASSERT_TRUE(Reference(text, expected));
        ASSERT_TRUE(ini_scan_detail::ParseHex8(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
      }
    }
  }
}

TEST(IniNumberScan, AFileReadsItsNumbersAndStopsAtABadOne) {
  VIniValueMap map;
  map.AddFile("D:\"One\"=0000ABCD\r\nD:\"Two\"=ffffffff\r\nD:\"Bad\"=0000000g\r\nD:\"After\"=00000001\r\n");
  uint32_t value = 0;
  EXPECT_TRUE(map.ReadDword(u"One", value));
  EXPECT_EQ(value, 0xABCDu);
  EXPECT_TRUE(map.ReadDword(u"Two", value));
  EXPECT_EQ(value, 0xFFFFFFFFu);
  EXPECT_FALSE(map.ReadDword(u"Bad", value));
  EXPECT_FALSE(map.ReadDword(u"After", value));
}

}  // namespace
