#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "environment/printer_cfg_file.h"
#include "environment/printer_messages.h"
#include "support/test_support.h"

namespace {

using qtest::TempDir;
using qtest::WriteFile;

constexpr char kFile[] =
    "; printers of the older versions\r\n"
    "Printer Name=desk\r\n"
    "Orientation=2\r\n"
    "Left Margin=0.75\r\n"
    "\r\n"
    "Printer Name=lab\r\n"
    "Paper Size=9\r\n"
    "Paper Source= 4 \r\n"
    "Top Margin=abc\r\n"
    "Bottom Margin=-2\r\n"
    "Right Margin=1.5\r\n"
    "Printer Font=120,-16,0,0,0,700,1,0,0,0,3,2,1,49,Mono, Wide\r\n"
    "[next]\r\n"
    "Orientation=1\r\n";

TEST(PrinterCfgFileTest, TheRecordOfThePrinterAndItsDefaults) {
  PrinterCfgRecord record;
  std::vector<VReportMessageParams> problems;
  ASSERT_TRUE(FindPrinterCfgRecord(kFile, u"desk", u"PRINTER.CFG", record, problems));
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(record.orientation, 2);
  EXPECT_FALSE(record.paperSize.has_value());
  EXPECT_EQ(record.margins, (VMarginData{0.75, 0.5, 0.5, 0.5}));
  VLogFont font = PrinterCfgDefaultFont();
  EXPECT_EQ(record.font.extra, 100u);
  EXPECT_EQ(record.font.height, -13);
  EXPECT_EQ(record.font.weight, 400);
  EXPECT_EQ(record.font.GetFaceName(), u"Courier");
  EXPECT_EQ(std::memcmp(&record.font, &font, sizeof(font)), 0);

  PrinterCfgRecord missing;
  EXPECT_FALSE(FindPrinterCfgRecord(kFile, u"nowhere", u"PRINTER.CFG", missing, problems));
  EXPECT_FALSE(FindPrinterCfgRecord(kFile, u"", u"PRINTER.CFG", missing, problems));
  EXPECT_TRUE(problems.empty());
}

TEST(PrinterCfgFileTest, ValuesThatCannotBeReadKeepTheirDefaultAndAreNamed) {
  PrinterCfgRecord record;
  std::vector<VReportMessageParams> problems;
  ASSERT_TRUE(FindPrinterCfgRecord(kFile, u"lab", u"PRINTER.CFG", record, problems));
  EXPECT_EQ(record.paperSize, 9);
  EXPECT_EQ(record.paperSource, 4);
  // The line after the header belongs to no record.
  EXPECT_FALSE(record.orientation.has_value());
  EXPECT_EQ(record.margins, (VMarginData{0.5, 1.5, 0.5, 0.5}));
  EXPECT_EQ(record.font.extra, 120u);
  EXPECT_EQ(record.font.italic, 1);
  EXPECT_EQ(record.font.pitchAndFamily, 49);
  EXPECT_EQ(record.font.GetFaceName(), u"Mono, Wide");
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].GetTextOneLineTrimmed(),
            u"Line 9 of 'PRINTER.CFG': 'abc' is not a valid value for \"Top Margin\"; the default is used.");
  EXPECT_EQ(problems[1].GetInserts()[3], u"Bottom Margin");

  problems.clear();
  std::string badFont = "Printer Name=x\nPrinter Font=100,-13,0,0,0,400,0,0,0,0,0,0,0,Courier\n";
  ASSERT_TRUE(FindPrinterCfgRecord(badFont, u"x", u"f", record, problems));
  EXPECT_EQ(problems.size(), 1u);
  EXPECT_EQ(record.font.GetFaceName(), u"Courier");
}

TEST(PrinterCfgFileTest, ReadFromTheConfigurationFolder) {
  TempDir dir;
  PrinterCfgRecord record;
  std::vector<VReportMessageParams> problems;
  EXPECT_FALSE(ReadPrinterCfgRecord(dir.Path(), u"desk", record, problems));
  EXPECT_TRUE(problems.empty());
  WriteFile(dir.Path() + "/PRINTER.CFG", kFile);
  EXPECT_TRUE(ReadPrinterCfgRecord(dir.Path(), u"desk", record, problems));
  EXPECT_EQ(record.orientation, 2);
  // A folder in its place cannot be read, and says so.
  TempDir other;
  ASSERT_EQ(mkdir((other.Path() + "/PRINTER.CFG").c_str(), 0700), 0);
  EXPECT_FALSE(ReadPrinterCfgRecord(other.Path(), u"desk", record, problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].GetMessageId(), printer_messages::kPrinterFileUnreadable);
}

}  // namespace

namespace {

TEST(PrinterCfgFileTest, AFaceNameThatIsNotPrintableTextIsRefused) {
  for (std::string face : {std::string("x\ty", 3), std::string("\0Cx", 3), std::string("\xdd\xdd", 2)}) {
    std::string text = "Printer Name=x\nPrinter Font=100,-13,0,0,0,400,0,0,0,0,0,0,0,0," + face + "\n";
    PrinterCfgRecord record;
    std::vector<VReportMessageParams> problems;
    ASSERT_TRUE(FindPrinterCfgRecord(text, u"x", u"f", record, problems));
    EXPECT_EQ(problems.size(), 1u);
    EXPECT_EQ(record.font.GetFaceName(), u"Courier");
  }
}

}  // namespace
