// Reading settings files that the store did not write itself: other encodings, files edited by
// hand or by other tools, damaged files and hostile ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32_errors.h"
#include "storage/xml/xml_document.h"
#include "storage/xml/xml_file_key.h"
#include "storage/xml/xml_file_store.h"
#include "support/test_support.h"

namespace {

struct XmlStore {
  explicit XmlStore(const std::string& path, bool readOnly = false)
      : factory(U8(path)), store(readOnly, &factory) {}
  VProfileKey& Root() { return *store.GetRootKey(); }
  VXmlFileStoreFactory factory;
  VProfileStore store;
};

// Everything a store holds, as text, for comparing two readings of a file.
void Dump(const VProfileKey& key, const std::string& indent, std::string& out) {
  VProfileKeyIterator values(key, true);
  VUnicodeString name;
  int type = -1;
  while (values.Next(name, type)) {
    out += indent + std::to_string(type) + " " + name.ToUtf8() + " = ";
    if (type == kProfileTypeDword) {
      VDword number = 0;
      out += key.ReadDword(name.c_str(), number) ? std::to_string(number) : "?";
    } else if (type == kProfileTypeString) {
      VUnicodeString text;
      out += key.ReadString(name.c_str(), text) ? "[" + text.ToUtf8() + "]" : "?";
    } else if (type == kProfileTypeBinary) {
      VDword size = 0;
      out += key.ReadBinary(name.c_str(), nullptr, size) ? std::to_string(size) + " bytes" : "?";
    } else {
      VStringArray list;
      if (key.ReadMultiSz(name.c_str(), list)) {
        for (const auto& item : list) out += "[" + item.ToUtf8() + "]";
      } else {
        out += "?";
      }
    }
    out += "\n";
  }
  VProfileKeyIterator keys(key, false);
  while (keys.Next(name)) {
    out += indent + "key " + name.ToUtf8() + "\n";
    VProfileKey sub(key, name.c_str());
    Dump(sub, indent + "  ", out);
  }
}

std::string DumpFile(const std::string& path) {
  XmlStore xml(path, true);
  std::string out;
  Dump(xml.Root(), "", out);
  EXPECT_FALSE(xml.Root().GetLastError().IsError()) << xml.Root().GetLastError().GetTextTrimmed().ToUtf8();
  return out;
}

// A file that cannot be used: the reason is in the last error, the store reads as empty, refuses
// changes, and the file is left exactly as it was.
void ExpectRefused(const std::string& bytes, uint32_t id, const std::string& textPart = "") {
  SCOPED_TRACE(bytes.substr(0, 80));
  qtest::TempDir dir;
  std::string path = dir / "settings.xml";
  qtest::WriteFile(path, bytes);
  {
    XmlStore xml(path);
    VProfileKey& root = xml.Root();
    EXPECT_FALSE(root.CanWrite());
    EXPECT_EQ(root.GetLastError().GetMessageId(), id) << root.GetLastError().GetTextTrimmed().ToUtf8();
    std::string text = root.GetLastError().GetTextTrimmed().ToUtf8();
    EXPECT_NE(text.find(path), std::string::npos) << text;
    if (!textPart.empty()) {
      EXPECT_NE(text.find(textPart), std::string::npos) << text;
    }
    VProfileKeyIterator keys(root, false);
    VUnicodeString name;
    EXPECT_FALSE(keys.Next(name));
    EXPECT_FALSE(root.WriteString(u"a", u"b"));
    EXPECT_EQ(root.GetLastError().GetMessageId(), id);
    VProfileKey created(root, u"Global", kProfileKeyCreate);
    EXPECT_FALSE(created.WriteDword(u"n", 1));
    EXPECT_FALSE(root.DeleteSubKey(u"Global"));
    EXPECT_FALSE(created.Flush());
  }
  EXPECT_EQ(qtest::ReadFile(path), bytes);
}

std::string Nested(size_t levels, const std::string& innermost = "") {
  std::string text = "<Tolvane>";
  for (size_t i = 1; i < levels; ++i) text += "<key name=\"k\">";
  text += innermost;
  for (size_t i = 1; i < levels; ++i) text += "</key>";
  return text + "</Tolvane>";
}

// A temporary folder and the settings file path in it, for every test here.
class XmlFileTest : public ::testing::Test {
 protected:
  qtest::TempDir dir;
  std::string path = dir / "settings.xml";
};
using XmlFileDamaged = XmlFileTest;
using XmlFileHostile = XmlFileTest;
using XmlFileEncodings = XmlFileTest;
using XmlFileValues = XmlFileTest;
using XmlFileEdited = XmlFileTest;
using XmlFileTools = XmlFileTest;

TEST_F(XmlFileDamaged, FilesThatAreNoSettingsFileAreRefusedWithTheReasonAndPlace) {
  ExpectRefused("<?xml version=\"1.0\"?>\n<Tolvane>\n  <key name=\"a\">\n</Tolvane>\n",
                kMsgXmlNotWellFormed, "invalid closing tag name (line 4, column 10");
  ExpectRefused("<Tolvane><string name=\"s\">&#x110000;</string></Tolvane>", kMsgXmlNotWellFormed,
                "invalid numeric character entity");
  ExpectRefused("<Tolvane><string name=\"s\">&#65</string></Tolvane>", kMsgXmlNotWellFormed,
                "expected ;");
  ExpectRefused("<Tolvane><key name=\"a\"></key>", kMsgXmlNotWellFormed, "unexpected end of data");
  ExpectRefused("<Tolvane name=oops/>", kMsgXmlNotWellFormed, "expected ' or \"");
  // Text outside the root element is not XML.
  ExpectRefused("<Tolvane/>trailing words", kMsgXmlNotWellFormed, "expected < (line 1, column 11, offset 10)");
  ExpectRefused("leading words<Tolvane/>", kMsgXmlNotWellFormed, "expected <");
  // Only a Tolvane root makes a settings file.
  ExpectRefused("<?xml version=\"1.0\"?><settings><key name=\"a\"/></settings>", kMsgXmlWrongRoot,
                "'settings'");
  ExpectRefused("<tolvane/>", kMsgXmlWrongRoot);
  ExpectRefused("<?xml version=\"1.0\"?>\n<!-- nothing else -->\n", kMsgXmlNoRoot);
  ExpectRefused("<Tolvane/><Tolvane/>", kMsgXmlSeveralRoots);
  // Nulls, and references to what XML cannot hold.
  ExpectRefused("<Tolvane><string name=\"s\">a&#0;b</string></Tolvane>", kMsgXmlNullCharacter);
  ExpectRefused("<Tolvane><string name=\"&#x0;\">a</string></Tolvane>", kMsgXmlNullCharacter);
  ExpectRefused(std::string("<Tolvane/>\0<junk>", 17), kMsgXmlNullCharacter, "offset 10");
  ExpectRefused("<Tolvane><string name=\"s\">&#xD800;</string></Tolvane>", kMsgXmlNotWellFormed,
                "invalid numeric character entity (line 1, column 27");
}

TEST_F(XmlFileDamaged, AFolderOrADeviceIsNotReadAsAFile) {
  qtest::MakeDirs(dir / "folder.xml");
  XmlStore folder(dir / "folder.xml");
  EXPECT_FALSE(folder.Root().CanWrite());
  EXPECT_EQ(folder.Root().GetLastError().GetMessageId(), kMsgXmlFileUnreadable);
  XmlStore device("/dev/zero");
  EXPECT_FALSE(device.Root().CanWrite());
  EXPECT_EQ(device.Root().GetLastError().GetMessageId(), kMsgXmlFileUnreadable);
  EXPECT_FALSE(device.Root().WriteString(u"a", u"b"));
}

TEST_F(XmlFileHostile, DeepNestingIsRefusedBeforeParsing) {
  // A million levels would overflow the stack of a recursive parser.
  std::string deep;
  for (int i = 0; i < 1000000; ++i) deep += "<a>";
  ExpectRefused("<Tolvane>" + deep, kMsgXmlNestedTooDeep, "more than 256 levels");
  ExpectRefused(Nested(VXmlFileKey::kMaxDepth + 1), kMsgXmlNestedTooDeep,
                "(line 1, column " + std::to_string(9 + 14 * 255 + 1));
  ExpectRefused(Nested(VXmlFileKey::kMaxDepth, "<string name=\"s\"/>"), kMsgXmlNestedTooDeep);
  // Markup inside comments, sections and attribute values opens nothing.
  std::string hidden = "<!--" + deep + "--><![CDATA[" + deep + "]]><?pi " + deep + "?>";
  qtest::WriteFile(dir / "ok.xml", "<Tolvane a=\"" + deep + "\">" + hidden + "</Tolvane>");
  XmlStore xml(dir / "ok.xml");
  EXPECT_TRUE(xml.Root().CanWrite()) << xml.Root().GetLastError().GetTextTrimmed().ToUtf8();
  qtest::WriteFile(dir / "limit.xml", Nested(VXmlFileKey::kMaxDepth));
  XmlStore limit(dir / "limit.xml");
  EXPECT_TRUE(limit.Root().CanWrite());
}

TEST_F(XmlFileHostile, ManyAttributesLongTextsAndEntitiesAreHandled) {
  std::string attributes;
  for (int i = 0; i < 200000; ++i) attributes += " a" + std::to_string(i) + "=\"&amp;&lt;\"";
  std::string longText(8 << 20, 'x');
  qtest::WriteFile(path, "<Tolvane" + attributes + "><key name=\"k\"" + attributes +
                             "><string name=\"long\">" + longText +
                             "</string><string name=\"refs\">&lt;&gt;&amp;&apos;&quot;&#65;&#x42;"
                             "&#x1F600;&unknown;&#</string></key></Tolvane>");
  XmlStore xml(path);
  EXPECT_FALSE(xml.Root().CanWrite());
  EXPECT_EQ(xml.Root().GetLastError().GetMessageId(), kMsgXmlNotWellFormed);  // "&#" unterminated
  qtest::WriteFile(path, "<Tolvane" + attributes + "><key name=\"k\"" + attributes +
                             "><string name=\"long\">" + longText +
                             "</string><string name=\"refs\">&lt;&gt;&amp;&apos;&quot;&#65;&#x42;"
                             "&#x1F600;&unknown;</string></key></Tolvane>");
  XmlStore again(path);
  VProfileKey key(again.Root(), u"k");
  VUnicodeString text;
  EXPECT_TRUE(key.ReadString(u"long", text));
  EXPECT_EQ(text.size(), longText.size());
  EXPECT_TRUE(key.ReadString(u"refs", text));
  EXPECT_EQ(text, u"<>&'\"AB\U0001F600&unknown;");
}

TEST_F(XmlFileEncodings, AnyTextFileEncodingIsReadAndWrittenBackAsUtf8) {
  const std::u16string document =
      u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Tolvane version=\"3.0\">\r\n"
      u"<key name=\"Caf\u00e9\"><string name=\"s\">\u00e9t\u00e9 \u65e5</string></key></Tolvane>\r\n";
  std::string le = "\xFF\xFE";
  std::string be = "\xFE\xFF";
  for (char16_t c : document) {
    le += static_cast<char>(c & 0xFF);
    le += static_cast<char>(c >> 8);
    be += static_cast<char>(c >> 8);
    be += static_cast<char>(c & 0xFF);
  }
  std::string utf8 = vtext::ToUtf8(document);
  for (const std::string& bytes : {le, be, utf8, "\xEF\xBB\xBF" + utf8}) {
    qtest::WriteFile(path, bytes);
    {
      XmlStore xml(path);
      VProfileKey key(xml.Root(), u"Caf\u00e9");
      VUnicodeString text;
      EXPECT_TRUE(key.ReadString(u"s", text));
      EXPECT_EQ(text, u"\u00e9t\u00e9 \u65e5");
      EXPECT_TRUE(key.WriteDword(u"n", 1));
    }
    std::string written = qtest::ReadFile(path);
    EXPECT_EQ(written.rfind("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", 0), 0u);
    EXPECT_NE(written.find("<key name=\"Caf\xC3\xA9\">"), std::string::npos);
  }
  // Without a mark, bytes that are not UTF-8 are Windows-1252.
  path = dir / "ansi.xml";
  qtest::WriteFile(path, "<Tolvane><string name=\"s\">caf\xE9 \x80</string></Tolvane>");
  XmlStore xml(path);
  VUnicodeString text;
  EXPECT_TRUE(xml.Root().ReadString(u"s", text));
  EXPECT_EQ(text, u"caf\u00e9 \u20ac");
}

TEST_F(XmlFileEncodings, AnEmptyFileIsANewSettingsFile) {
  qtest::WriteFile(path, "\xEF\xBB\xBF \r\n");
  {
    XmlStore xml(path);
    EXPECT_TRUE(xml.Root().CanWrite());
    EXPECT_TRUE(xml.Root().WriteString(u"a", u"b"));
  }
  EXPECT_NE(qtest::ReadFile(path).find("<Tolvane version=\"3.0\">"), std::string::npos);
}

TEST_F(XmlFileValues, NumbersAndBlocksEditedByHand) {
  qtest::WriteFile(path,
                   "<Tolvane>"
                   "<dword name=\"spaced\">\n  42\n</dword>"
                   "<dword name=\"hex\">0x10</dword>"
                   "<dword name=\"negative\">-1</dword>"
                   "<dword name=\"too big\">4294967296</dword>"
                   "<dword name=\"empty\"></dword>"
                   "<binary name=\"wrapped\">00 AB\n\tcd</binary>"
                   "<binary name=\"odd\">abc</binary>"
                   "<binary name=\"letters\">zz</binary>"
                   "</Tolvane>");
  XmlStore xml(path);
  VDword number = 7;
  EXPECT_TRUE(xml.Root().ReadDword(u"spaced", number));
  EXPECT_EQ(number, 42u);
  for (const char16_t* name : {u"hex", u"negative", u"too big", u"empty"}) {
    number = 7;
    EXPECT_FALSE(xml.Root().ReadDword(name, number));
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(xml.Root().GetLastError().GetMessageId(), kMsgXmlBadNumber);
  }
  uint8_t bytes[4] = {};
  VDword size = sizeof bytes;
  EXPECT_TRUE(xml.Root().ReadBinary(u"wrapped", bytes, size));
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(bytes[1], 0xAB);
  EXPECT_EQ(bytes[2], 0xCD);
  for (const char16_t* name : {u"odd", u"letters"}) {
    size = sizeof bytes;
    EXPECT_FALSE(xml.Root().ReadBinary(name, bytes, size));
    EXPECT_EQ(xml.Root().GetLastError().GetMessageId(), kMsgXmlBadBinary);
  }
}

TEST_F(XmlFileEdited, HandEditsAreReadAndKeptWhenWrittenBack) {
  qtest::WriteFile(path,
                   "<?xml version='1.0' encoding='ISO-8859-1' standalone='yes'?>\r\n"
                   "<!DOCTYPE Tolvane [ <!ELEMENT Tolvane ANY> ]>\r\n"
                   "<!-- exported by hand -->\r\n"
                   "<Tolvane version='3.0' extra='kept'>\r\n"
                   "  <?editor note?>\r\n"
                   "  <key name='Global' >\r\n"
                   "    <!-- the host -->\r\n"
                   "    <string name='Host'>a<!-- split -->b<![CDATA[<c>]]></string>\r\n"
                   "    <unknown name='x'>kept as it is</unknown>\r\n"
                   "    stray words\r\n"
                   "    <array name='L'><string>one</string><!-- c --><string>two</string></array>\r\n"
                   "  </key>\r\n"
                   "</Tolvane>\r\n");
  const std::string before = DumpFile(path);
  EXPECT_EQ(before,
            "key Global\n"
            "  1 Host = [ab<c>]\n"
            "  3 L = [one][two]\n");
  {
    XmlStore xml(path);
    EXPECT_TRUE(xml.Root().WriteDword(u"Changed", 1));
  }
  std::string written = qtest::ReadFile(path);
  EXPECT_EQ(written.rfind(
                "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n", 0),
            0u);
  // Processing instructions are not kept.
  EXPECT_EQ(written.find("<?editor"), std::string::npos);
  for (const char* kept : {"<!DOCTYPE Tolvane", "<!-- exported by hand -->", "extra=\"kept\"",
                           "<!-- the host -->",
                           "<unknown name=\"x\">kept as it is</unknown>", "\t\tstray words\n"}) {
    EXPECT_NE(written.find(kept), std::string::npos) << kept;
  }
  EXPECT_NE(written.find("<string name=\"Host\">ab&lt;c&gt;</string>"), std::string::npos);
  EXPECT_EQ(DumpFile(path), "0 Changed = 1\n" + before);
  // Written again, the file stays byte for byte the same.
  {
    XmlStore xml(path);
    EXPECT_TRUE(xml.Root().WriteDword(u"Changed", 1));
  }
  EXPECT_EQ(qtest::ReadFile(path), written);
}

// ---- other XML tools ----

std::string WriteRichFile(const std::string& path) {
  {
    XmlStore xml(path);
    VProfileKey host(xml.Root(), u"Sessions/Lab/host1", kProfileKeyCreate);
    EXPECT_TRUE(host.WriteString(u"Hostname", u"h<o>st & \"co\" 'x'"));
    EXPECT_TRUE(host.WriteString(u"Blank", u"   "));
    EXPECT_TRUE(host.WriteString(u"Empty", u""));
    EXPECT_TRUE(host.WriteString(u"Unicode", u"\u00e9\u65e5\U0001F600"));
    EXPECT_TRUE(host.WriteString(u"Lines", u"one\ntwo"));
    EXPECT_TRUE(host.WriteDword(u"Port", 22));
    const uint8_t block[] = {0, 1, 0xFE, 0xFF};
    EXPECT_TRUE(host.WriteBinary(u"Block", block, 4));
    EXPECT_TRUE(host.WriteMultiSz(u"Script", VStringArray{u"a]]>b", u"", u"<x/>"}));
    EXPECT_TRUE(host.WriteMultiSz(u"None", VStringArray{}));
    VProfileKey global(xml.Root(), u"name \"with\" quotes & <marks>", kProfileKeyCreate);
    EXPECT_TRUE(global.WriteDword(u"n", 0));
  }
  return DumpFile(path);
}

// What the store writes is well-formed for another XML tool, reads back the same after that tool
// reformats or re-encodes it, and prints again byte for byte when parsed from memory.
TEST_F(XmlFileTools, WrittenFilesSurviveAnotherToolAndPrintBackByteForByte) {
  const std::string before = WriteRichFile(path);
  qtest::RunResult lint = qtest::Run("/usr/bin/xmllint", {"--noout", path});
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(lint.err, "");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--format", path}, std::vector<std::string>{"--noblanks", path},
        std::vector<std::string>{"--encode", "UTF-16", path}}) {
    qtest::RunResult tool = qtest::Run("/usr/bin/xmllint", args);
    ASSERT_EQ(tool.status, 0) << tool.err;
    std::string reformatted = dir / "reformatted.xml";
    qtest::WriteFile(reformatted, tool.out);
    EXPECT_EQ(DumpFile(reformatted), before) << args[0];
  }
  std::string bytes = qtest::ReadFile(path);
  VRef<VXmlFileKey::XmlDocument> document(new VXmlFileKey::XmlDocument(path, 0, true));
  ASSERT_TRUE(document->LoadFromBytes(bytes));
  EXPECT_EQ(document->Print(), bytes);
}

}  // namespace
