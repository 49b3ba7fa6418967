// The rules of the built-in Session Options pages, driven without any page: numbers and ranges,
// anti-idle, custom key maps, TN3270 models, Emacs, log file names, initial positions, folders
// of synchronized browsing, PGP, new scheme names, printing; and a page's copy of its settings.
#include <gtest/gtest.h>

#include "config/colors/color_builtins.h"
#include "config/colors/color_lists.h"
#include "config/session_test_env.h"
#include "support/test_support.h"
#include "ui/session_pages/page_settings.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"

namespace {

using namespace session_page_text;

TEST(SessionPageRules, IntegersAndTheirRanges) {
  int value = 7;
  EXPECT_TRUE(ParsePageInteger(u" -12 ", value));
  EXPECT_EQ(value, -12);
  EXPECT_TRUE(ParsePageInteger(u"+2147483647", value));
  EXPECT_EQ(value, 2147483647);
  EXPECT_TRUE(ParsePageInteger(u"-2147483648", value));
  for (const char16_t* bad : {u"", u"-", u"12a", u"0x10", u"1 2", u"2147483648", u"1.5"})
    EXPECT_FALSE(ParsePageInteger(bad, value)) << VUnicodeString(bad).ToUtf8();

  EXPECT_FALSE(CheckIntegerRange(u"200", 5, 200, value));
  EXPECT_EQ(value, 200);
  for (const char16_t* bad : {u"4", u"201", u"many", u""}) {
    RuleResult failure = CheckIntegerRange(bad, 5, 200, value);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->id, kIntegerRange);
    EXPECT_EQ(failure->inserts, (std::vector<VUnicodeString>{u"5", u"200"}));
  }
}

TEST(SessionPageRules, AntiIdleStringOnlyWhenSwitchedOn) {
  EXPECT_FALSE(CheckAntiIdle(false, u""));
  EXPECT_FALSE(CheckAntiIdle(true, u" "));
  ASSERT_TRUE(CheckAntiIdle(true, u""));
  EXPECT_EQ(CheckAntiIdle(true, u"")->id, kAntiIdleEmpty);
}

TEST(SessionPageRules, ACustomKeymapNeedsAFileThatLoads) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "lab.key", "Version = 1\nN VK_F1 MENU_COPY\n");
  qtest::WriteFile(dir / "broken.key", "Version = 1\nnonsense\nmore nonsense\nstill nonsense\n");
  EXPECT_TRUE(IsCustomKeymap(u"custom"));
  EXPECT_FALSE(CheckCustomKeymap(u"", VUnicodeString()));
  EXPECT_EQ(CheckCustomKeymap(u"Custom", VUnicodeString(u"  "))->id, kKeymapFileEmpty);
  EXPECT_EQ(CheckCustomKeymap(u"Custom", VUnicodeString::FromUtf8(dir / "missing.key"))->id,
            kKeymapFileNotFound);
  EXPECT_EQ(CheckCustomKeymap(u"Custom", VUnicodeString::FromUtf8(dir / "broken.key"))->id,
            kKeymapFileNotFound);
  EXPECT_FALSE(CheckCustomKeymap(u"Custom", VUnicodeString::FromUtf8(dir / "lab.key")));
}

TEST(SessionPageRules, Tn3270ModelsFixTheSizeAndDisableEmacs) {
  int rows = 0, cols = 0;
  ASSERT_TRUE(Tn3270ModelSize(u"ibm-3278-5", rows, cols));
  EXPECT_EQ(rows, 27);
  EXPECT_EQ(cols, 132);
  ASSERT_TRUE(Tn3270ModelSize(u"IBM-3278-4", rows, cols));
  EXPECT_EQ(rows, 43);
  EXPECT_FALSE(Tn3270ModelSize(u"xterm", rows, cols));

  EmacsEnabling tn = EmacsRules(u"tn3270", true);
  EXPECT_FALSE(tn.altAsMeta);
  EXPECT_FALSE(tn.dependents);
  EXPECT_TRUE(EmacsRules(u"Xterm", true).dependents);
  EXPECT_FALSE(EmacsRules(u"Xterm", false).dependents);
  EXPECT_TRUE(EmacsRules(u"Xterm", false).altAsMeta);
  EXPECT_FALSE(PreserveAltGrAfter(false, true));
  EXPECT_TRUE(PreserveAltGrAfter(true, true));
}

TEST(SessionPageRules, LogFileNames) {
  EXPECT_FALSE(CheckLogFileName(u"/var/log/lab %S.log", false));
  // Only the last part of the path counts for characters.
  RuleResult failure = CheckLogFileName(u"/tmp/lab\tone.log", false);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->id, kLogIllegalChar);
  EXPECT_EQ(failure->inserts, (std::vector<VUnicodeString>{u"\t"}));
  EXPECT_TRUE(IsLogFileNameCharacterFailure(*failure));
  EXPECT_FALSE(CheckLogFileName(u"/tmp/odd\x01" u"dir/lab.log", false));
  EXPECT_EQ(CheckLogFileName(u"/tmp/lab.log", true)->id, kLogNeedsDate);
  EXPECT_FALSE(CheckLogFileName(u"/tmp/lab-%D.log", true));
}

TEST(SessionPageRules, InitialPositions) {
  int value = 0;
  EXPECT_FALSE(ParseInitialPosition(u" -40 ", value));
  EXPECT_EQ(value, -40);
  RuleResult failure = ParseInitialPosition(u"4O", value);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->id, kPositionNotInteger);
  EXPECT_EQ(failure->inserts, (std::vector<VUnicodeString>{u"4O"}));
  // The right edge itself cannot be stored apart from the left one.
  EXPECT_EQ(ParseInitialPosition(u"-0", value)->id, kPositionOutOfRange);
  EXPECT_FALSE(ParseInitialPosition(u"0", value));
}

TEST(SessionPageRules, XmodemPacketSizes) {
  EXPECT_EQ(XmodemPacketChoice(0), 128);
  EXPECT_EQ(XmodemPacketChoice(128), 128);
  EXPECT_EQ(XmodemPacketChoice(1024), 1024);
}

TEST(SessionPageRules, SynchronizedBrowsingAndLocalFolders) {
  SyncField field = SyncField::Local;
  EXPECT_FALSE(CheckSynchronizedBrowsing(false, u"", u"", field));
  EXPECT_EQ(field, SyncField::None);
  EXPECT_EQ(CheckSynchronizedBrowsing(true, u" ", u"/srv", field)->id, kLocalFolderEmpty);
  EXPECT_EQ(field, SyncField::Local);
  EXPECT_EQ(CheckSynchronizedBrowsing(true, u"/home", u"", field)->id, kRemoteFolderEmpty);
  EXPECT_EQ(field, SyncField::Remote);
  EXPECT_FALSE(CheckSynchronizedBrowsing(true, u"/home", u"/srv", field));

  qtest::TempDir dir;
  qtest::WriteFile(dir / "file", "x");
  EXPECT_FALSE(CheckLocalFolder(VUnicodeString::FromUtf8(dir.Path())));
  EXPECT_FALSE(CheckLocalFolder(VUnicodeString()));
  for (const std::string& bad : {dir / "file", dir / "missing"}) {
    RuleResult failure = CheckLocalFolder(VUnicodeString::FromUtf8(bad));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->id, kFolderNotFound);
    EXPECT_EQ(failure->inserts[0].ToUtf8(), bad);
  }
}

TEST(SessionPageRules, PgpNeedsBothCommands) {
  bool uploadEmpty = false;
  EXPECT_FALSE(CheckPgpCommands(false, u"", u"", uploadEmpty));
  EXPECT_EQ(CheckPgpCommands(true, u"", u"gpg -d", uploadEmpty)->id, kPgpCommandEmpty);
  EXPECT_TRUE(uploadEmpty);
  EXPECT_EQ(CheckPgpCommands(true, u"gpg -e", u" ", uploadEmpty)->id, kPgpCommandEmpty);
  EXPECT_FALSE(uploadEmpty);
  EXPECT_FALSE(CheckPgpCommands(true, u"gpg -e", u"gpg -d", uploadEmpty));
}

TEST(SessionPageRules, NewSchemeNamesAndPrinting) {
  ProfileColorSchemeListV2 schemes;
  ColorSchemeEntry harbour;
  harbour.name = u"Harbour";
  schemes.SetScheme(harbour);
  VUnicodeString existing = u"Harbour";
  RuleResult failure = CheckNewSchemeName(schemes, u" " + existing + u" ");
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->id, kSchemeExists);
  EXPECT_EQ(failure->inserts[0], existing);
  EXPECT_FALSE(CheckNewSchemeName(schemes, u"Harbour at night"));
  // A built-in kept in the list under one of its names is found under the others too.
  schemes.SetScheme(vcolors::BuiltInSchemes().front());
  EXPECT_TRUE(CheckNewSchemeName(schemes, vcolors::BuiltInSchemes().front().name));

  EXPECT_FALSE(PrintingRules(false, false).useGlobal);
  EXPECT_FALSE(PrintingRules(false, false).panel);
  EXPECT_TRUE(PrintingRules(true, false).panel);
  EXPECT_FALSE(PrintingRules(true, true).panel);
  EXPECT_TRUE(PrintingRules(true, true).useGlobal);
}

TEST(SessionPageRules, ChosenFontsKeepTheirSizeInTenthsAndAsAHeight) {
  VLogFont stored;
  stored.SetFaceName(u"Old Mono");
  stored.charSet = 1;
  stored.extra = 100;
  EXPECT_EQ(FontPoints(stored), 10.0);
  VLogFont chosen = ChosenFont(stored, u"DejaVu Sans Mono", 10.5, true, false);
  EXPECT_EQ(chosen.GetFaceName(), u"DejaVu Sans Mono");
  EXPECT_EQ(chosen.extra, 105u);
  EXPECT_EQ(chosen.height, -14);  // 10.5 points at 96 dots per inch
  EXPECT_EQ(chosen.weight, 700);
  EXPECT_EQ(chosen.italic, 0);
  EXPECT_EQ(chosen.charSet, 1);  // what the dialog does not choose stays
  VLogFont heightOnly;
  heightOnly.height = -16;
  EXPECT_EQ(FontPoints(heightOnly), 12.0);
  EXPECT_EQ(FontPoints(VLogFont()), 10.0);
}

class PageSettingsTest : public SessionFolderTest {};

// A page's copy reads each kind of setting by its stored name and writes back only what changed.
TEST_F(PageSettingsTest, ReadsEveryKindAndWritesOnlyChanges) {
  VRef<SessionConfig> session = Open(u"Default");
  ASSERT_TRUE(session);
  PageSettings settings;
  for (const char16_t* name : {u"Audio Bell", u"Rows", u"Auto Reconnect", u"Log Filename",
                               u"Emulation", u"Cursor Color", u"PGP Upload Command V2"})
    EXPECT_TRUE(settings.Read(*session.Get(), name)) << VUnicodeString(name).ToUtf8();
  EXPECT_FALSE(settings.Read(*session.Get(), u"No Such Setting"));
  EXPECT_FALSE(settings.Read(*session.Get(), u"Keymap v4"));  // a key map is its own editor's
  EXPECT_TRUE(settings.GetBool(u"Audio Bell"));
  EXPECT_EQ(settings.GetInt(u"Rows"), 24);
  EXPECT_EQ(settings.GetTriState(u"Auto Reconnect"), TriStateNotSet);
  EXPECT_EQ(settings.GetText(u"Emulation"), u"Xterm");
  EXPECT_FALSE(settings.IsChanged());

  settings.Set(u"Rows", 30);
  settings.Set(u"Auto Reconnect", TriStateOn);
  settings.Set(u"Audio Bell", true);  // the same value: not a change
  settings.Set(u"Unread Setting", 1);  // never read: ignored
  EXPECT_TRUE(settings.IsChanged(u"Rows"));
  EXPECT_FALSE(settings.IsChanged(u"Audio Bell"));
  EXPECT_FALSE(settings.Has(u"Unread Setting"));

  // Another editor changed Audio Bell meanwhile: this page's unchanged copy does not undo it.
  session->terminal.audioBell = false;
  ASSERT_TRUE(settings.Write(*session.Get()));
  EXPECT_EQ(session->terminal.rows.current, 30);
  EXPECT_EQ(session->terminal.audioBell.current, false);
  EXPECT_EQ(static_cast<VTriState>(session->autoReconnect.current), TriStateOn);

  settings.Set(u"PGP Upload Command V2", VUnicodeString(u"gpg -e"));
  ASSERT_TRUE(settings.Write(*session.Get()));
  EXPECT_EQ(session->pgpUploadCommand.GetPlaintext(), u"gpg -e");
  EXPECT_NE(static_cast<const VUnicodeString&>(session->pgpUploadCommand.Current()), u"gpg -e");
}

}  // namespace
