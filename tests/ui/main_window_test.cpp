// The main window of quillane-settings over a real configuration folder: the session tree in
// display order, each change made through the window and read back from the files, the failures
// the user is told of, the keys of the tree, the menus, and the connect bar's suggestions.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "config/database/session_database_instance.h"
#include "config/session_test_env.h"
#include "platform/file_system.h"
#include "ui/main_window/connect_bar.h"
#include "ui/main_window/main_window.h"
#include "ui/main_window/passphrase_change_request.h"
#include "main_window_host.h"
#include "ui/global_options/global_options_dialog.h"
#include "ui_test_helpers.h"

namespace {

using Command = VMainWindow::Command;

constexpr const char* kSession = "D:\"Is Session\"=00000001\r\n";

// The letter after '&' in `text`, lower-cased (none: a null character).
QChar Mnemonic(const QString& text) {
  for (int i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return text[i + 1].toLower();
    ++i;
  }
  return QChar();
}

// Every menu and every entry of a menu has a letter, none shared with its neighbours; the menu
// bar's letters are not the connect bar's either.
void ExpectMenuMnemonicsUnique(VMainWindow& window) {
  QSet<QChar> bar{Mnemonic(window.ConnectBar()->Label()->text())};
  for (QAction* menuAction : window.menuBar()->actions()) {
    QChar letter = Mnemonic(menuAction->text());
    EXPECT_FALSE(letter.isNull()) << menuAction->text().toStdString();
    EXPECT_FALSE(bar.contains(letter)) << menuAction->text().toStdString();
    bar.insert(letter);
    QSet<QChar> entries;
    for (QAction* entry : menuAction->menu()->actions()) {
      if (entry->isSeparator()) continue;
      QChar mine = Mnemonic(entry->text());
      EXPECT_FALSE(mine.isNull()) << entry->text().toStdString();
      EXPECT_FALSE(entries.contains(mine)) << entry->text().toStdString();
      entries.insert(mine);
    }
  }
}

class MainWindowTest : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    GetSessionDatabase()->InvalidateAll();
    // Top: folders Web, Lab in the stored order; sessions zeta, alpha stored, mid not listed.
    WriteSession("Lab/router1", kSession);
    WriteSession("Lab/router2", kSession);
    WriteSession("Web/web1", kSession + std::string("S:\"Hostname\"=web1.example.net\r\n"));
    WriteSession("alpha", kSession + std::string("S:\"Hostname\"=alpha.example.net\r\n"));
    WriteSession("zeta", kSession);
    WriteSession("mid", kSession);
    folder_.WriteLines("Sessions/__FolderData__",
                       "S:\"Session List\"=zeta:alpha\r\nS:\"Folder List\"=Web:Lab\r\n");
  }
  void TearDown() override {
    GetSessionDatabase()->InvalidateAll();
    SessionFolderTest::TearDown();
  }
  std::unique_ptr<VMainWindow> Open(VMainWindowActions actions = {}) {
    auto window = std::make_unique<VMainWindow>(std::move(actions));
    window->show();
    QApplication::processEvents();
    return window;
  }
  static QStringList Children(QTreeWidgetItem* item) {
    QStringList names;
    for (int i = 0; i < item->childCount(); ++i) names << item->child(i)->text(0);
    return names;
  }
  bool HasSession(const std::string& path) const { return folder_.HasFile("Sessions/" + path); }
  bool HasFolder(const std::string& path) const {
    std::string file = folder_.FilePath("Sessions/" + path);
    return qtest::Exists(file.substr(0, file.size() - 4)) && !qtest::Exists(file);
  }
  // Types `name` into the name being edited in place and presses Enter.
  static void TypeName(VMainWindow& window, const QString& name) {
    QLineEdit* editor = nullptr;
    for (QLineEdit* edit : window.Tree()->viewport()->findChildren<QLineEdit*>())
      if (edit->isVisible()) editor = edit;
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
  }
};

TEST_F(MainWindowTest, TheTreeShowsFoldersThenSessionsInDisplayOrder) {
  auto window = Open();
  EXPECT_EQ(Children(window->TopItem()),
            QStringList({"Web", "Lab", "zeta", "alpha", "mid"}));
  EXPECT_EQ(Children(window->ItemOf("Lab", true)), QStringList({"router1", "router2"}));
  EXPECT_EQ(window->SessionCount(), 6u);
  EXPECT_TRUE(window->TopItem()->isExpanded());
  uitest::ExpectMnemonicsUnique(window.get());
  ExpectMenuMnemonicsUnique(*window);
  VSetMessageLanguage(VLanguage::French);
  auto french = Open();
  uitest::ExpectMnemonicsUnique(french.get());
  ExpectMenuMnemonicsUnique(*french);
  EXPECT_EQ(french->ConnectBar()->Label()->text(), QString::fromUtf8("A&ller à la session :"));
  VSetMessageLanguage(VLanguage::English);
}

TEST_F(MainWindowTest, AFolderLeftOpenIsShownOpenAtTheNextStart) {
  {
    auto window = Open();
    QTreeWidgetItem* lab = window->ItemOf("Lab", true);
    EXPECT_FALSE(lab->isExpanded());
    window->Tree()->expandItem(lab);
    EXPECT_TRUE(Has(folder_.Lines("Sessions/Lab/__FolderData__"), "D:\"Is Expanded\"=00000001"));
    // The order is written with it.
    EXPECT_TRUE(Has(folder_.Lines("Sessions/Lab/__FolderData__"),
                    "S:\"Session List\"=router1:router2"));
  }
  GetSessionDatabase()->InvalidateAll();  // as a new process
  auto window = Open();
  QTreeWidgetItem* lab = window->ItemOf("Lab", true);
  EXPECT_TRUE(lab->isExpanded());
  EXPECT_FALSE(window->ItemOf("Web", true)->isExpanded());
  window->Tree()->collapseItem(lab);
  EXPECT_TRUE(Has(folder_.Lines("Sessions/Lab/__FolderData__"), "D:\"Is Expanded\"=00000000"));
  window->Refresh();  // what the user closed stays closed
  EXPECT_FALSE(window->ItemOf("Lab", true)->isExpanded());
}

TEST_F(MainWindowTest, NewSessionAndFolderAreMadeAndNamedInPlace) {
  auto window = Open();
  ASSERT_TRUE(window->SelectPath("Lab", true));
  window->Action(Command::NewSession)->trigger();
  EXPECT_TRUE(HasSession("Lab/New Session"));
  TypeName(*window, "router3");
  EXPECT_TRUE(HasSession("Lab/router3"));
  EXPECT_FALSE(HasSession("Lab/New Session"));
  EXPECT_EQ(Children(window->ItemOf("Lab", true)), QStringList({"router1", "router2", "router3"}));
  EXPECT_EQ(window->CurrentItem().Path(), u"Lab\\router3");

  // A second new session in a folder that has one named so already gets a free name.
  window->SelectPath("Lab", true);
  window->Action(Command::NewSession)->trigger();
  window->SelectPath("Lab", true);
  window->Action(Command::NewSession)->trigger();
  EXPECT_TRUE(HasSession("Lab/New Session"));
  EXPECT_TRUE(HasSession("Lab/New Session (2)"));

  window->SelectPath("alpha");  // a session: the folder goes beside it, at the top
  window->Action(Command::NewFolder)->trigger();
  EXPECT_TRUE(HasFolder("New Folder"));
  TypeName(*window, "Staging");
  EXPECT_TRUE(HasFolder("Staging"));
  EXPECT_FALSE(HasFolder("New Folder"));
  QTreeWidgetItem* staging = window->ItemOf("Staging", true);
  ASSERT_NE(staging, nullptr);
  EXPECT_EQ(staging->childCount(), 0);
  EXPECT_TRUE(staging->data(0, VMainWindow::kFolderRole).toBool());
}

TEST_F(MainWindowTest, RenameWithF2KeepsThePlaceAndRefusesANameInUse) {
  auto window = Open();
  window->SelectPath("alpha");
  window->Tree()->setFocus();
  QTest::keyClick(window->Tree(), Qt::Key_F2);
  TypeName(*window, "beta");
  EXPECT_TRUE(HasSession("beta"));
  EXPECT_FALSE(HasSession("alpha"));
  EXPECT_NE(folder_.Lines("Sessions/beta").find("alpha.example.net"), std::string::npos);
  // The renamed session stays where the user had put it.
  EXPECT_EQ(Children(window->TopItem()), QStringList({"Web", "Lab", "zeta", "beta", "mid"}));

  uitest::MessageBoxRecorder boxes;
  window->SelectPath("beta");
  QTest::keyClick(window->Tree(), Qt::Key_F2);
  TypeName(*window, "zeta");
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(boxes.Shown()[0].text.contains("beta could not be renamed to zeta"))
      << boxes.Shown()[0].text.toStdString();
  EXPECT_TRUE(boxes.Shown()[0].text.contains("zeta")) << boxes.Shown()[0].text.toStdString();
  EXPECT_TRUE(HasSession("beta"));
  EXPECT_NE(folder_.Lines("Sessions/beta").find("alpha.example.net"), std::string::npos);
  EXPECT_EQ(window->ItemOf("beta")->text(0), "beta");

  // A change of case alone is a rename too.
  window->SelectPath("Lab", true);
  QTest::keyClick(window->Tree(), Qt::Key_F2);
  TypeName(*window, "LAB");
  EXPECT_TRUE(HasFolder("LAB"));
  EXPECT_FALSE(HasFolder("Lab"));
  EXPECT_TRUE(HasSession("LAB/router1"));
}

TEST_F(MainWindowTest, ANameThatCannotBeAndAnItemGoneMeanwhileAreSaidSo) {
  auto window = Open();
  uitest::MessageBoxRecorder boxes(kIdYes);
  window->SelectPath("alpha");
  window->Tree()->setFocus();
  QTest::keyClick(window->Tree(), Qt::Key_F2);
  TypeName(*window, "bad:name");
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(boxes.Shown()[0].text.contains("alpha could not be renamed to bad:name"))
      << boxes.Shown()[0].text.toStdString();
  EXPECT_TRUE(boxes.Shown()[0].text.contains(":")) << boxes.Shown()[0].text.toStdString();
  EXPECT_TRUE(HasSession("alpha"));

  // Another program removed the session after the tree was shown.
  ASSERT_TRUE(vfs::RemoveFile(folder_.FilePath("Sessions/zeta")).ok());
  window->SelectPath("zeta");
  QTest::keyClick(window->Tree(), Qt::Key_Delete);
  ASSERT_EQ(boxes.Shown().size(), 3u);  // the question, then the failure
  EXPECT_TRUE(boxes.Shown()[2].text.contains("zeta no longer exists"))
      << boxes.Shown()[2].text.toStdString();
  EXPECT_EQ(window->ItemOf("zeta"), nullptr);  // the tree shows what is there now
}

TEST_F(MainWindowTest, DeleteAsksFirstAndTheTemplateStays) {
  auto window = Open();
  window->SelectPath("zeta");
  window->Tree()->setFocus();
  {
    uitest::MessageBoxRecorder no(kIdNo);
    QTest::keyClick(window->Tree(), Qt::Key_Delete);
    ASSERT_EQ(no.Shown().size(), 1u);
    EXPECT_TRUE(no.Shown()[0].text.contains("Delete the session zeta?"));
  }
  EXPECT_TRUE(HasSession("zeta"));
  {
    uitest::MessageBoxRecorder yes(kIdYes);
    QTest::keyClick(window->Tree(), Qt::Key_Delete);
  }
  EXPECT_FALSE(HasSession("zeta"));
  EXPECT_EQ(window->ItemOf("zeta"), nullptr);
  EXPECT_EQ(window->CurrentItem().Path(), u"alpha");  // the next one is selected

  window->SelectPath("Lab", true);
  {
    uitest::MessageBoxRecorder yes(kIdYes);
    window->Action(Command::Delete)->trigger();
    ASSERT_EQ(yes.Shown().size(), 1u);
    EXPECT_TRUE(yes.Shown()[0].text.contains("(2 sessions)")) << yes.Shown()[0].text.toStdString();
  }
  EXPECT_FALSE(HasFolder("Lab"));
  EXPECT_FALSE(HasSession("Lab/router1"));

  // The Default session is the template of new ones: it is neither renamed nor deleted.
  window->SelectPath("Web", true);
  window->Action(Command::NewSession)->trigger();  // makes Default first
  QApplication::processEvents();
  ASSERT_TRUE(window->SelectPath("Default"));
  EXPECT_FALSE(window->Action(Command::Delete)->isEnabled());
  EXPECT_FALSE(window->Action(Command::Rename)->isEnabled());
  EXPECT_TRUE(window->Action(Command::Duplicate)->isEnabled());
}

TEST_F(MainWindowTest, DuplicateCopiesBesideTheOriginal) {
  auto window = Open();
  window->SelectPath("alpha");
  window->Action(Command::Duplicate)->trigger();
  ASSERT_TRUE(HasSession("alpha (2)"));
  for (const char* line : {"S:\"Hostname\"=alpha.example.net", "D:\"Is Session\"=00000001"})
    EXPECT_TRUE(Has(folder_.Lines("Sessions/alpha (2)"), line)) << line;
  EXPECT_EQ(Children(window->TopItem()),
            QStringList({"Web", "Lab", "zeta", "alpha", "alpha (2)", "mid"}));
  EXPECT_EQ(window->CurrentItem().Path(), u"alpha (2)");
  EXPECT_NE(folder_.Lines("Sessions/__FolderData__").find("zeta:alpha:alpha (2)"),
            std::string::npos);
}

TEST_F(MainWindowTest, DraggingMovesIntoTheFolderDroppedOn) {
  auto window = Open();
  VSessionTreeWidget* tree = window->Tree();
  window->SelectPath("alpha");
  QTreeWidgetItem* lab = window->ItemOf("Lab", true);
  QPoint onLab = tree->visualItemRect(lab).center();
  QMimeData* mime = new QMimeData;
  QDropEvent drop(onLab, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  tree->dropEvent(&drop);
  delete mime;
  EXPECT_TRUE(HasSession("Lab/alpha"));
  EXPECT_FALSE(HasSession("alpha"));
  EXPECT_NE(folder_.Lines("Sessions/Lab/alpha").find("alpha.example.net"), std::string::npos);
  EXPECT_EQ(Children(window->ItemOf("Lab", true)), QStringList({"router1", "router2", "alpha"}));
  EXPECT_EQ(window->CurrentItem().Path(), u"Lab\\alpha");

  // A folder cannot go into itself, and a name taken in the target is refused: nothing moves.
  uitest::MessageBoxRecorder boxes;
  WriteSession("Lab/Inner/x", kSession);
  GetSessionDatabase()->InvalidateAll();
  window->Refresh();
  EXPECT_FALSE(window->MoveItem(session_tree::ItemAt(u"Lab", true), "Lab\\Inner"));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(boxes.Shown()[0].text.contains("into itself")) << boxes.Shown()[0].text.toStdString();
  EXPECT_TRUE(HasSession("Lab/Inner/x"));
  WriteSession("Web/mid", kSession);
  GetSessionDatabase()->InvalidateAll();
  EXPECT_FALSE(window->MoveItem(session_tree::ItemAt(u"mid", false), "Web"));
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_TRUE(boxes.Shown()[1].text.contains("mid could not be moved to Web"))
      << boxes.Shown()[1].text.toStdString();
  EXPECT_TRUE(HasSession("mid"));
}

TEST_F(MainWindowTest, MenusOpenTheConnectedDialogsAndDisableTheOthers) {
  QString opened;
  int globalOptions = 0;
  VMainWindowActions actions;
  actions.sessionOptions = [&](QWidget*, const QString& path) { opened = path; };
  actions.globalOptions = [&](QWidget*) { ++globalOptions; };
  auto window = Open(actions);
  EXPECT_TRUE(window->Action(Command::GlobalOptions)->isEnabled());
  for (Command command : {Command::DefaultSession, Command::ColorSchemes, Command::KeyMapEditor,
                          Command::ChangePassphrase, Command::ExportSettings,
                          Command::ImportSettings, Command::MigratePersonalData,
                          Command::MergePersonalData})
    EXPECT_FALSE(window->Action(command)->isEnabled()) << static_cast<int>(command);
  window->Action(Command::GlobalOptions)->trigger();
  EXPECT_EQ(globalOptions, 1);

  // Enter on a session opens its options; on a folder it opens or closes the folder.
  window->SelectPath("Lab\\router2");
  window->Tree()->setFocus();
  QTest::keyClick(window->Tree(), Qt::Key_Return);
  EXPECT_EQ(opened, "Lab\\router2");
  window->SelectPath("Web", true);
  EXPECT_FALSE(window->Action(Command::SessionOptions)->isEnabled());
  bool wasExpanded = window->ItemOf("Web", true)->isExpanded();
  QTest::keyClick(window->Tree(), Qt::Key_Return);
  EXPECT_NE(window->ItemOf("Web", true)->isExpanded(), wasExpanded);
}

TEST_F(MainWindowTest, TheSettingsHostConnectsEveryMenuEntry) {
  auto window = Open(settings::HostActions());
  window->SelectPath("Lab\\router2");
  for (QAction* menuAction : window->menuBar()->actions()) {
    for (QAction* entry : menuAction->menu()->actions()) {
      if (entry->isSeparator()) continue;
      EXPECT_TRUE(entry->isEnabled()) << entry->text().toStdString();
    }
  }

  // Global Options opens the dialog over the shared configuration; its OK writes Global.ini.
  const std::string before = folder_.Lines("Global");
  auto cancelled = uitest::WhenModal<GlobalOptionsDialog>([](GlobalOptionsDialog* d) { d->reject(); });
  window->Action(Command::GlobalOptions)->trigger();
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(folder_.Lines("Global"), before);
  QString chosen;
  auto accepted = uitest::WhenModal<GlobalOptionsDialog>([&](GlobalOptionsDialog* d) {
    // The page chosen last is remembered in Global.ini: a change OK must keep.
    VPropertyTreePage* page = nullptr;
    for (const GlobalPageRow& row : GlobalPageTable()) {
      VPropertyTreePage* made = d->Page(row.id);
      if (made && made != d->CurrentPage() && !row.IsTopLevel()) page = made;
    }
    if (page && d->SelectPage(page)) chosen = QString::fromUtf8(d->ClassOf(page));
    d->OkButton()->click();
    if (d->isVisible()) d->reject();  // refused: the test fails below rather than hangs
  });
  window->Action(Command::GlobalOptions)->trigger();
  EXPECT_TRUE(*accepted);
  ASSERT_FALSE(chosen.isEmpty());
  EXPECT_NE(folder_.Lines("Global").find(chosen.toStdString()), std::string::npos);
}

TEST_F(MainWindowTest, ChangePassphraseAsksForTheChangeAtTheNextStartAndSavesTheAnswer) {
  {
    uitest::MessageBoxRecorder yes(kIdYes);
    EXPECT_TRUE(VRequestPassphraseChange(nullptr));
    ASSERT_EQ(yes.Shown().size(), 1u);
  }
  EXPECT_TRUE(Has(folder_.Lines("Global"), "D:\"Change Config Passphrase\"=00000001"));
  {
    uitest::MessageBoxRecorder no(kIdNo);
    EXPECT_FALSE(VRequestPassphraseChange(nullptr));
  }
  EXPECT_FALSE(Has(folder_.Lines("Global"), "D:\"Change Config Passphrase\"=00000001"));
}

TEST_F(MainWindowTest, TheConnectBarSearchesOnceForTheNewestTextAndSelectsTheChoice) {
  auto window = Open();
  VConnectBar* bar = window->ConnectBar();
  bar->Edit()->setFocus();
  // Three keys before the event loop runs: one search, for the newest text.
  QTest::keyClicks(bar->Edit(), "rou");
  EXPECT_EQ(bar->Dispatcher().Dispatched(), 1u);
  EXPECT_EQ(bar->ResultsReceived(), 0u);
  QApplication::processEvents();
  EXPECT_EQ(bar->ResultsReceived(), 1u);
  EXPECT_EQ(bar->SuggestionsText(), "rou");
  EXPECT_EQ(bar->Suggestions(), QStringList({"Lab\\router1", "Lab\\router2"}));

  // Any part of the name, whatever its case.
  QTest::keyClick(bar->Edit(), Qt::Key_Backspace);
  QTest::keyClick(bar->Edit(), Qt::Key_Backspace);
  QTest::keyClick(bar->Edit(), Qt::Key_Backspace);
  QTest::keyClicks(bar->Edit(), "EB1");
  QApplication::processEvents();
  EXPECT_EQ(bar->Suggestions(), QStringList({"Web\\web1"}));

  // Enter takes the suggestion and selects it in the tree.
  QTest::keyClick(bar->Edit(), Qt::Key_Return);
  EXPECT_EQ(window->CurrentItem().Path(), u"Web\\web1");
  EXPECT_TRUE(window->ItemOf("Web", true)->isExpanded());

  // Picking from the list selects that one.
  bar->Edit()->clear();
  bar->Edit()->setFocus();
  QTest::keyClicks(bar->Edit(), "router");
  QApplication::processEvents();
  QAbstractItemView* popup = bar->Completer()->popup();
  ASSERT_TRUE(popup->isVisible());
  popup->setCurrentIndex(popup->model()->index(1, 0));
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_EQ(window->CurrentItem().Path(), u"Lab\\router2");

  // An emptied bar suggests nothing.
  bar->Edit()->setFocus();
  bar->Edit()->selectAll();
  QTest::keyClick(bar->Edit(), Qt::Key_Backspace);
  QApplication::processEvents();
  EXPECT_TRUE(bar->Suggestions().isEmpty());
  EXPECT_EQ(bar->SuggestionsText(), "");
}

}  // namespace
