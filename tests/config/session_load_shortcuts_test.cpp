// The shortcuts of loading and searching sessions give what the general paths give: values no
// member claims are kept whatever the spelling of the claimed ones, members are named from the
// table's own names for either product family, older secrets are carried only when present, and
// the session listing lends its names to a search under any spelling of a folder's path.
#include <algorithm>
#include <cstdio>

#include "config/database/connect_bar_auto_complete.h"
#include "config/database/session_database.h"
#include "session_test_env.h"

namespace {

using SessionLoadShortcuts = SessionFolderTest;

std::vector<std::u16string> RetainedNames(const SessionConfig& session) {
  std::vector<std::u16string> names;
  const VRetainedValues& retained = session.GetRetainedValues();
  for (size_t i = 0; i < retained.Size(); ++i) names.push_back(retained.NameAt(i));
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(SessionLoadShortcuts, OnlyValuesNoMemberClaimsAreRetainedWhateverTheirSpelling) {
  WriteSession("lab", "D:\"Is Session\"=00000001\r\n"
                      "D:\"Use Title Bar\"=00000001\r\n"      // a member, as it spells itself
                      "S:\"title BAR\"=Lab window\r\n"         // a member, spelled otherwise
                      "D:\"ROWS\"=00000030\r\n"               // a nested member, spelled otherwise
                      "S:\"Highlighting Style\"=older\r\n"    // an older form that is converted
                      "S:\"Future Setting\"=kept\r\n"         // nobody's
                      "D:\"future setting 2\"=00000005\r\n"   // nobody's either
                      "S:\"Gr\xC3\xBC\xC3\x9F" "e\"=kept\r\n");  // nobody's, not ASCII
  VRef<SessionConfig> session = Open(u"lab");
  ASSERT_TRUE(session);
  EXPECT_EQ(RetainedNames(*session.Get()),
            (std::vector<std::u16string>{u"Future Setting", u"Gr\u00fc\u00dfe", u"future setting 2"}));
  EXPECT_TRUE(session->useTitleBar.current);
  // The retained values go wherever the session is saved.
  ASSERT_TRUE(SaveAt(*session.Get(), u"copy", true));
  std::string lines = Session("copy");
  EXPECT_TRUE(Has(lines, "S:\"Future Setting\"=kept"));
  EXPECT_TRUE(Has(lines, "D:\"future setting 2\"=00000005"));
  EXPECT_TRUE(Has(lines, "S:\"Gr\xC3\xBC\xC3\x9F" "e\"=kept"));
}

// A byte block as the store writes it: a header with the size, then the bytes in hexadecimal.
std::string BlockLines(const std::string& name, const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  char header[16];
  snprintf(header, sizeof header, "%08zx", bytes.size());
  std::string lines = "B:\"" + name + "\"=" + header + "\r\n";
  for (size_t i = 0; i < bytes.size(); ++i) {
    lines += ' ';
    lines += kDigits[bytes[i] >> 4];
    lines += kDigits[bytes[i] & 15];
    if ((i + 1) % 32 == 0 || i + 1 == bytes.size()) lines += "\r\n";
  }
  return lines;
}

TEST_F(SessionLoadShortcuts, AValueReadUnderAnOlderNameIsStillRetained) {
  // A font in its older form, under its older name: the member takes it, but the older value
  // belongs to no member and goes along with the session as it was.
  std::vector<uint8_t> olderFont(64, 0);
  olderFont[0] = 0xec;  // a height of -20
  olderFont[1] = olderFont[2] = olderFont[3] = 0xff;
  const std::string face = "Lab Mono";
  std::copy(face.begin(), face.end(), olderFont.begin() + 28);
  WriteSession("font", "D:\"Is Session\"=00000001\r\n" + BlockLines("Normal Font", olderFont) +
                           "S:\"Future Setting\"=kept\r\n");
  VRef<SessionConfig> session = Open(u"font");
  ASSERT_TRUE(session);
  EXPECT_EQ(session->terminal.normalFont.GetFaceName(), u"Lab Mono");
  EXPECT_EQ(session->terminal.normalFont.Current().height, -20);
  EXPECT_EQ(RetainedNames(*session.Get()),
            (std::vector<std::u16string>{u"Future Setting", u"Normal Font"}));
  ASSERT_TRUE(SaveAt(*session.Get(), u"copy", true));
  std::string lines = Session("copy");
  EXPECT_NE(lines.find(BlockLines("Normal Font", olderFont)), std::string::npos);
  EXPECT_TRUE(Has(lines, "B:\"Normal Font v2\"=00000060"));
  EXPECT_TRUE(Has(lines, "S:\"Future Setting\"=kept"));
}

TEST_F(SessionLoadShortcuts, TheDesktopDownloadFolderIsTheDefaultOnlyWhereNoneIsStored) {
  qtest::WriteFile(user_ / "config/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");
  const VUnicodeString desktop = VUnicodeString::FromUtf8(user_ / "home/Fetched");
  WriteSession("stored", "D:\"Is Session\"=00000001\r\nS:\"Download Directory\"=/srv/in\r\n");
  WriteSession("newer", "D:\"Is Session\"=00000001\r\nS:\"Download Directory\"=/srv/in\r\n"
                        "S:\"Download Directory V2\"=/srv/newer\r\n");
  WriteSession("absent", "D:\"Is Session\"=00000001\r\n");
  WriteSession("number", "D:\"Is Session\"=00000001\r\nD:\"Download Directory\"=00000001\r\n");
  EXPECT_EQ(Open(u"stored")->downloadDirectory.Current(), u"/srv/in");
  EXPECT_EQ(Open(u"newer")->downloadDirectory.Current(), u"/srv/newer");
  EXPECT_EQ(Open(u"absent")->downloadDirectory.Current(), desktop);
  // A value of another kind is no folder: the desktop's stands in for it.
  EXPECT_EQ(Open(u"number")->downloadDirectory.Current(), desktop);
  // Loaded again, an object whose key lost its folder takes the desktop's, not the one it held.
  VRef<SessionConfig> session = Open(u"stored");
  WriteSession("stored", "D:\"Is Session\"=00000001\r\n");
  VProfileStore store(true, nullptr);
  VProfileKey key(*store.GetRootKey(), u"Sessions");
  VProfileKey stored(key, u"stored");
  session->LoadFromKey(&stored);
  EXPECT_EQ(session->downloadDirectory.Current(), desktop);
}

TEST_F(SessionLoadShortcuts, MembersAreNamedAsTheirRowsSayForEitherProductFamily) {
  VRef<SessionConfig> session(new SessionConfig(u"names"));
  for (int product : {-1, 1, 6, 9}) {
    SCOPED_TRACE(product);
    session->Load(nullptr, product);
    const VMemberTable& table = session->GetMemberTable();
    bool lmb = product == 6 || product == 9;
    for (size_t i = 0; i < table.Rows().size(); ++i) {
      const VMemberRow& row = table.Rows()[i];
      if (row.kind->composite) continue;
      EXPECT_EQ(table.ViewName(i, lmb), LmbViewName(row, lmb));
      EXPECT_EQ(row.member(*session.Get()).GetName(), LmbViewName(row, lmb));
    }
  }
}

TEST_F(SessionLoadShortcuts, OlderSecretsAreLookedForOnlyWhereTheKeyHasThem) {
  WriteSession("plain", "D:\"Is Session\"=00000001\r\nS:\"Login Script V3\"=\r\n");
  WriteSession("older", "D:\"Is Session\"=00000001\r\nS:\"Login Script V3\"=\r\n"
                        "S:\"Login Script\"=0\x1Fhost>\x1Fls\x1F\r\n");
  VRef<SessionConfig> plain = Open(u"plain");
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->loginScript.IsWritePending());
  EXPECT_TRUE(plain->loginScript.GetEntries().empty());
  VRef<SessionConfig> older = Open(u"older");
  ASSERT_TRUE(older);
  // The oldest login script is carried into the current one and written at the next save.
  EXPECT_TRUE(older->loginScript.IsWritePending());
  ASSERT_EQ(older->loginScript.GetEntries().size(), 1u);
  EXPECT_EQ(older->loginScript.GetEntries()[0].expect, u"host>");
}

TEST_F(SessionLoadShortcuts, ListingLendsTheSameNamesUnderAnySpellingOfAPath) {
  for (const char* path : {"top", "Lab/alpha", "Lab/Beta", "Lab/Deep/gamma", "Default"})
    WriteSession(path, "D:\"Is Session\"=00000001\r\n");
  SessionDatabase database;
  for (const char16_t* folder : {u"", u"Lab", u"\\Lab\\", u"Lab\\\\Deep", u"Lab\\Deep\\", u"\\"}) {
    SCOPED_TRACE(vtext::ToUtf8(folder));
    VStringArray listed;
    ASSERT_TRUE(database.ListSessions(folder, listed));
    VStringArray lent;
    ASSERT_TRUE(database.VisitSessions(folder, [&](const VUnicodeString& name) { lent.Add(name); }));
    EXPECT_EQ(lent, listed);
  }
  EXPECT_FALSE(database.VisitSessions(u"Nowhere", [](const VUnicodeString&) { FAIL(); }));
  // A search goes through the lent names; the template is never offered.
  VStringArray found = ConnectBarAutoCompleteDataSource::Search(&database, u"A");
  EXPECT_EQ(found, (VStringArray{u"Lab\\Beta", u"Lab\\Deep\\gamma", u"Lab\\alpha"}));
  EXPECT_EQ(ConnectBarAutoCompleteDataSource::Search(&database, u"DEFAULT").GetSize(), 0u);
}

}  // namespace
