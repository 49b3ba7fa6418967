// Sibling detection reads the version note of real executables built beside the tests.
#include <gtest/gtest.h>

#include "environment/installed_products.h"
#include "environment/products.h"
#include "platform/version_note.h"
#include "support/test_support.h"

namespace {

std::string Siblings(const std::string& folder) {
  return std::string(QUILLANE_BINARY_DIR) + "/siblings/" + folder;
}

TEST(InstalledProducts, ReadsTheVersionNoteOfExecutables) {
  VFileVersionInfo info;
  ASSERT_TRUE(VReadFileVersionInfo(Siblings("pair") + "/Karvell", info));
  EXPECT_EQ(info.fileType, kFileTypeApplication);
  EXPECT_EQ(info.version[0], 9);
  EXPECT_EQ(info.version[3], 4);
  EXPECT_EQ(info.companyName, "Tolvane Software, Inc.");
  EXPECT_TRUE(VReadFileVersionInfo(QUILLANE_CLI_PATH, info));
  EXPECT_FALSE(VReadFileVersionInfo(Siblings("other") + "/Lumbrel", info));  // no note
  EXPECT_FALSE(VReadFileVersionInfo(Siblings("none") + "/Karvell", info));   // no file
  qtest::TempDir dir;
  qtest::WriteFile(dir / "text", "#!/bin/sh\necho not an executable of ours\n");
  EXPECT_FALSE(VReadFileVersionInfo(dir / "text", info));
}

TEST(InstalledProducts, NeedsTheMakerAndTheMinimumVersion) {
  SetDerivedAppProductID(kProductKarvell);
  DetectInstalledProducts(Siblings("pair"));
  EXPECT_TRUE(IsKarvellInstalled());
  EXPECT_TRUE(IsLumbrelInstalled());
  EXPECT_TRUE(IsOstrelInstalled());
  EXPECT_EQ(GetKarvellPath().ToUtf8(), Siblings("pair") + "/Karvell");
  VUnicodeString other;
  EXPECT_TRUE(IsIntegrated(other));
  EXPECT_EQ(other, u"Lumbrel");
  SetDerivedAppProductID(kProductLumbrel);
  EXPECT_TRUE(IsIntegrated(other));
  EXPECT_EQ(other, u"Karvell");
  SetDerivedAppProductID(kProductSkellan);
  EXPECT_FALSE(IsIntegrated());

  SetDerivedAppProductID(kProductKarvell);
  DetectInstalledProducts(Siblings("old"));  // major versions 4 and 2
  EXPECT_FALSE(IsKarvellInstalled());
  EXPECT_FALSE(IsLumbrelInstalled());
  EXPECT_FALSE(IsIntegrated());
  EXPECT_TRUE(GetKarvellPath().empty());

  DetectInstalledProducts(Siblings("other"));  // another company; a file without a note
  EXPECT_FALSE(IsKarvellInstalled());
  EXPECT_FALSE(IsLumbrelInstalled());
  EXPECT_FALSE(HasTerminalProtocols());

  // The host may say otherwise.
  SetKarvellInstalled(true);
  SetLumbrelInstalled(true);
  EXPECT_TRUE(IsIntegrated());
  EXPECT_TRUE(HasIntegratedProtocols());
  SetKarvellInstalled(false);
  EXPECT_FALSE(IsIntegrated());
  SetLumbrelInstalled(false);
}

TEST(Products, IdsFromNamesAndBack) {
  EXPECT_EQ(GetProductIdFromName(u"karvell"), 3);
  EXPECT_EQ(GetProductIdFromName(u"PYRREL"), 3);
  EXPECT_EQ(GetProductIdFromName(u"Lumbrel"), 6);
  EXPECT_EQ(GetProductIdFromName(u"Wyrmhold"), 8);
  EXPECT_EQ(GetProductIdFromName(u"Skellan"), 9);
  EXPECT_EQ(GetProductIdFromName(u"Ostrel"), -1);
  EXPECT_EQ(GetProductNameFromId(6), u"Lumbrel");
  EXPECT_EQ(GetProductNameFromId(1), u"");
  SetDerivedAppProductID(kProductSkellan);
  EXPECT_EQ(GetTransferAppProductID(), 9);
  SetDerivedAppProductID(kProductKarvell);
  EXPECT_EQ(GetTransferAppProductID(), 6);
}

}  // namespace
