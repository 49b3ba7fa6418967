// The Global Options pages that list things: the host's file types (with its managers) and the
// button that hands the Default session to the Session Options dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "global_options_test_env.h"
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

}  // namespace
