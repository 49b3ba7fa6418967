// The Global Options pages that list things: the host's file types (with its managers) and the
// button that hands the Default session to the Session Options dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "config/database/session_database_instance.h"
#include "global_options_test_env.h"
#include "ui/global_options/item_list_pages.h"
#include "ui/keywords/filter_dialog.h"
#include "ui/session_options/session_options_dialog.h"
#include "ui_test_helpers.h"

namespace {

using uitest::MessageBoxRecorder;

class FileTypesForTest : public IFileTypeManager {
 public:
  FileTypesForTest() { ResetToBuiltIn(); }
  std::vector<FileTypeDefinition> List() override { return types; }
  bool Add(const FileTypeDefinition& definition) override {
    types.push_back(definition);
    return true;
  }
  bool Delete(const VUnicodeString& name) override {
    deleted.push_back(name);
    auto gone = std::remove_if(types.begin(), types.end(),
                               [&](const FileTypeDefinition& d) { return d.name == name; });
    bool found = gone != types.end();
    types.erase(gone, types.end());
    return found;
  }
  std::optional<FileTypeDefinition> Search(const VUnicodeString& fileName) override {
    for (const FileTypeDefinition& d : types)
      for (const VUnicodeString& extension : d.extensions)
        if (fileName.size() > extension.size() &&
            fileName.compare(fileName.size() - extension.size(), extension.size(), extension) == 0)
          return d;
    return std::nullopt;
  }
  void ResetToBuiltIn() override {
    ++resets;
    types.clear();
    FileTypeDefinition text;
    text.name = u"Text";
    text.extensions = VStringArray{u".txt"};
    text.transfer = FileTypeTransfer::Ascii;
    FileTypeDefinition archive;
    archive.name = u"Archive";
    archive.extensions = VStringArray{u".tar"};
    archive.transfer = FileTypeTransfer::Binary;
    types = {text, archive};
  }
  std::vector<FileTypeDefinition> types;
  std::vector<VUnicodeString> deleted;
  int resets = 0;
};

class IconsForTest : public IIconManager {
 public:
  QIcon Icon(int) override { return QIcon(); }
};

class GlobalOptionsLists : public GlobalOptionsTest {
 protected:
  GlobalOptionsArguments WithManagers() {
    GlobalOptionsArguments arguments;
    arguments.fileTypes = &types_;
    arguments.icons = &icons_;
    arguments.fileTypesChanged = &changed_;
    return arguments;
  }
  FileTypesForTest types_;
  IconsForTest icons_;
  bool changed_ = false;
};

TEST_F(GlobalOptionsLists, AFileTypeIsDeletedWhenConfirmedAndOnlyOnOk) {
  auto dialog = Open(WithManagers());
  auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
  ASSERT_EQ(page->List()->count(), 2);
  page->List()->setCurrentRow(0);
  {
    MessageBoxRecorder boxes(kIdNo);
    page->DeleteButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Are you sure you want to delete this file type definition?"));
  }
  EXPECT_EQ(page->List()->count(), 2);
  {
    MessageBoxRecorder boxes(kIdYes);
    page->DeleteButton()->click();
  }
  EXPECT_EQ(page->List()->count(), 1);
  EXPECT_TRUE(types_.deleted.empty());
  dialog->OkButton()->click();
  ASSERT_EQ(types_.deleted.size(), 1u);
  EXPECT_EQ(types_.deleted[0], u"Text");
  EXPECT_TRUE(changed_);
}

TEST_F(GlobalOptionsLists, CancelKeepsEveryFileType) {
  auto dialog = Open(WithManagers());
  auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
  page->List()->setCurrentRow(1);
  MessageBoxRecorder boxes(kIdYes);
  page->DeleteButton()->click();
  dialog->reject();
  EXPECT_TRUE(types_.deleted.empty());
  EXPECT_FALSE(changed_);
}

TEST_F(GlobalOptionsLists, ResetAllAsksFirstAndShowsTheBuiltInSet) {
  types_.types.pop_back();
  auto dialog = Open(WithManagers());
  auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
  ASSERT_EQ(page->List()->count(), 1);
  {
    MessageBoxRecorder boxes(kIdNo);
    page->ResetButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Are you sure you want to replace all "
                                                     "existing file type definitions?"));
  }
  EXPECT_EQ(types_.resets, 1);  // the one made by the constructor
  MessageBoxRecorder boxes(kIdYes);
  page->ResetButton()->click();
  EXPECT_EQ(types_.resets, 2);
  EXPECT_EQ(page->List()->count(), 2);
  EXPECT_TRUE(changed_);
}

TEST_F(GlobalOptionsLists, SearchSelectsTheTypeOfAFileOrSaysThereIsNone) {
  auto dialog = Open(WithManagers());
  auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
  page->SearchEdit()->setText(QStringLiteral("backup.tar"));
  page->SearchButton()->click();
  ASSERT_NE(page->List()->currentItem(), nullptr);
  EXPECT_EQ(page->List()->currentItem()->text(), QStringLiteral("Archive"));
  MessageBoxRecorder boxes;
  page->SearchEdit()->setText(QStringLiteral("photo.png"));
  page->SearchButton()->click();
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("A file type could not be found for 'photo.png'."));
  EXPECT_EQ(QApplication::focusWidget(), page->SearchEdit());
}

TEST_F(GlobalOptionsLists, TheDefaultSessionIsEditedThroughTheHandlerTheHostSets) {
  {
    // Unless a host puts its own, the button opens the Session Options dialog over Default.
    GlobalOptionsArguments arguments;
    auto dialog = Open(arguments);
    auto* page = Show<GlobalAutoSessionPage>(*dialog, GlobalPageId::DefaultSession);
    ASSERT_TRUE(page->EditDefaultButton()->isEnabled());
    MessageBoxRecorder boxes;
    int mode = -1;
    auto opened = uitest::WhenModal<SessionOptionsDialog>([&](SessionOptionsDialog* d) {
      mode = d->Mode();
      d->reject();
    });
    page->EditDefaultButton()->click();
    EXPECT_TRUE(*opened);
    EXPECT_EQ(mode, kSessionOptionsDefaultSession);
    EXPECT_TRUE(boxes.Shown().empty());
  }
  SetEditDefaultSessionHandler(nullptr);
  {
    GlobalOptionsArguments arguments;
    auto dialog = Open(arguments);
    auto* page = Show<GlobalAutoSessionPage>(*dialog, GlobalPageId::DefaultSession);
    EXPECT_FALSE(page->EditDefaultButton()->isEnabled());
  }
  GlobalConfig* edited = nullptr;
  unsigned flags = 0;
  SetEditDefaultSessionHandler([&](GlobalConfig* config, unsigned appearance, QWidget* parent,
                                   bool& all) {
    edited = config;
    flags = appearance;
    EXPECT_NE(parent, nullptr);
    all = true;
  });
  GlobalOptionsArguments arguments;
  arguments.appearanceFlags = 5;
  auto dialog = Open(arguments);
  auto* page = Show<GlobalAutoSessionPage>(*dialog, GlobalPageId::DefaultSession);
  ASSERT_TRUE(page->EditDefaultButton()->isEnabled());
  page->EditDefaultButton()->click();
  EXPECT_EQ(edited, &Config());
  EXPECT_EQ(flags, 5u);
  SetEditDefaultSessionHandler(nullptr);
}

TEST_F(GlobalOptionsLists, FiltersAreAddedAndEditedInTheFilterDialog) {
  folder_.WriteLines("Filters/backups", "D:\"Is Session\"=00000001\r\nD:\"Filter Type\"=00000000\r\n"
                                        "Z:\"Filter Criteria\"=00000001\r\n *.bak\r\n");
  GetSessionDatabase()->InvalidateAll();
  GlobalOptionsArguments arguments;
  auto dialog = Open(arguments);
  auto* page = Show<GlobalItemListPage>(*dialog, GlobalPageId::Filters);
  ASSERT_TRUE(page && page->AddButton() && page->EditButton());
  ASSERT_EQ(page->List()->count(), 1);
  EXPECT_TRUE(page->AddButton()->isEnabled());
  EXPECT_FALSE(page->EditButton()->isEnabled());  // nothing chosen yet

  // Add: a new filter made and saved by the filter dialog shows in the list at once.
  auto added = uitest::WhenModal<FilterPropertiesDialog>([](FilterPropertiesDialog* d) {
    EXPECT_TRUE(d->NameEdit()->text().isEmpty());
    d->NameEdit()->setText(QStringLiteral("temporary"));
    d->CriteriaEdit()->setText(QStringLiteral("*.tmp"));
    d->OkButton()->click();
  });
  page->AddButton()->click();
  EXPECT_TRUE(*added);
  ASSERT_EQ(page->List()->count(), 2);
  EXPECT_NE(folder_.Lines("Filters/temporary").find("*.tmp"), std::string::npos);

  // Edit: the chosen filter opened by name; its change written by the filter dialog.
  QList<QListWidgetItem*> backups = page->List()->findItems(QStringLiteral("backups"),
                                                            Qt::MatchExactly);
  ASSERT_EQ(backups.size(), 1);
  page->List()->setCurrentItem(backups.front());
  ASSERT_TRUE(page->EditButton()->isEnabled());
  QString shown;
  auto edited = uitest::WhenModal<FilterPropertiesDialog>([&](FilterPropertiesDialog* d) {
    shown = d->CriteriaEdit()->text();
    d->CriteriaEdit()->setText(QStringLiteral("*.bak; *.old"));
    d->OkButton()->click();
  });
  page->EditButton()->click();
  EXPECT_TRUE(*edited);
  EXPECT_EQ(shown, QStringLiteral("*.bak"));
  EXPECT_NE(folder_.Lines("Filters/backups").find(" *.old\r\n"), std::string::npos);
  ASSERT_NE(page->List()->currentItem(), nullptr);
  EXPECT_EQ(page->List()->currentItem()->text(), QStringLiteral("backups"));

  // Cancel in the filter dialog writes nothing.
  const std::string before = folder_.Lines("Filters/backups");
  auto cancelled = uitest::WhenModal<FilterPropertiesDialog>(
      [](FilterPropertiesDialog* d) { d->reject(); });
  page->EditButton()->click();
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(folder_.Lines("Filters/backups"), before);
}

}  // namespace
