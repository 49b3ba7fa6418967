// The smaller pieces of the global configuration: the printer's serial port with its prefixed
// names and flow-control defaults, the docking state text, and the desktop answers behind some
// defaults.
#include <gtest/gtest.h>

#include "config/parts/dock_window_state.h"
#include "config/parts/printer_config.h"
#include "platform/desktop_settings.h"
#include "storage/ini_folder.h"

namespace {

TEST(PrinterPort, NamesCarryThePrefixAndFlowControlFollowsTheFlowFlags) {
  IniFolder folder;
  folder.WriteLines("Session", "D:\"Printer CTS Flow\"=00000001\r\nD:\"Printer DSR Flow\"=00000000\r\n"
                               "D:\"Printer DTR Flow Control\"=00000000\r\nS:\"Printer Port\"=/dev/ttyS1\r\n");
  PrinterConfig printer;
  folder.WithKey(u"Session", [&](VProfileKey& key) { printer.Load(&key, 3); }, true);
  const VSerialDeviceConfig& port = printer.printerPort;
  EXPECT_EQ(port.rtsFlowControl.current, 2);  // absent: hardware handshake, as CTS flow is on
  EXPECT_EQ(port.dtrFlowControl.current, 0);  // stored
  EXPECT_EQ(port.port, u"/dev/ttyS1");
  EXPECT_EQ(port.baudRate.GetName(), u"Printer Baud Rate");
  EXPECT_EQ(port.port.GetName(), u"Printer Port");
  EXPECT_EQ(printer.FindMember(u"printer name of pipe"), &printer.printerPort.nameOfPipe);

  folder.WithKey(u"Session", [&](VProfileKey& key) { EXPECT_TRUE(printer.Save(key, false)); });
  std::string lines = folder.Lines("Session");
  EXPECT_NE(lines.find("D:\"Printer RTS Flow Control\"=00000002\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Paper Source\"=00000007\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Printer Quality\"=fffffffd\r\n"), std::string::npos);
  EXPECT_NE(lines.find("B:\"Page Margins\"=00000020\r\n 00 00 00 00 00 00 e0 3f 00 00 00 00 00 00 "
                       "e0 3f"),
            std::string::npos);
  EXPECT_EQ(lines.find("D:\"Baud Rate\""), std::string::npos);
}

TEST(DockWindowState, TextFormReadsBackAndRefusesWhatItCannotMean) {
  VDockWindowStateFields state;
  ASSERT_TRUE(VDockWindowStateFields::Parse(u" 2,0,3,250,-1,2,3,4", state));
  EXPECT_TRUE(state.visible);
  EXPECT_EQ(state.side, VDockWindowStateFields::kBottom);
  EXPECT_EQ(state.left, -1);
  EXPECT_EQ(state.Format(), u"1,0,3,250,-1,2,3,4");
  for (const char16_t* bad : {u"", u"1,0,0,0,0,0,0", u"1,0,4,0,0,0,0,0", u"1,0,0,0,0,0,0,0,0",
                              u"1;0;0;0;0;0;0;0", u"1,0,0,0,0,0,0,0x"})
    EXPECT_FALSE(VDockWindowStateFields::Parse(bad, state)) << vtext::ToUtf8(bad);
  EXPECT_EQ(VDockWindowStateFields().Format(), u"1,0,0,0,0,0,0,0");
}

TEST(DesktopSettings, KeyboardLayoutAndTemporaryFolder) {
  EXPECT_EQ(vdesktop::LayoutFromKeyboardDefaults("XKBMODEL=\"pc105\"\nXKBLAYOUT=\"gb,de\"\n"), "gb");
  EXPECT_EQ(vdesktop::LayoutFromKeyboardDefaults("XKBLAYOUT=de # comment\n"), "de");
  EXPECT_EQ(vdesktop::LayoutFromKeyboardDefaults("XKBLAYOUT=\"us\"\nXKBLAYOUT='fr(oss)'\n"), "fr");
  EXPECT_EQ(vdesktop::LayoutFromKeyboardDefaults("XKBLAYOUT=us de\n"), "us");  // one word
  EXPECT_EQ(vdesktop::LayoutFromKeyboardDefaults("XKBLAYOUTS=\"us\"\nXKBLAYOUT=\"de\n"), "");
  EXPECT_TRUE(vdesktop::IsEnglishLayout("us"));
  EXPECT_TRUE(vdesktop::IsEnglishLayout("GB(extd),de"));
  EXPECT_FALSE(vdesktop::IsEnglishLayout("de,us"));
  EXPECT_FALSE(vdesktop::IsEnglishLayout(""));

  qtest::ScopedEnv layout("XKB_DEFAULT_LAYOUT", " ie ,us");
  EXPECT_EQ(vdesktop::KeyboardLayout(), "ie");
  {
    qtest::ScopedEnv temporary("TMPDIR", "/var/tmp/x");
    EXPECT_EQ(vdesktop::TemporaryFolder(), u"/var/tmp/x");
  }
  qtest::ScopedEnv none("TMPDIR", nullptr);
  EXPECT_EQ(vdesktop::TemporaryFolder(), u"/tmp");
}

}  // namespace
