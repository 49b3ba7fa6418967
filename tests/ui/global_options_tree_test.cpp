// The Global Options dialog's page tree: which pages a product gets, the pages other parts draw,
// the protocol modules' hook, the page remembered between openings, and the modal entry point.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "environment/global_pages_hook.h"
#include "report/message_catalogue.h"
#include "global_options_test_env.h"
#include "marrowby/qt_text.h"
#include "ui/colors/ansi_color_pages.h"
#include "ui_test_helpers.h"

namespace {

QStringList TopLevel(GlobalOptionsDialog& dialog) {
  QStringList labels;
  for (VPropertyTreePage* page : dialog.Pages())
    if (!page->ParentPage() && dialog.IsPageVisible(page)) labels << page->TreeLabel();
  return labels;
}

TEST(GlobalPageTable, EveryPageHasOneRowBelowARowBeforeIt) {
  std::vector<GlobalPageId> seen;
  for (const GlobalPageRow& row : GlobalPageTable()) {
    EXPECT_TRUE(row.IsTopLevel() || std::count(seen.begin(), seen.end(), row.parent) == 1)
        << row.className;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), row.id), 0) << row.className;
    EXPECT_EQ(&GlobalPageRowOf(row.id), &row);
    EXPECT_EQ(FindGlobalPageRow(row.className), &row);
    seen.push_back(row.id);
  }
  EXPECT_EQ(seen.size(), 22u);
}

TEST(GlobalPageTable, RulesFollowTheProductAndTheManagers) {
  GlobalPageConditions skellan{9, false, true, true};
  EXPECT_FALSE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::DefaultSession), skellan));
  EXPECT_FALSE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::View), skellan));
  EXPECT_FALSE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::Sound), skellan));
  EXPECT_TRUE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::FileTypes), skellan));
  EXPECT_FALSE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::Terminal), skellan));
  GlobalPageConditions lumbrel{6, false, true, false};
  EXPECT_TRUE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::Sound), lumbrel));
  EXPECT_FALSE(IsGlobalPageShown(GlobalPageRowOf(GlobalPageId::FileTypes), lumbrel));
}

using GlobalOptionsTree = GlobalOptionsTest;

TEST_F(GlobalOptionsTree, ATransferOnlyProductHasGeneralFileTransferAndFirewallAtTopLevel) {
  Conditions(9, false, true);
  auto dialog = Open();
  EXPECT_EQ(TopLevel(*dialog),
            (QStringList{QStringLiteral("General"), QStringLiteral("File Transfer"),
                         QStringLiteral("Firewall")}));
  EXPECT_EQ(dialog->Page(GlobalPageId::Terminal), nullptr);
  EXPECT_EQ(dialog->Page(GlobalPageId::DefaultSession), nullptr);
  EXPECT_EQ(dialog->Page(GlobalPageId::View), nullptr);
  EXPECT_EQ(dialog->Page(GlobalPageId::Sound), nullptr);
  ASSERT_NE(dialog->Page(GlobalPageId::General), nullptr);
  ASSERT_EQ(dialog->Page(GlobalPageId::General)->Children().size(), 1u);
  EXPECT_EQ(dialog->Page(GlobalPageId::General)->Children()[0]->TreeLabel(),
            QStringLiteral("Configuration Paths"));
}

TEST_F(GlobalOptionsTree, ATerminalOnlyProductHasNoFileTransferSubtree) {
  Conditions(3, true, false);
  auto dialog = Open();
  EXPECT_EQ(TopLevel(*dialog), (QStringList{QStringLiteral("General"), QStringLiteral("Terminal"),
                                           QStringLiteral("Firewall")}));
  EXPECT_EQ(dialog->Page(GlobalPageId::Filters), nullptr);
  EXPECT_EQ(dialog->PathOf(dialog->Page(GlobalPageId::ColorSchemes)),
            (QStringList{QStringLiteral("Terminal"), QStringLiteral("Appearance"),
                         QStringLiteral("Advanced")}));
}

class NoFileTypes : public IFileTypeManager {
 public:
  std::vector<FileTypeDefinition> List() override { return {}; }
  bool Add(const FileTypeDefinition&) override { return true; }
  bool Delete(const VUnicodeString&) override { return true; }
  bool Replace(const VUnicodeString&, const FileTypeDefinition&) override { return true; }
  std::optional<FileTypeDefinition> Search(const VUnicodeString&) override { return {}; }
  void ResetToBuiltIn() override {}
};
class NoIcons : public IIconManager {
 public:
  QIcon Icon(int) override { return QIcon(); }
};

TEST_F(GlobalOptionsTree, TheFileTypesPageNeedsBothManagers) {
  NoFileTypes types;
  NoIcons icons;
  GlobalOptionsArguments arguments;
  arguments.fileTypes = &types;
  EXPECT_EQ(Open(arguments)->Page(GlobalPageId::FileTypes), nullptr);
  arguments.fileTypes = nullptr;
  arguments.icons = &icons;
  EXPECT_EQ(Open(arguments)->Page(GlobalPageId::FileTypes), nullptr);
  arguments.fileTypes = &types;
  auto dialog = Open(arguments);
  ASSERT_NE(dialog->Page(GlobalPageId::FileTypes), nullptr);
  EXPECT_EQ(dialog->PathOf(dialog->Page(GlobalPageId::FileTypes)),
            (QStringList{QStringLiteral("File Transfer"), QStringLiteral("File Types")}));
}

TEST_F(GlobalOptionsTree, TheColourPagesAreTheColourEditorsOwn) {
  QString last;
  {
    auto first = Open();
    auto* list = dynamic_cast<GlobalColorSchemesPage*>(first->Page(GlobalPageId::ColorSchemes));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(first->SelectPage(list));
    ASSERT_GT(list->SchemeList()->count(), 1);
    last = list->SchemeList()->item(list->SchemeList()->count() - 1)->text();
    EXPECT_NE(list->SchemeList()->currentItem()->text(), last);
  }
  GlobalOptionsArguments arguments;
  arguments.colorSchemeText = FromQString(last);
  auto dialog = Open(arguments);
  auto* ansi = dynamic_cast<GlobalAnsiColorPage*>(dialog->Page(GlobalPageId::AnsiColor));
  auto* schemes = dynamic_cast<GlobalColorSchemesPage*>(dialog->Page(GlobalPageId::ColorSchemes));
  ASSERT_NE(ansi, nullptr);
  ASSERT_NE(schemes, nullptr);
  EXPECT_STREQ(dialog->ClassOf(ansi), "GlobalAnsiColorPage");
  EXPECT_STREQ(dialog->ClassOf(schemes), "GlobalColorSchemesPage");
  EXPECT_EQ(ansi->TreeLabel(), QStringLiteral("ANSI Color"));
  EXPECT_EQ(dialog->PathOf(schemes),
            (QStringList{QStringLiteral("Terminal"), QStringLiteral("Appearance"),
                         QStringLiteral("Advanced")}));
  // The pages are filled from the configuration, the scheme the host names chosen first.
  ASSERT_TRUE(dialog->SelectPage(ansi));
  EXPECT_GT(ansi->PaletteList()->count(), 0);
  ASSERT_TRUE(dialog->SelectPage(schemes));
  ASSERT_NE(schemes->SchemeList()->currentItem(), nullptr);
  EXPECT_EQ(schemes->SchemeList()->currentItem()->text(), last);
}

int gReleased = 0;

TEST_F(GlobalOptionsTree, AModulesHookAddsItsPagesAndGetsBackWhatItReturned) {
  static int token = 0;
  RegisterGlobalPagesHook(
      [](void* dialog) -> void* {
        auto* tree = static_cast<VPropertyTreeDialog*>(dialog);
        tree->AddPage(new VPropertyTreePage(QStringLiteral("Module Page")));
        return &token;
      },
      [](void* pages) { gReleased += pages == &token; });
  {
    auto dialog = Open();
    EXPECT_EQ(dialog->HookPages(), &token);
    EXPECT_EQ(TopLevel(*dialog).back(), QStringLiteral("Module Page"));
    EXPECT_EQ(gReleased, 0);
  }
  EXPECT_EQ(gReleased, 1);
  RegisterGlobalPagesHook(nullptr, nullptr);
  EXPECT_EQ(Open()->HookPages(), nullptr);
}

TEST_F(GlobalOptionsTree, TheSelectedPageIsRememberedInTheSettingOnOk) {
  Config().globalOptionsTreeSelected = VUnicodeString(u"GlobalTabsPage");
  {
    auto dialog = Open();
    EXPECT_EQ(dialog->CurrentPage(), dialog->Page(GlobalPageId::Tabs));
    ASSERT_TRUE(dialog->SelectPage(dialog->Page(GlobalPageId::Ftp)));
    dialog->reject();
  }
  // Cancel writes nothing, but the process remembers the page.
  EXPECT_EQ(Config().globalOptionsTreeSelected.Current(), u"GlobalTabsPage");
  {
    auto dialog = Open();
    EXPECT_EQ(dialog->CurrentPage(), dialog->Page(GlobalPageId::Ftp));
    ASSERT_TRUE(dialog->SelectPage(dialog->Page(GlobalPageId::Sound)));
    dialog->OkButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
  }
  EXPECT_EQ(Config().globalOptionsTreeSelected.Current(), u"GlobalSoundPage");
  EXPECT_NE(SavedGlobal().find("S:\"Global Options Tree Selected\"=GlobalSoundPage"),
            std::string::npos);
  // A page this product does not have: the first page.
  GlobalOptionsDialogBase::PageStateMap().RemoveAll();
  Conditions(3, true, false);
  auto dialog = Open();
  EXPECT_EQ(dialog->CurrentPage(), dialog->Page(GlobalPageId::General));
}

TEST_F(GlobalOptionsTree, TheModalDialogIsKnownToTheCallerOnlyWhileItRuns) {
  VPropertyTreeDialog* current = nullptr;
  VPropertyTreeDialog* seen = nullptr;
  auto shown = uitest::WhenModal<GlobalOptionsDialog>([&](GlobalOptionsDialog* dialog) {
    seen = current;
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Global Options"));
    dialog->reject();
  });
  EXPECT_EQ(ShowGlobalOptionsDialog(config_.Get(), VUnicodeString(), false, false, false, 0, true,
                                    VUnicodeString(), nullptr, nullptr, nullptr, nullptr,
                                    &current, true),
            2);
  EXPECT_TRUE(*shown);
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(current, nullptr);
}

}  // namespace

namespace {

class GlobalOptionsTreeLanguages : public GlobalOptionsTest,
                                   public ::testing::WithParamInterface<VLanguage> {
 protected:
  void TearDown() override {
    VSetMessageLanguage(VLanguage::English);
    GlobalOptionsTest::TearDown();
  }
};

TEST_P(GlobalOptionsTreeLanguages, EveryPageHasMnemonicsOfItsOwn) {
  VSetMessageLanguage(GetParam());
  NoFileTypes types;
  NoIcons icons;
  GlobalOptionsArguments arguments;
  arguments.fileTypes = &types;
  arguments.icons = &icons;
  arguments.trayAgent = true;
  auto dialog = Open(arguments);
  EXPECT_EQ(dialog->windowTitle(), GetParam() == VLanguage::French
                                       ? QStringLiteral("Options globales")
                                       : QStringLiteral("Global Options"));
  for (VPropertyTreePage* page : dialog->Pages()) {
    ASSERT_TRUE(dialog->SelectPage(page)) << page->TreeLabel().toStdString();
    SCOPED_TRACE(page->TreeLabel().toStdString());
    uitest::ExpectMnemonicsUnique(page);
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, GlobalOptionsTreeLanguages,
                         ::testing::Values(VLanguage::English, VLanguage::French));

}  // namespace
