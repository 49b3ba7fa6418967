// Byte blocks as the store writes them are checked sixteen bytes at a time when a file is
// scanned. Blocks of every length around those steps must read whole, and a damaged character
// anywhere in them must end the file's entries there, as the character-by-character check does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_folder.h"
#include "storage/ini_value_map.h"

namespace {

std::vector<uint8_t> Bytes(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
  return bytes;
}

std::vector<uint8_t> Read(VIniValueMap& map, const char16_t* name) {
  VIniFileData* data = map.Find(name);
  if (!data) return {};
  VDword size = 0;
  EXPECT_TRUE(data->GetBinary(nullptr, size));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(data->GetBinary(bytes.data(), size));
  return bytes;
}

TEST(IniBlockCheck, WrittenBlocksOfEveryLengthReadWhole) {
  for (size_t count : {1, 15, 16, 17, 31, 32, 33, 47, 48, 64, 100, 257}) {
    SCOPED_TRACE(count);
    std::string block = IniFolder::BlockLines("Block", Bytes(count));
    // Upper-case digits are read alike.
    std::string upper = IniFolder::BlockLines("Upper", Bytes(count));
    for (size_t i = upper.find('\n'); i < upper.size(); ++i)
      if (upper[i] >= 'a' && upper[i] <= 'f') upper[i] = static_cast<char>(upper[i] - 32);
    VIniValueMap map;
    map.AddFile(block + upper + "D:\"After\"=00000002\r\n");
    EXPECT_EQ(Read(map, u"Block"), Bytes(count));
    EXPECT_EQ(Read(map, u"Upper"), Bytes(count));
    uint32_t after = 0;
    EXPECT_TRUE(map.ReadDword(u"After", after));
  }
}

TEST(IniBlockCheck, DamageAnywhereInAWrittenBlockEndsTheEntries) {
  const std::string block = IniFolder::BlockLines("Block", Bytes(40));
  const size_t body = block.find('\n') + 1;
  for (size_t at = body; at < block.size(); ++at) {
    if (block[at] == '\r' || block[at] == '\n') continue;
    for (char bad : {'g', 'G', '\xC3', '\0'}) {
      SCOPED_TRACE(testing::Message() << "position " << at << " byte " << int(bad));
      std::string damaged = block;
      damaged[at] = bad;
      VIniValueMap map;
      map.AddFile("D:\"Before\"=00000001\r\n" + damaged + "D:\"After\"=00000002\r\n");
      uint32_t value = 0;
      EXPECT_TRUE(map.ReadDword(u"Before", value));
      EXPECT_EQ(map.Find(u"Block"), nullptr);
      EXPECT_FALSE(map.ReadDword(u"After", value));
    }
  }
}

TEST(IniBlockCheck, BlanksOtherThanSpacesAreReadByTheGeneralRule) {
  // A tab where the store writes a blank still separates the digits; a digit where it writes a
  // blank runs two digits together and shifts the rest, which no longer pairs up.
  std::string block = IniFolder::BlockLines("Block", Bytes(20));
  size_t body = block.find('\n') + 1;
  std::string tabbed = block;
  tabbed[body + 21] = '\t';
  VIniValueMap map;
  map.AddFile(tabbed + "D:\"After\"=00000002\r\n");
  EXPECT_EQ(Read(map, u"Block"), Bytes(20));
  std::string joined = block;
  joined[body + 21] = '0';
  VIniValueMap broken;
  broken.AddFile(joined + "D:\"After\"=00000002\r\n");
  EXPECT_EQ(broken.Find(u"Block"), nullptr);
}

}  // namespace
