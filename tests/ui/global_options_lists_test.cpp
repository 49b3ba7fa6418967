// The Global Options pages that list things: the host's file types (with its managers) and the
// button that hands the Default session to the Session Options dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "global_options_test_env.h"
#include "ui/firewall_dialogs_qt.h"
#include "ui/global_options/file_type_dialog.h"
#include "ui/global_options/item_list_pages.h"
#include "ui/global_options/tls_page.h"
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
    if (Find(definition.name) != types.end()) return false;
    types.push_back(definition);
    return true;
  }
  bool Replace(const VUnicodeString& name, const FileTypeDefinition& definition) override {
    auto at = Find(name);
    if (at == types.end()) return false;
    auto other = Find(definition.name);
    if (other != types.end() && other != at) return false;
    *at = definition;
    ++replaced;
    return true;
  }
  std::vector<FileTypeDefinition>::iterator Find(const VUnicodeString& name) {
    return std::find_if(types.begin(), types.end(),
                        [&](const FileTypeDefinition& d) { return vtext::EqualsNoCase(d.name, name); });
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
  int replaced = 0;
};

class IconsForTest : public IIconManager {
 public:
  QIcon Icon(int) override { return QIcon(); }
};

class GlobalOptionsLists : public GlobalOptionsTest {
 protected:
  static bool PressOkOf(GlobalOptionsDialog& dialog) {
    dialog.OkButton()->click();
    return dialog.result() == QDialog::Accepted && !dialog.isVisible();
  }
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

void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

TEST(FileTypeNames, ATypedListIsSplitWithoutEmptiesOrRepeats) {
  EXPECT_EQ(SplitFileTypeNames(QStringLiteral(" .txt, .log;;README  .TXT\t.md ")),
            (VStringArray{u".txt", u".log", u"README", u".md"}));
  EXPECT_TRUE(SplitFileTypeNames(QStringLiteral(" ;, ")).IsEmpty());
  EXPECT_EQ(JoinFileTypeNames(VStringArray{u".c", u".h"}), QStringLiteral(".c .h"));
}

TEST_F(GlobalOptionsLists, ANewFileTypeIsCheckedInItsDialogAndAddedOnOk) {
  auto dialog = Open(WithManagers());
  auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
  MessageBoxRecorder boxes;
  std::vector<QString> refusals;
  std::vector<bool> focusRight;
  auto seen = uitest::WhenModal<FileTypeDialog>([&](FileTypeDialog* d) {
    EXPECT_EQ(d->TransferCombo()->count(), 4);
    d->OkButton()->click();  // no name
    refusals.push_back(boxes.Shown().back().text);
    focusRight.push_back(d->focusWidget() == d->NameEdit());
    Type(d->NameEdit(), QStringLiteral("text"));  // taken, whatever the case
    d->OkButton()->click();
    refusals.push_back(boxes.Shown().back().text);
    focusRight.push_back(d->focusWidget() == d->NameEdit());
    Type(d->NameEdit(), QStringLiteral("Source"));
    Type(d->ExtensionsEdit(), QStringLiteral(".c; .h .c"));
    Type(d->FileNamesEdit(), QStringLiteral("Makefile"));
    d->TransferCombo()->setCurrentIndex(d->TransferCombo()->findData(int(FileTypeTransfer::AskUser)));
    Type(d->OpenWithEdit(), QStringLiteral("/usr/bin/editor"));
    d->OkButton()->click();
  });
  page->NewButton()->click();
  ASSERT_TRUE(*seen);
  EXPECT_EQ(refusals, (std::vector<QString>{QStringLiteral("Enter a name for the file type."),
                                            QStringLiteral("The new file type already exists.")}));
  EXPECT_EQ(focusRight, std::vector<bool>(2, true));
  ASSERT_EQ(page->List()->count(), 3);
  EXPECT_EQ(page->List()->currentItem()->text(), QStringLiteral("Source"));
  EXPECT_EQ(types_.types.size(), 2u);  // nothing reaches the manager before OK
  EXPECT_TRUE(PressOkOf(*dialog));
  ASSERT_EQ(types_.types.size(), 3u);
  const FileTypeDefinition& made = types_.types[2];
  EXPECT_EQ(made.name, u"Source");
  EXPECT_EQ(made.extensions, (VStringArray{u".c", u".h"}));
  EXPECT_EQ(made.fileNames, VStringArray{u"Makefile"});
  EXPECT_EQ(made.transfer, FileTypeTransfer::AskUser);
  EXPECT_EQ(made.openWith, u"/usr/bin/editor");
  EXPECT_TRUE(changed_);
}

TEST_F(GlobalOptionsLists, AnEditedFileTypeIsReplacedOnOkAndCancelKeepsIt) {
  {
    auto dialog = Open(WithManagers());
    auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
    page->List()->setCurrentRow(0);
    uitest::WhenModal<FileTypeDialog>([&](FileTypeDialog* d) {
      Type(d->ExtensionsEdit(), QStringLiteral(".text"));
      d->OkButton()->click();
    });
    page->EditButton()->click();
    dialog->reject();
    EXPECT_EQ(types_.replaced, 0);
    EXPECT_EQ(types_.types[0].extensions, VStringArray{u".txt"});
  }
  auto dialog = Open(WithManagers());
  auto* page = Show<GlobalFileTypesPage>(*dialog, GlobalPageId::FileTypes);
  page->List()->setCurrentRow(1);
  // Its own name is not "taken"; the name of a definition deleted on the page is free again.
  page->List()->setCurrentRow(0);
  {
    MessageBoxRecorder boxes(kIdYes);
    page->DeleteButton()->click();
  }
  ASSERT_EQ(page->List()->count(), 1);
  page->List()->setCurrentRow(0);
  auto seen = uitest::WhenModal<FileTypeDialog>([&](FileTypeDialog* d) {
    EXPECT_EQ(d->NameEdit()->text(), QStringLiteral("Archive"));
    EXPECT_EQ(d->TransferCombo()->currentData().toInt(), int(FileTypeTransfer::Binary));
    Type(d->NameEdit(), QStringLiteral("Text"));
    Type(d->ExtensionsEdit(), QStringLiteral(".tar .tgz"));
    d->OkButton()->click();
  });
  page->EditButton()->click();
  ASSERT_TRUE(*seen);
  EXPECT_EQ(page->List()->item(0)->text(), QStringLiteral("Text"));
  MessageBoxRecorder refusals;
  EXPECT_TRUE(PressOkOf(*dialog));
  EXPECT_TRUE(refusals.Shown().empty());
  ASSERT_EQ(types_.types.size(), 1u);
  EXPECT_EQ(types_.types[0].name, u"Text");
  EXPECT_EQ(types_.types[0].extensions, (VStringArray{u".tar", u".tgz"}));
  EXPECT_EQ(types_.types[0].transfer, FileTypeTransfer::Binary);
  EXPECT_EQ(types_.replaced, 1);
}

TEST_F(GlobalOptionsLists, AFirewallEditedFromThePageIsSavedToItsFileUnderItsName) {
  folder_.WriteLines("Firewalls/office", "S:\"Firewall Type\"=SOCKSv5\r\n"
                                         "S:\"Firewall Address\"=old.example\r\n");
  auto dialog = Open();
  auto* page = Show<GlobalItemListPage>(*dialog, GlobalPageId::Firewall);
  ASSERT_NE(page->EditButton(), nullptr);
  EXPECT_FALSE(page->EditButton()->isEnabled());
  ASSERT_EQ(page->List()->count(), 1);
  page->List()->setCurrentRow(0);
  ASSERT_TRUE(page->EditButton()->isEnabled());
  auto seen = uitest::WhenModal<FirewallPropertiesDialog>([&](FirewallPropertiesDialog* d) {
    EXPECT_TRUE(d->NameEdit()->isReadOnly());
    EXPECT_EQ(d->AddressEdit()->text(), QStringLiteral("old.example"));
    Type(d->AddressEdit(), QStringLiteral("new.example"));
    d->OkButton()->click();
  });
  page->EditButton()->click();
  ASSERT_TRUE(*seen);
  std::string lines = folder_.Lines("Firewalls/office");
  EXPECT_NE(lines.find("S:\"Firewall Address\"=new.example\r\n"), std::string::npos) << lines;
  EXPECT_NE(lines.find("S:\"Firewall Type\"=SOCKSv5\r\n"), std::string::npos) << lines;
  EXPECT_EQ(page->List()->count(), 1);
  // Cancel of its dialog writes nothing.
  uitest::WhenModal<FirewallPropertiesDialog>([&](FirewallPropertiesDialog* d) {
    Type(d->AddressEdit(), QStringLiteral("other.example"));
    d->reject();
  });
  page->EditButton()->click();
  EXPECT_EQ(folder_.Lines("Firewalls/office"), lines);
}

TEST_F(GlobalOptionsLists, TheFileTypeDialogHasMnemonicsOfItsOwn) {
  FileTypeDefinition definition;
  FileTypeDialog dialog(definition, {});
  uitest::ExpectMnemonicsUnique(&dialog);
}

TEST_F(GlobalOptionsLists, CreatingAClientCertificateIsOfferedDisabledWithTheReason) {
  auto dialog = Open();
  auto* page = Show<GlobalTlsPage>(*dialog, GlobalPageId::Tls);
  ASSERT_NE(page->CreateButton(), nullptr);
  EXPECT_FALSE(page->CreateButton()->isEnabled());
  EXPECT_EQ(page->CreateButton()->toolTip(),
            QStringLiteral("Creating a client certificate is not available here."));
  EXPECT_TRUE(PressOkOf(*dialog));
}

}  // namespace
