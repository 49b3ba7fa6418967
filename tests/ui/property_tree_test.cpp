// The page-tree dialog over a small tree of pages: which page shows, hiding and showing branches,
// checks on leaving a page and on OK (nothing written unless every opened page passes), OK
// disabled, suspended redrawing, and the page state kept between openings.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "marrowby/page_grab.h"
#include "marrowby/property_tree.h"
#include "support/test_support.h"
#include "ui_test_helpers.h"

namespace {

// A page with one field that must not be empty; OK writes the field into `written`.
class FieldPage : public VPropertyTreePage {
 public:
  FieldPage(const QString& title, QString* written) : VPropertyTreePage(title), written_(written) {}
  void OnInitDialog() override {
    ++inits;
    field = new QLineEdit(QStringLiteral("value"), this);
    (new QVBoxLayout(this))->addWidget(field);
  }
  void OnSetActive() override { ++activations; }
  bool OnKillActive() override {
    if (!field->text().isEmpty()) return true;
    VReportMessageParams error(0xE1390009, nullptr);
    return FailValidation(field, error);
  }
  void OnApply() override { *written_ = field->text(); }
  void OnDestroy() override { ++destroyed; }

  QLineEdit* field = nullptr;
  int inits = 0;
  int activations = 0;
  int destroyed = 0;

 private:
  QString* written_;
};

// Connection (Logon) / Terminal (Emulation (Modes)) / Transfer: the shape of the options tree.
struct Tree {
  explicit Tree(VPropertyPageStateMap* map, VPropertyTreePage* start = nullptr, bool startSelf = false) {
    connection = new FieldPage(QStringLiteral("Connection\nHow to reach the host"), &written[0]);
    logon = new FieldPage(QStringLiteral("Logon Actions"), &written[1]);
    terminal = new FieldPage(QStringLiteral("Terminal"), &written[2]);
    emulation = new FieldPage(QStringLiteral("Emulation"), &written[3]);
    modes = new FieldPage(QStringLiteral("Modes"), &written[4]);
    transfer = new FieldPage(QStringLiteral("File Transfer"), &written[5]);
    dialog = std::make_unique<VPropertyTreeDialog>(QStringLiteral("Options"),
                                                   startSelf ? modes : start, map);
    connection->AddPage(logon);
    dialog->AddPage(connection);
    dialog->AddPage(terminal);
    terminal->AddPage(emulation);  // after the parent joined the dialog
    emulation->AddPage(modes);
    dialog->AddPage(transfer);
  }
  QString written[6];
  FieldPage* connection;
  FieldPage* logon;
  FieldPage* terminal;
  FieldPage* emulation;
  FieldPage* modes;
  FieldPage* transfer;
  std::unique_ptr<VPropertyTreeDialog> dialog;
};

TEST(PropertyTree, PagesInTreeOrderWithLabelsFromTheFirstLineOfTheTitle) {
  Tree tree(nullptr);
  std::vector<VPropertyTreePage*> expected = {tree.connection, tree.logon, tree.terminal,
                                               tree.emulation, tree.modes, tree.transfer};
  EXPECT_EQ(tree.dialog->Pages(), expected);
  EXPECT_EQ(tree.dialog->PathOf(tree.modes),
            (QStringList{"Terminal", "Emulation", "Modes"}));
  EXPECT_EQ(tree.dialog->Tree()->topLevelItem(0)->text(0), QStringLiteral("Connection"));
  tree.dialog->show();
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.connection);
  // Only the page shown was made ready.
  EXPECT_EQ(tree.connection->inits, 1);
  EXPECT_EQ(tree.terminal->inits, 0);
  EXPECT_TRUE(tree.dialog->SelectPage(tree.modes));
  EXPECT_EQ(tree.modes->inits, 1);
  EXPECT_TRUE(tree.dialog->SelectPage(tree.connection));
  EXPECT_TRUE(tree.dialog->SelectPage(tree.modes));
  EXPECT_EQ(tree.modes->inits, 1);
  EXPECT_EQ(tree.modes->activations, 2);
}

TEST(PropertyTree, HidingABranchHidesItsPagesAndMovesOffThem) {
  Tree tree(nullptr);
  tree.dialog->show();
  tree.dialog->SelectPage(tree.modes);
  tree.dialog->HidePage(tree.emulation);
  EXPECT_FALSE(tree.dialog->IsPageVisible(tree.modes));
  EXPECT_TRUE(tree.dialog->IsPageVisible(tree.terminal));
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.terminal);  // the nearest visible page above
  tree.dialog->HidePage(tree.terminal);
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.connection);
  tree.dialog->ShowPage(tree.terminal);
  EXPECT_FALSE(tree.dialog->IsPageVisible(tree.modes));  // its own branch is still hidden
  tree.dialog->ShowPage(tree.emulation);
  EXPECT_TRUE(tree.dialog->IsPageVisible(tree.modes));
}

TEST(PropertyTree, RedrawingSuspendedWhileManyPagesChange) {
  Tree tree(nullptr);
  tree.dialog->show();
  tree.dialog->SelectPage(tree.transfer);
  tree.dialog->SuspendRedraw();
  tree.dialog->SuspendRedraw();
  EXPECT_FALSE(tree.dialog->Tree()->updatesEnabled());
  tree.dialog->HidePage(tree.transfer);
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.transfer);  // settled when redrawing resumes
  tree.dialog->ResumeRedraw();
  EXPECT_TRUE(tree.dialog->IsRedrawSuspended());
  tree.dialog->ResumeRedraw();
  EXPECT_FALSE(tree.dialog->IsRedrawSuspended());
  EXPECT_TRUE(tree.dialog->Tree()->updatesEnabled());
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.connection);
}

TEST(PropertyTree, ARefusedPageKeepsTheFocusAndNothingIsWritten) {
  uitest::MessageBoxRecorder boxes;
  Tree tree(nullptr);
  tree.dialog->show();
  tree.dialog->SelectPage(tree.logon);
  tree.logon->field->clear();
  // Leaving the page is refused.
  EXPECT_FALSE(tree.dialog->SelectPage(tree.terminal));
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.logon);
  EXPECT_EQ(boxes.Shown().size(), 1u);
  // So is clicking another page in the tree.
  tree.dialog->Tree()->setCurrentItem(tree.dialog->Tree()->topLevelItem(1));
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.logon);
  EXPECT_EQ(tree.dialog->Tree()->currentItem()->text(0), QStringLiteral("Logon Actions"));
  // OK from another page: the faulty page comes to the front with the focus on its field.
  tree.logon->field->setText(QStringLiteral("fine"));
  ASSERT_TRUE(tree.dialog->SelectPage(tree.terminal));
  tree.logon->field->clear();
  tree.dialog->OkButton()->click();
  EXPECT_TRUE(tree.dialog->isVisible());
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.logon);
  EXPECT_EQ(tree.dialog->focusWidget(), tree.logon->field);
  for (const QString& written : tree.written) EXPECT_TRUE(written.isEmpty());
  // Mended: every page that was opened writes; the others were never made ready.
  tree.logon->field->setText(QStringLiteral("mended"));
  tree.dialog->OkButton()->click();
  EXPECT_FALSE(tree.dialog->isVisible());
  EXPECT_EQ(tree.written[0], QStringLiteral("value"));
  EXPECT_EQ(tree.written[1], QStringLiteral("mended"));
  EXPECT_EQ(tree.written[2], QStringLiteral("value"));
  EXPECT_TRUE(tree.written[3].isEmpty());
}

TEST(PropertyTree, OkCanBeDisabled) {
  Tree tree(nullptr);
  tree.dialog->show();
  tree.dialog->DisableOkButton();
  EXPECT_FALSE(tree.dialog->OkButton()->isEnabled());
  tree.dialog->accept();
  EXPECT_TRUE(tree.dialog->isVisible());
  EXPECT_TRUE(tree.written[0].isEmpty());
  tree.dialog->DisableOkButton(false);
  tree.dialog->accept();
  EXPECT_FALSE(tree.dialog->isVisible());
}

TEST(PropertyTree, ThePageStateMapBringsBackThePageAndTheFoldedBranches) {
  VPropertyPageStateMap map;
  {
    Tree tree(&map);
    tree.dialog->show();
    tree.dialog->SelectPage(tree.emulation);
    tree.dialog->Tree()->topLevelItem(0)->setExpanded(false);  // Connection folded
    tree.dialog->reject();
  }
  ASSERT_TRUE(map.IsPresent(u"Options"));
  EXPECT_EQ(map.GetCount(), 1u);
  {
    Tree tree(&map);
    tree.dialog->show();
    EXPECT_EQ(tree.dialog->CurrentPage(), tree.emulation);
    EXPECT_FALSE(tree.dialog->Tree()->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(tree.dialog->Tree()->topLevelItem(1)->isExpanded());
    // A remembered page that is hidden now gives way to the first visible page.
    tree.dialog->reject();
  }
  {
    Tree tree(&map);
    tree.dialog->HidePage(tree.terminal);
    tree.dialog->show();
    EXPECT_EQ(tree.dialog->CurrentPage(), tree.connection);
  }
  {
    Tree tree(&map, nullptr, true);  // a start page given by the caller wins
    tree.dialog->show();
    EXPECT_EQ(tree.dialog->CurrentPage(), tree.modes);
  }
  EXPECT_EQ(map.GetKey(0), u"Options");
  EXPECT_THROW(map.GetKey(1), VOutOfRange);
  EXPECT_TRUE(map.RemoveKey(u"Options"));
  EXPECT_TRUE(map.IsEmpty());
}

TEST(PropertyTree, RemovingAPageTakesItsBranchAndTellsItsPages) {
  Tree tree(nullptr);
  tree.dialog->show();
  tree.dialog->SelectPage(tree.modes);
  QPointer<VPropertyTreePage> below(tree.modes);
  tree.dialog->RemovePage(tree.emulation);
  EXPECT_TRUE(below.isNull());  // the branch went with it
  std::vector<VPropertyTreePage*> expected = {tree.connection, tree.logon, tree.terminal,
                                               tree.transfer};
  EXPECT_EQ(tree.dialog->Pages(), expected);
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.terminal);
  EXPECT_EQ(tree.dialog->Tree()->topLevelItem(1)->childCount(), 0);
  tree.dialog->OkButton()->click();
  EXPECT_FALSE(tree.dialog->isVisible());
}

}  // namespace

namespace {

TEST(PropertyTree, EveryVisiblePageIsDrawnIntoItsOwnPicture) {
  EXPECT_EQ(PagePictureName(QStringLiteral("session-options"), {"Terminal", "X/Y/Zmodem"}),
            QStringLiteral("session-options-terminal-x-y-zmodem"));
  EXPECT_EQ(PagePictureName(QStringLiteral("opts"), {"ANSI Color", "Log File "}),
            QStringLiteral("opts-ansi-color-log-file"));

  qtest::TempDir dir;
  Tree tree(nullptr);
  tree.dialog->HidePage(tree.emulation);
  tree.dialog->show();
  tree.dialog->SelectPage(tree.terminal);
  std::vector<QString> written;
  QString error;
  ASSERT_TRUE(GrabPages(*tree.dialog, QString::fromStdString(dir.Path()), QStringLiteral("options"),
                        written, error))
      << error.toStdString();
  std::vector<QString> expected = {"options-connection.png", "options-connection-logon-actions.png",
                                   "options-terminal.png", "options-file-transfer.png"};
  EXPECT_EQ(written, expected);
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.terminal);
  // Each picture shows its own page.
  QImage connection(QString::fromStdString(dir / "options-connection.png"));
  QImage terminal(QString::fromStdString(dir / "options-terminal.png"));
  ASSERT_FALSE(connection.isNull());
  EXPECT_EQ(connection.size(), tree.dialog->size());
  EXPECT_NE(connection, terminal);
  EXPECT_FALSE(qtest::Exists(dir / "options-terminal-emulation.png"));

  // A page whose entry would be refused is still drawn as it stands, without a message: pictures
  // check nothing and write nothing.
  tree.dialog->SelectPage(tree.transfer);
  tree.transfer->field->clear();
  uitest::MessageBoxRecorder boxes;
  written.clear();
  EXPECT_TRUE(GrabPages(*tree.dialog, QString::fromStdString(dir.Path()), QStringLiteral("x"),
                        written, error));
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(tree.dialog->CurrentPage(), tree.transfer);
}

}  // namespace

namespace {

// A page that asks for much more width than the dialog has.
class WidePage : public VPropertyTreePage {
 public:
  using VPropertyTreePage::VPropertyTreePage;
  void OnInitDialog() override {
    auto* field = new QLineEdit(this);
    field->setMinimumWidth(1400);
    (new QVBoxLayout(this))->addWidget(field);
  }
};

TEST(PropertyTree, AWidePageLeavesTheDeepestLabelWhole) {
  VPropertyTreeDialog dialog(QStringLiteral("Options"), nullptr, nullptr);
  auto* top = new VPropertyTreePage(QStringLiteral("Terminal"));
  auto* middle = new VPropertyTreePage(QStringLiteral("Emulation"));
  auto* deep = new WidePage(QStringLiteral("A rather long label of a deep page"));
  dialog.AddPage(top);
  top->AddPage(middle);
  middle->AddPage(deep);
  dialog.resize(600, 400);
  dialog.show();
  ASSERT_TRUE(dialog.SelectPage(deep));
  QApplication::processEvents();
  auto* tree = dialog.findChild<QTreeWidget*>();
  ASSERT_TRUE(tree);
  QTreeWidgetItem* item = tree->currentItem();
  ASSERT_TRUE(item);
  const QRect shown = tree->visualItemRect(item);
  const int textWidth = tree->fontMetrics().horizontalAdvance(item->text(0));
  // The label's text fits between where the item starts and the tree's visible edge.
  EXPECT_GE(tree->viewport()->width() - shown.left(), textWidth);
}

}  // namespace
