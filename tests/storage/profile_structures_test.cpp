// Fixed structures kept as byte blocks: their little-endian layouts, blocks of other lengths, the
// font fallback to the older form, and byte blocks of any length.
#include <gtest/gtest.h>

#include <cstring>

#include "ini_folder.h"
#include "storage/model/byte_order.h"
#include "storage/values/profile_blob.h"
#include "storage/values/profile_structures.h"
#include "storage/values/setting_text.h"

namespace {

std::string BlockLine(const std::string& name, const std::vector<uint8_t>& bytes) {
  return IniFolder::BlockLines(name, bytes);
}

VLogFont CourierNew() {
  VLogFont font;
  font.height = -13;
  font.weight = 400;
  font.charSet = 1;
  font.pitchAndFamily = 0x31;
  font.SetFaceName(u"Courier New");
  font.extra = 0x11223344;
  return font;
}

TEST(StoredStructures, LayoutsAreLittleEndianWithTheirWindowsSizes) {
  uint8_t font[96];
  CourierNew().ToBytes(font);
  EXPECT_EQ(vle::GetI32(font), -13);
  EXPECT_EQ(vle::Get32(font + 16), 400u);
  EXPECT_EQ(font[23], 1);      // character set
  EXPECT_EQ(font[27], 0x31);   // pitch and family
  EXPECT_EQ(vle::Get16(font + 28), u'C');
  EXPECT_EQ(vle::Get16(font + 28 + 2 * 10), u'w');
  EXPECT_EQ(vle::Get16(font + 28 + 2 * 11), 0);
  EXPECT_EQ(vle::Get32(font + 92), 0x11223344u);
  VLogFont back;
  back.FromBytes(font);
  EXPECT_EQ(back, CourierNew());

  VWindowPlacement placement;
  placement.length = 44;
  placement.showCmd = 1;
  placement.normalLeft = -8;
  placement.normalBottom = 600;
  uint8_t p[44];
  placement.ToBytes(p);
  EXPECT_EQ(vle::Get32(p), 44u);
  EXPECT_EQ(vle::Get32(p + 8), 1u);
  EXPECT_EQ(vle::GetI32(p + 28), -8);
  EXPECT_EQ(vle::GetI32(p + 40), 600);

  VMarginData margins{0.5, 0.25, 1.0, 2.0};
  uint8_t m[32];
  margins.ToBytes(m);
  EXPECT_EQ(vle::Get64(m), 0x3FE0000000000000u);       // 0.5, the left margin first
  EXPECT_EQ(vle::Get64(m + 8), 0x3FD0000000000000u);   // then right (0.25)
  EXPECT_EQ(vle::Get64(m + 24), 0x4000000000000000u);  // and bottom (2.0) last

  CustomColors colors;
  colors.colors[0] = 0x0000A0u;  // 0x00BBGGRR: a dark red
  colors.colors[15] = 0xFFFFFF;
  uint8_t c[64];
  colors.ToBytes(c);
  EXPECT_EQ(c[0], 0xA0);  // red in the low byte
  EXPECT_EQ(vle::Get32(c + 60), 0xFFFFFFu);
  static_assert(ColorScheme::kStoredSize == 68);
}

TEST(StoredStructures, AStructureIsWrittenAsItsBytes) {
  IniFolder folder;
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileCustomColors colors(u"Custom Colors", {});
    colors.Load(&key);
    for (auto& color : colors.Current().colors) color = 0xFFFFFF;
    EXPECT_TRUE(colors.Save(key, false));
  });
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 16; ++i) bytes.insert(bytes.end(), {0xff, 0xff, 0xff, 0x00});
  EXPECT_EQ(folder.Lines("Test"), BlockLine("Custom Colors", bytes));
}

TEST(StoredStructures, LongerBlocksAreRefusedAndShorterOnesFillTheBeginning) {
  IniFolder folder;
  std::vector<uint8_t> longer(45, 1);
  std::vector<uint8_t> shorter = {44, 0, 0, 0, 2, 0, 0, 0};
  folder.WriteLines("Test", BlockLine("Too Long", longer) + BlockLine("Short", shorter) +
                                "S:\"Text\"=not a block\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VWindowPlacement start;
    start.showCmd = 3;
    start.normalRight = 77;
    VProfileWindowPlacement tooLong(u"Too Long", start);
    VProfileWindowPlacement shortOne(u"Short", start);
    VProfileWindowPlacement text(u"Text", start);
    EXPECT_FALSE(tooLong.Load(&key));
    EXPECT_TRUE(tooLong.IsWritePending());
    EXPECT_EQ(tooLong.Current(), start);
    EXPECT_TRUE(shortOne.Load(&key));
    EXPECT_EQ(shortOne.Current().length, 44u);
    EXPECT_EQ(shortOne.Current().flags, 2u);
    EXPECT_EQ(shortOne.Current().showCmd, 3u);       // beyond the stored bytes: as it was
    EXPECT_EQ(shortOne.Current().normalRight, 77);
    EXPECT_FALSE(text.Load(&key));  // another kind counts as absent
  }, true);
}

TEST(StoredStructures, PlacementsCompareAllElevenFields) {
  VProfileWindowPlacement placement(u"Window Placement", {});
  for (int field = 0; field < 11; ++field) {
    uint8_t bytes[44] = {};
    vle::Put32(bytes + 4 * field, 1);
    VWindowPlacement changed;
    changed.FromBytes(bytes);
    placement = changed;
    EXPECT_TRUE(placement.IsModified()) << field;
    placement.Revert();
    EXPECT_FALSE(placement.IsModified());
  }
}

TEST(StoredStructures, FontFallsBackToTheOlderFormWithItsFaceNameWidened) {
  std::vector<uint8_t> older(64, 0);
  vle::PutI32(older.data(), -13);
  vle::PutI32(older.data() + 16, 700);
  older[23] = 1;
  older[27] = 0x31;
  std::memcpy(older.data() + 28, "Lucida Console", 14);
  vle::Put32(older.data() + 60, 0x11223344);
  IniFolder folder;
  folder.WriteLines("Test", BlockLine("Normal Font", older));
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileLogFont font(u"Normal Font v2", {});
    EXPECT_TRUE(font.Load(&key));
    EXPECT_EQ(font.Current().height, -13);
    EXPECT_EQ(font.Current().weight, 700);
    EXPECT_EQ(font.Current().charSet, 1);
    EXPECT_EQ(font.Current().pitchAndFamily, 0x31);
    EXPECT_EQ(font.Current().GetFaceName(), u"Lucida Console");
    EXPECT_EQ(font.Current().extra, 0x11223344u);
    // Taken from the older form: the current form is written at the next save.
    EXPECT_TRUE(font.IsWritePending());
    EXPECT_TRUE(font.Save(key, false));
  });
  std::string lines = folder.Lines("Test");
  EXPECT_NE(lines.find("B:\"Normal Font\"=00000040\r\n"), std::string::npos);  // kept
  EXPECT_NE(lines.find("B:\"Normal Font v2\"=00000060\r\n"), std::string::npos);
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileLogFont font(u"Normal Font v2", {});
    EXPECT_TRUE(font.Load(&key));
    EXPECT_FALSE(font.IsWritePending());
    EXPECT_EQ(font.Current().GetFaceName(), u"Lucida Console");
  }, true);
}

TEST(StoredStructures, FontWithoutEitherFormIsAbsent) {
  IniFolder folder;
  folder.WriteLines("Test", BlockLine("Printer Font", std::vector<uint8_t>(64, 0x41)));
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileLogFont current(u"Narrow Font v2", CourierNew());
    EXPECT_FALSE(current.Load(&key));
    EXPECT_EQ(current.Current(), CourierNew());
    // Only names with " v2" have an older form.
    VProfileLogFont plain(u"Printer Font", CourierNew());
    EXPECT_TRUE(plain.Load(&key));  // a 64-byte block fills the beginning of the 96
    EXPECT_EQ(plain.Current().extra, 0x11223344u);
  }, true);
  // An 8-bit face name of Windows-1252 text and a face name that fills the whole field.
  std::vector<uint8_t> older(64, 0);
  std::memcpy(older.data() + 28, "Caf\xe9", 4);
  VLogFont widened = VLogFont::FromLegacyBytes(older.data());
  EXPECT_EQ(widened.GetFaceName(), u"Caf\u00e9");
  std::memset(older.data() + 28, 'x', 32);
  EXPECT_EQ(VLogFont::FromLegacyBytes(older.data()).GetFaceName().size(), 31u);
}

TEST(StoredStructures, SettingTextIsTheExactNumberOfBytes) {
  VReportMessageParams error;
  VProfileMargins margins(u"Page Margins", {});
  VMarginData half{0.5, 0.5, 0.5, 0.5};
  uint8_t bytes[32];
  half.ToBytes(bytes);
  VUnicodeString text = VFormatSettingBytes(bytes, 32);
  EXPECT_TRUE(margins.SetFromText(text, error));
  EXPECT_EQ(margins.Current(), half);
  EXPECT_FALSE(margins.SetFromText(text.substr(2), error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingFixedBytes);
  EXPECT_EQ(error.GetInserts()[2], u"32");
  VStoredValue stored;
  ASSERT_TRUE(margins.GetStoredValue(stored));
  EXPECT_EQ(stored.type, kProfileTypeBinary);
  EXPECT_EQ(stored.bytes, std::vector<uint8_t>(bytes, bytes + 32));
  VVariant v;
  EXPECT_FALSE(margins.ToVariant(v, error));
  EXPECT_EQ(error.GetMessageId(), kMsgConversionNotSupported);
  EXPECT_EQ(error.GetInserts()[0], u"Page Margins");
}

TEST(ProfileBlob, AnyLengthComparesAndRoundTrips) {
  IniFolder folder;
  std::vector<uint8_t> bytes(70);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  folder.WithKey(u"Test", [&](VProfileKey& key) {
    VProfileBlob blob(u"Data");
    blob.Load(&key);
    blob.current = bytes;
    EXPECT_TRUE(blob.IsModified());
    EXPECT_TRUE(blob.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), BlockLine("Data", bytes));
  folder.WithKey(u"Test", [&](VProfileKey& key) {
    VProfileBlob blob(u"Data");
    EXPECT_TRUE(blob.Load(&key));
    EXPECT_EQ(blob.current, bytes);
    blob.current.back() ^= 1;
    EXPECT_TRUE(blob.IsModified());
    blob.current.back() ^= 1;
    blob.current.push_back(0);
    EXPECT_TRUE(blob.IsModified());  // the length counts too
  }, true);
}

TEST(ProfileBlob, EmptyingAStoredBlockRemovesIt) {
  IniFolder folder;
  folder.WriteLines("Test", BlockLine("Data", {1, 2, 3}) + "D:\"Marker\"=00000001\r\n");
  folder.WithKey(u"Test", [](VProfileKey& key) {
    VProfileBlob blob(u"Data");
    EXPECT_TRUE(blob.Load(&key));
    blob.current.clear();
    blob.Commit();  // even after a commit the emptied value must not come back
    EXPECT_TRUE(blob.Save(key, false));
  });
  EXPECT_EQ(folder.Lines("Test"), "D:\"Marker\"=00000001\r\n");
}

TEST(ProfileBlob, SettingTextIsHexadecimalBytes) {
  VReportMessageParams error;
  VProfileBlob blob(u"Data");
  EXPECT_TRUE(blob.SetFromText(u"00 ff 10", error));
  EXPECT_EQ(blob.current, (std::vector<uint8_t>{0, 255, 16}));
  EXPECT_FALSE(blob.SetFromText(u"0g", error));
  EXPECT_EQ(error.GetMessageId(), kMsgSettingBytes);
  EXPECT_FALSE(blob.SetFromText(u"0 0", error));
  EXPECT_EQ(blob.current.size(), 3u);
  VStoredValue stored;
  EXPECT_TRUE(blob.GetStoredValue(stored));
  blob.current.clear();
  EXPECT_FALSE(blob.GetStoredValue(stored));  // nothing would be written
}

}  // namespace
