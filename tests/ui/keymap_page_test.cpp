// The Mapped Keys page inside a dialog: it edits a copy, so Cancel leaves the session object and
// its file alone and OK writes what changed; a session with a custom key map has that file's
// mappings edited and saved on OK only, never over another writer's change; with several
// sessions at once the page says what its edits do.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "config/keymap/key_codes.h"
#include "config/session_test_env.h"
#include "marrowby/list_ctrl.h"
#include "platform/app_info.h"
#include "support/test_support.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keymap/on_screen_keyboard.h"
#include "ui/keymap/selected_key_dialog.h"
#include "ui/keymap/session_mapped_keys_page.h"
#include "ui_test_helpers.h"

namespace {

constexpr uint32_t kVkF1 = 0x70;
constexpr uint32_t kVkF5 = 0x74;
constexpr const char* kBom = "\xEF\xBB\xBF";

// A session with one mapping it can read (F1 pastes) and one it cannot, kept as written.
constexpr const char* kInlineKeymap =
    "Z:\"Keymap v4\"=00000002\r\n N VK_NOPE MENU_COPY\r\n N\tVK_F1               \tMENU_PASTE\r\n";

class MappedKeysPageTest : public SessionFolderTest {
 protected:
  void TearDown() override {
    vapp::SetConfigFolderInUse(VUnicodeString());
    SessionFolderTest::TearDown();
  }

  // The page in a Session Options dialog of its own, shown.
  struct Dialog {
    Dialog(SessionConfig* session, int mode) : dialog(QStringLiteral("Session Options"), nullptr, nullptr) {
      SessionPageContext context;
      context.session = session;
      context.mode = mode;
      page = new SessionMappedKeysPage(context);
      dialog.AddPage(page);
      dialog.show();
    }
    VPropertyTreeDialog dialog;
    SessionMappedKeysPage* page;
  };

  static QStringList Rows(KeymapEditorPanel& panel) {
    QStringList rows;
    for (int row = 0; row < panel.List()->RowCount(); ++row)
      rows << panel.List()->Text(row, 0) + " " + panel.List()->Text(row, 1) + " " +
                  panel.List()->Text(row, 2);
    return rows;
  }
  // Maps Ctrl+F5 (or `modifiers`+F5) to send `text` through the Map Selected Key dialog.
  static void MapF5ToSend(KeymapEditorPanel& panel, const QString& text,
                          uint32_t modifiers = kKeyCtrl) {
    auto seen = uitest::WhenModal<SelectedKeyDialog>([text](SelectedKeyDialog* d) {
      d->SendEdit()->setPlainText(text);
      d->OkButton()->click();
    });
    panel.MapCapturedKey(63, modifiers);
    EXPECT_TRUE(*seen);
  }
  // Selects the row of `keyCode` and deletes it.
  static void DeleteRowOf(KeymapEditorPanel& panel, uint32_t keyCode) {
    int row = panel.RowOf(keyCode);
    ASSERT_GE(row, 0);
    panel.List()->SelectRow(row);
    panel.DeleteSelected();
  }
  // Edits everything the page edits: a new mapping, a deleted one, and the three switches.
  static void EditAll(SessionMappedKeysPage& page) {
    MapF5ToSend(*page.Panel(), "ls");
    DeleteRowOf(*page.Panel(), kVkF1);
    page.MapBackspaceBox()->setChecked(true);
    page.MapDeleteBox()->setChecked(true);
    uitest::MessageBoxRecorder warned(kIdOk);  // the CUA warning
    page.CuaBox()->click();
  }
};

TEST_F(MappedKeysPageTest, CancelLeavesTheSessionAndItsFileAsTheyWereAndOkWritesTheEdits) {
  WriteSession("s", std::string("D:\"Is Session\"=00000001\r\n") + kInlineKeymap);
  ASSERT_TRUE(SaveAt(*Open(u"s").Get(), u"s", true));  // every default written once
  const std::string before = qtest::ReadFile(SessionFile("s"));
  VRef<SessionConfig> session = Open(u"s");
  ASSERT_TRUE(session);
  const VStringArray stored = session->terminal.keymap.Current();

  // OK without an edit changes nothing: the unreadable line is not rewritten away.
  {
    Dialog d(session.Get(), 0);
    EXPECT_FALSE(d.page->Note()->isVisible());
    EXPECT_EQ(Rows(*d.page->Panel()), QStringList{"VK_F1 MENU_PASTE "});
    d.dialog.OkButton()->click();
  }
  EXPECT_FALSE(session->IsModified());

  {
    Dialog d(session.Get(), 0);
    EditAll(*d.page);
    EXPECT_EQ(Rows(*d.page->Panel()), QStringList{"Ctrl-VK_F5 SEND ls"});
    // While the dialog is open, the edits are the page's alone.
    EXPECT_EQ(session->terminal.keymap.Current(), stored);
    d.dialog.reject();
  }
  EXPECT_FALSE(session->IsModified());
  EXPECT_EQ(session->terminal.keymap.Current(), stored);
  EXPECT_FALSE(session->terminal.mapBackspace.current);
  EXPECT_FALSE(session->terminal.cuaCopyPaste.current);
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  EXPECT_TRUE(qtest::ReadFile(SessionFile("s")) == before);

  {
    Dialog d(session.Get(), 0);
    EXPECT_EQ(Rows(*d.page->Panel()), QStringList{"VK_F1 MENU_PASTE "});  // nothing left over
    EditAll(*d.page);
    d.dialog.OkButton()->click();
  }
  EXPECT_TRUE(session->IsModified());
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  std::string lines = Session("s");
  EXPECT_TRUE(Has(lines, "Z:\"Keymap v4\"=00000002\r\n N VK_NOPE MENU_COPY\r\n"
                         " C\tVK_F5               \t\"ls\""))
      << lines;
  for (const char* name : {"Map Backspace", "Map Delete", "CUA Copy Paste"})
    EXPECT_TRUE(Has(lines, std::string("D:\"") + name + "\"=00000001")) << name;
  VRef<SessionConfig> again = Open(u"s");
  EXPECT_FALSE(again->terminal.keymap.Find(kVkF1).has_value());
  EXPECT_TRUE(again->terminal.keymap.Find(kVkF5 | kKeyCtrl).has_value());
}

TEST_F(MappedKeysPageTest, ACustomKeyMapFileIsEditedInsteadOfTheSessionsOwnAndWrittenOnOkOnly) {
  qtest::TempDir dir;
  vapp::SetConfigFolderInUse(VUnicodeString::FromUtf8(dir / "cfg"));
  // Named without a folder: found in the configuration's "keymaps" folder, as a load finds it.
  const std::string file = dir / "cfg/keymaps/lab.key";
  // A comment and a line this release cannot read are kept as they were written.
  const std::string original =
      "Version = 1\r\n; kept as written\r\nN\tVK_F1\tMENU_COPY\r\nN\tVK_NOPE\tSB_END\r\n";
  qtest::WriteFile(file, original);
  WriteSession("c", std::string("D:\"Is Session\"=00000001\r\nS:\"Keymap Name\"=custom\r\n"
                                "S:\"Keymap Filename\"=lab.key\r\n"
                                "D:\"Use Alternate Keyboard\"=00000001\r\n") + kInlineKeymap);
  ASSERT_TRUE(SaveAt(*Open(u"c").Get(), u"c", true));  // every default written once
  VRef<SessionConfig> session = Open(u"c");
  ASSERT_TRUE(session);
  ASSERT_FALSE(session->IsModified());
  const VStringArray stored = session->terminal.keymap.Current();

  {
    Dialog d(session.Get(), 0);
    ASSERT_EQ(d.page->Source()->kind, MappedKeysSource::Kind::kFile);
    EXPECT_EQ(Rows(*d.page->Panel()), QStringList{"VK_F1 MENU_COPY "});
    EXPECT_TRUE(d.page->Note()->isVisible());
    EXPECT_TRUE(d.page->Note()->text().contains("lab.key")) << d.page->Note()->text().toStdString();
    EXPECT_TRUE(d.page->Note()->text().contains("VK_NOPE"));  // the line it could not read
    EXPECT_TRUE(d.page->Panel()->MapKeyButton()->isEnabled());
    MapF5ToSend(*d.page->Panel(), "ls");
    d.dialog.reject();
  }
  EXPECT_EQ(qtest::ReadFile(file), original);

  {
    Dialog d(session.Get(), 0);
    MapF5ToSend(*d.page->Panel(), "ls");
    MapF5ToSend(*d.page->Panel(), "\\033[15~", kKeyShift);
    d.dialog.OkButton()->click();
  }
  EXPECT_EQ(qtest::ReadFile(file), std::string(kBom) +
                                       "Version = 1\r\n; kept as written\r\n"
                                       "N\tVK_F1               \tMENU_COPY\r\n"
                                       "N\tVK_NOPE\tSB_END\r\n"
                                       "C\tVK_F5               \t\"ls\"\r\n"
                                       "S\tVK_F5               \t\"\\033[15~\"\r\n");
  EXPECT_FALSE(qtest::Exists("lab.key"));  // written where it was read, nowhere else
  // The session's own mappings are not what the page edited.
  EXPECT_EQ(session->terminal.keymap.Current(), stored);
  EXPECT_FALSE(session->IsModified());

  // OK without an edit leaves the file's bytes alone.
  const std::string saved = qtest::ReadFile(file);
  {
    Dialog d(session.Get(), 0);
    EXPECT_EQ(d.page->Panel()->List()->RowCount(), 3);
    d.dialog.OkButton()->click();
  }
  EXPECT_EQ(qtest::ReadFile(file), saved);
}

TEST_F(MappedKeysPageTest, AFileChangedMeanwhileOrThatCannotBeWrittenKeepsItsBytesAndTheUserIsTold) {
  qtest::TempDir dir;
  const std::string file = dir / "mine.key";
  qtest::WriteFile(file, "Version = 1\r\nN\tVK_F1\tMENU_COPY\r\n");
  WriteSession("c", "D:\"Is Session\"=00000001\r\nS:\"Keymap Name\"=Custom\r\nS:\"Keymap Filename\"=" +
                        file + "\r\n");
  VRef<SessionConfig> session = Open(u"c");
  ASSERT_TRUE(session);

  // Another program rewrites the file while the dialog is open: its change stays.
  const std::string theirs = "Version = 1\r\nN\tVK_F2\tMENU_PASTE\r\n";
  {
    Dialog d(session.Get(), 0);
    MapF5ToSend(*d.page->Panel(), "mine");
    qtest::WriteFile(file, theirs);
    uitest::MessageBoxRecorder said(kIdOk);
    d.dialog.OkButton()->click();
    ASSERT_EQ(said.Shown().size(), 1u);
    EXPECT_TRUE(said.Shown()[0].text.contains("mine.key")) << said.Shown()[0].text.toStdString();
    EXPECT_TRUE(said.Shown()[0].text.contains("changed or removed"));
  }
  EXPECT_EQ(qtest::ReadFile(file), theirs);

  // A file that may not be written is reported with its name and the reason, and left as it was.
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  {
    Dialog d(session.Get(), 0);
    EXPECT_EQ(Rows(*d.page->Panel()), QStringList{"VK_F2 MENU_PASTE "});
    MapF5ToSend(*d.page->Panel(), "mine");
    uitest::MessageBoxRecorder said(kIdOk);
    d.dialog.OkButton()->click();
    ASSERT_EQ(said.Shown().size(), 1u);
    EXPECT_TRUE(said.Shown()[0].text.startsWith("The key map " + QString::fromStdString(file) +
                                                " cannot be saved"))
        << said.Shown()[0].text.toStdString();
  }
  EXPECT_EQ(qtest::ReadFile(file), theirs);
  chmod(file.c_str(), 0644);
}

TEST_F(MappedKeysPageTest, ACustomKeyMapThatCannotBeReadLeavesNothingToEditButTheSwitches) {
  qtest::TempDir dir;
  const std::string bad = "N\tVK_NOPE\tSB_BEGIN\r\nN\tVK_F1\tNOPE\r\nQ\tVK_F2\tNOPE\r\n";
  qtest::WriteFile(dir / "bad.key", bad);
  struct Case {
    std::string file;
    const char* said;
  };
  for (const Case& c : {Case{dir / "bad.key", "bad.key' cannot be read"},
                        Case{dir / "gone.key", "gone.key' cannot be read"},
                        Case{"  ", "names no key map file"}}) {
    SCOPED_TRACE(c.file);
    WriteSession("c", "D:\"Is Session\"=00000001\r\nS:\"Keymap Name\"=Custom\r\nS:\"Keymap Filename\"=" +
                          c.file + "\r\n");
    VRef<SessionConfig> session = Open(u"c");
    ASSERT_TRUE(session);
    Dialog d(session.Get(), 0);
    EXPECT_EQ(d.page->Source()->kind, MappedKeysSource::Kind::kUnavailable);
    EXPECT_TRUE(d.page->Note()->isVisible());
    EXPECT_TRUE(d.page->Note()->text().contains(c.said)) << d.page->Note()->text().toStdString();
    EXPECT_FALSE(d.page->Panel()->MapKeyButton()->isEnabled());
    EXPECT_FALSE(d.page->Panel()->Keyboard()->isEnabled());
    EXPECT_EQ(d.page->Panel()->List()->RowCount(), 0);
    d.page->Panel()->MapCapturedKey(63, 0);  // no dialog comes up
    EXPECT_TRUE(d.page->MapBackspaceBox()->isEnabled());
    d.page->MapBackspaceBox()->setChecked(true);
    d.dialog.OkButton()->click();
    EXPECT_TRUE(session->terminal.mapBackspace.current);
    EXPECT_FALSE(session->terminal.keymap.IsModified());
  }
  EXPECT_EQ(qtest::ReadFile(dir / "bad.key"), bad);
  EXPECT_FALSE(qtest::Exists(dir / "gone.key"));
}

TEST_F(MappedKeysPageTest, SeveralSessionsAtOnceGetTheEditedKeyMapOnlyWhenItChangedAndAreToldSo) {
  WriteSession("s", std::string("D:\"Is Session\"=00000001\r\n") + kInlineKeymap);
  VRef<SessionConfig> session = Open(u"s");
  ASSERT_TRUE(session);
  {
    Dialog d(session.Get(), 4);
    EXPECT_TRUE(d.page->Note()->isVisible());
    EXPECT_TRUE(d.page->Note()->text().startsWith("Several sessions are being edited at once"));
    EXPECT_TRUE(d.page->Panel()->MapKeyButton()->isEnabled());
    d.page->MapDeleteBox()->setChecked(true);
    d.dialog.OkButton()->click();
  }
  // An untouched key map is no change, so it is not spread over the other sessions.
  EXPECT_TRUE(session->terminal.mapDelete.IsModified());
  EXPECT_FALSE(session->terminal.keymap.IsModified());
  {
    Dialog d(session.Get(), 4);
    MapF5ToSend(*d.page->Panel(), "ls");
    d.dialog.OkButton()->click();
  }
  EXPECT_TRUE(session->terminal.keymap.IsModified());
  std::optional<size_t> index = session->terminal.keymap.Find(kVkF5 | kKeyCtrl);
  ASSERT_TRUE(index);
  EXPECT_EQ(session->terminal.keymap.GetAt(*index).first, u"ls");
}

}  // namespace
