// The shortcuts of the INI store's read path give what the general path gives: byte blocks laid
// out as the store writes them and laid out otherwise, names handed out one after another from a
// shared buffer, files read whole whatever their size, value files found by their extension in
// any case. Sub-keys answered from a listing are in ini_listing_hint_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_folder.h"
#include "storage/ini/ini_file_iterator.h"
#include "storage/ini/ini_value_map.h"

namespace {

std::vector<uint8_t> Bytes(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
  return bytes;
}

std::vector<uint8_t> Binary(VIniValueMap& map, const char16_t* name) {
  VIniFileData* data = map.Find(name);
  if (!data) return {};
  VDword size = 0;
  EXPECT_TRUE(data->GetBinary(nullptr, size));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(data->GetBinary(bytes.data(), size));
  return bytes;
}

TEST(IniReadShortcuts, ByteBlocksReadTheSameInEveryLayout) {
  VIniValueMap map;
  map.AddFile(
      "B:\"Written\"=00000005\r\n 00 7f 80 ff 0a\r\n"
      "B:\"Upper\"=00000003\r\n AB Cd eF\r\n"
      "B:\"Packed\"=00000004\r\n0102\r\n  0304\r\n"
      "B:\"Tabbed\"=00000003\r\n\t10 \t20\v30\r\n"
      "B:\"Mixed\"=00000004\r\n 01 0203\t04\r\n"
      "B:\"Lines\"=00000003\r\n 01\n 02\r 03\r\n"
      "B:\"Empty\"=00000000\r\n"
      "D:\"After\"=00000009\r\n");
  EXPECT_EQ(Binary(map, u"Written"), (std::vector<uint8_t>{0x00, 0x7f, 0x80, 0xff, 0x0a}));
  EXPECT_EQ(Binary(map, u"Upper"), (std::vector<uint8_t>{0xab, 0xcd, 0xef}));
  EXPECT_EQ(Binary(map, u"Packed"), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(Binary(map, u"Tabbed"), (std::vector<uint8_t>{0x10, 0x20, 0x30}));
  EXPECT_EQ(Binary(map, u"Mixed"), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(Binary(map, u"Lines"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_NE(map.Find(u"Empty"), nullptr);
  uint32_t after = 0;
  EXPECT_TRUE(map.ReadDword(u"After", after));
  EXPECT_EQ(after, 9u);
}

TEST(IniReadShortcuts, ADamagedByteBlockEndsTheFileWhereverTheDamageIs) {
  const char* damaged[] = {
      " 01 0g 03\r\n",     // a bad digit in the blank-separated layout
      " 01 02 03 04\r\n",  // more bytes than counted
      " 01 02 0\r\n",      // a digit missing at the end of the line
      " 01\r\n\r\n",       // a blank line before the count is reached
      " 01 02 \r\n",       // a trailing blank: one byte short, and the next line is the next entry
  };
  for (const char* body : damaged) {
    SCOPED_TRACE(body);
    VIniValueMap map;
    map.AddFile(std::string("D:\"Before\"=00000001\r\nB:\"Block\"=00000003\r\n") + body +
                "D:\"After\"=00000002\r\n");
    uint32_t value = 0;
    EXPECT_TRUE(map.ReadDword(u"Before", value));
    EXPECT_EQ(map.Find(u"Block"), nullptr);
    EXPECT_FALSE(map.ReadDword(u"After", value));
  }
}

// Byte blocks as the store writes them are checked sixteen bytes at a time when a file is
// scanned: blocks of every length around those steps must read whole, and a damaged character
// anywhere in them must end the file's entries there, as the character-by-character check does.
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
    EXPECT_EQ(Binary(map, u"Block"), Bytes(count));
    EXPECT_EQ(Binary(map, u"Upper"), Bytes(count));
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
  EXPECT_EQ(Binary(map, u"Block"), Bytes(20));
  std::string joined = block;
  joined[body + 21] = '0';
  VIniValueMap broken;
  broken.AddFile(joined + "D:\"After\"=00000002\r\n");
  EXPECT_EQ(broken.Find(u"Block"), nullptr);
}

TEST(IniReadShortcuts, NamesHandedOutInTurnKeepTheirOwnSpelling) {
  VIniValueMap map;
  map.AddFile(
      "D:\"A Rather Long Name For A Value\"=00000001\r\n"
      "S:\"Gr\xC3\xBC\xC3\x9F" "e\"=x\r\n"
      "D:\"b\"=00000002\r\n"
      "S:\"\xE6\x97\xA5\xE6\x9C\xAC Long Name After A Short One\"=y\r\n"
      "D:\"c\"=00000003\r\n");
  std::vector<std::pair<std::u16string, int>> names;
  map.ForEachName([&](const VUnicodeString& name, int type) { names.emplace_back(name, type); });
  std::vector<std::pair<std::u16string, int>> expected = {
      {u"A Rather Long Name For A Value", kProfileTypeDword},
      {u"Gr\u00fc\u00dfe", kProfileTypeString},
      {u"b", kProfileTypeDword},
      {u"\u65e5\u672c Long Name After A Short One", kProfileTypeString},
      {u"c", kProfileTypeDword}};
  EXPECT_EQ(names, expected);
  std::vector<std::u16string> written;
  map.ForEach([&](const VUnicodeString& name, VIniFileData&, bool) { written.push_back(name); });
  ASSERT_EQ(written.size(), expected.size());
  for (size_t i = 0; i < written.size(); ++i) EXPECT_EQ(written[i], expected[i].first);
}

TEST(IniReadShortcuts, StringsReadIntoAHeldStringReplaceItWhole) {
  VIniValueMap map;
  map.AddFile(
      "S:\"Short\"=ab\r\n"
      "S:\"Long\"=a long string of more than sixteen characters\r\n"
      "S:\"Wide\"=caf\xC3\xA9 au lait, and more than sixteen\r\n");
  VUnicodeString value(u"an earlier and much longer text than any read here");
  ASSERT_TRUE(map.ReadString(u"Short", value));
  EXPECT_EQ(value, u"ab");
  ASSERT_TRUE(map.ReadString(u"Long", value));
  EXPECT_EQ(value, u"a long string of more than sixteen characters");
  ASSERT_TRUE(map.ReadString(u"Wide", value));
  EXPECT_EQ(value, u"caf\u00e9 au lait, and more than sixteen");
  VUnicodeString secret(u"an older secret");
  secret.SetSensitive(true);
  ASSERT_TRUE(map.ReadString(u"Short", secret));
  EXPECT_EQ(secret, u"ab");
  EXPECT_TRUE(secret.IsSensitive());
}

TEST(IniReadShortcuts, FilesOfEverySizeAreReadWhole) {
  qtest::TempDir dir;
  for (size_t size : {size_t{0}, size_t{1}, size_t{16383}, size_t{16384}, size_t{16385},
                      size_t{40000}, size_t{70000}}) {
    SCOPED_TRACE(size);
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + size) % 251);
    std::string path = dir / ("file" + std::to_string(size));
    qtest::WriteFile(path, bytes);
    std::string read = "left over";
    ASSERT_TRUE(VTextFile::ReadLocked(path, read).ok());
    EXPECT_EQ(read, bytes);
  }
}

TEST(IniReadShortcuts, ValueFilesAreFoundByTheirExtensionInAnyCase) {
  qtest::TempDir dir;
  for (const char* name : {"upper.INI", "mixed.iNi", "plain.ini", "\xC3\xA9t\xC3\xA9.ini",
                           ".ini", "x.ini.bak", "y.in", "z.inx", "w\xC4\xB0.in\xC4\xB0"})
    qtest::WriteFile(dir / name, "\xEF\xBB\xBF");
  qtest::MakeDirs(dir / "sub");
  std::vector<std::pair<std::u16string, int>> found;
  for (const auto& entry : VIniFileKey::Iterator::ListSubKeys(dir.Path()))
    found.emplace_back(entry.name, entry.type);
  std::vector<std::pair<std::u16string, int>> expected = {{u"mixed", kProfileTypeFileKey},
                                                          {u"plain", kProfileTypeFileKey},
                                                          {u"sub", kProfileTypeFolderKey},
                                                          {u"upper", kProfileTypeFileKey},
                                                          {u"\u00e9t\u00e9", kProfileTypeFileKey}};
  EXPECT_EQ(found, expected);
}

}  // namespace
