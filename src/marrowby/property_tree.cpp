#include "marrowby/property_tree.h"

#include <algorithm>
#include <functional>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"

// ---- VPropertyTreePage ----

VPropertyTreePage::VPropertyTreePage(const QString& title, QWidget* parent)
    : QWidget(parent), title_(title) {}

VPropertyTreePage::~VPropertyTreePage() = default;

void VPropertyTreePage::AddPage(VPropertyTreePage* child) {
  if (dialog_) {
    dialog_->AddPageUnder(child, this);
    return;
  }
  child->parentPage_ = this;
  children_.push_back(child);
}

bool VPropertyTreePage::FailValidation(QWidget* control, IReportMessageParams& message) {
  if (dialog_ && dialog_->current_ != this) dialog_->Activate(this);
  VMessageBox(dialog_ ? static_cast<QWidget*>(dialog_) : this, message, kMbOk | kMbIconWarning);
  if (control) {
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  }
  return false;
}

// ---- VPropertyTreeDialog ----

VPropertyTreeDialog::VPropertyTreeDialog(const QString& title, VPropertyTreePage* startPage,
                                         VPropertyPageStateMap* stateMap, QWidget* parent,
                                         const QString& stateKey)
    : VDialog(parent), start_(startPage), stateMap_(stateMap),
      stateKey_(FromQString(stateKey.isEmpty() ? title : stateKey)) {
  setWindowTitle(title);
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setRootIsDecorated(true);
  stack_ = new QStackedWidget(this);
  heading_ = new QLabel(this);
  QFont bold = heading_->font();
  bold.setBold(true);
  heading_->setFont(bold);

  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(heading_);
  rightLayout->addWidget(stack_, 1);

  auto* body = new QHBoxLayout;
  body->addWidget(tree_);
  body->addWidget(right, 1);
  tree_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 14);
  tree_->setMaximumWidth(tree_->minimumWidth() * 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  AddOkCancel(layout);

  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
            if (!now) return;
            auto* page = static_cast<VPropertyTreePage*>(now->data(0, Qt::UserRole).value<void*>());
            if (page == current_) return;
            if (!SelectPage(page) && before) {
              QSignalBlocker block(tree_);
              tree_->setCurrentItem(before);
            }
          });
}

VPropertyTreeDialog::~VPropertyTreeDialog() {
  for (VPropertyTreePage* page : Pages()) page->OnDestroy();
}

void VPropertyTreeDialog::AddPageUnder(VPropertyTreePage* page, VPropertyTreePage* parent) {
  auto* item = parent ? new QTreeWidgetItem(parent->item_) : new QTreeWidgetItem(tree_);
  item->setText(0, page->TreeLabel());
  item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(page)));
  page->item_ = item;
  page->dialog_ = this;
  if (parent) {
    page->parentPage_ = parent;
    if (std::find(parent->children_.begin(), parent->children_.end(), page) ==
        parent->children_.end())
      parent->children_.push_back(page);
  } else {
    topPages_.push_back(page);
  }
  stack_->addWidget(page);
  item->setExpanded(true);
  FitTreeTo(item);
  // Pages hung below this one before it joined the dialog come with it.
  for (VPropertyTreePage* child : std::vector<VPropertyTreePage*>(page->children_))
    if (!child->dialog_) AddPageUnder(child, page);
}

void VPropertyTreeDialog::FitTreeTo(QTreeWidgetItem* item) {
  // A wide page takes the room the layout gives; the tree still keeps its deepest, longest label
  // whole.
  int depth = 1;  // the root is decorated too
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) ++depth;
  const int needed = tree_->indentation() * depth +
                     tree_->fontMetrics().horizontalAdvance(item->text(0)) +
                     tree_->frameWidth() * 2 + tree_->fontMetrics().averageCharWidth() * 2;
  if (needed <= tree_->minimumWidth()) return;
  tree_->setMinimumWidth(needed);
  tree_->setMaximumWidth(std::max(tree_->maximumWidth(), needed));
}

void VPropertyTreeDialog::Detach(VPropertyTreePage* page, std::vector<VPropertyTreePage*>& gone) {
  for (VPropertyTreePage* child : page->children_) Detach(child, gone);
  page->OnDestroy();
  stack_->removeWidget(page);
  if (current_ == page) current_ = nullptr;
  if (start_ == page) start_ = nullptr;
  gone.push_back(page);
}

void VPropertyTreeDialog::RemovePage(VPropertyTreePage* page) {
  if (page->dialog_ != this) return;
  // When the page shown goes with the branch, the page above the branch takes its place.
  bool currentGoes = false;
  for (VPropertyTreePage* up = current_; up && !currentGoes; up = up->parentPage_)
    currentGoes = up == page;
  VPropertyTreePage* fallback = currentGoes ? page->parentPage_ : nullptr;
  std::vector<VPropertyTreePage*> gone;  // the branch, pages below first
  Detach(page, gone);
  if (VPropertyTreePage* parent = page->parentPage_) {
    auto& siblings = parent->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), page), siblings.end());
  } else {
    topPages_.erase(std::remove(topPages_.begin(), topPages_.end(), page), topPages_.end());
  }
  {
    QSignalBlocker block(tree_);
    delete page->item_;  // and the items of its branch
  }
  for (VPropertyTreePage* each : gone) delete each;
  if (fallback && started_ && suspended_ == 0 && IsPageVisible(fallback)) Activate(fallback);
  else EnsureVisibleCurrent();
}

void VPropertyTreeDialog::ShowPage(VPropertyTreePage* page) {
  if (page->item_) page->item_->setHidden(false);
  EnsureVisibleCurrent();
}

void VPropertyTreeDialog::HidePage(VPropertyTreePage* page) {
  if (page->item_) page->item_->setHidden(true);
  EnsureVisibleCurrent();
}

bool VPropertyTreeDialog::IsPageVisible(const VPropertyTreePage* page) const {
  for (const QTreeWidgetItem* item = page->item_; item; item = item->parent())
    if (item->isHidden()) return false;
  return page->item_ != nullptr;
}

bool VPropertyTreeDialog::SelectPage(VPropertyTreePage* page) {
  if (!page || page == current_) return page != nullptr;
  if (current_ && current_->initialized_ && !current_->OnKillActive()) return false;
  Activate(page);
  return true;
}

void VPropertyTreeDialog::ShowPageUnchecked(VPropertyTreePage* page) {
  if (page && page != current_) Activate(page);
}

void VPropertyTreeDialog::Activate(VPropertyTreePage* page) {
  current_ = page;
  if (!page->initialized_) {
    page->initialized_ = true;
    page->OnInitDialog();
  }
  stack_->setCurrentWidget(page);
  heading_->setText(page->Title());
  {
    QSignalBlocker block(tree_);
    tree_->setCurrentItem(page->item_);
  }
  page->OnSetActive();
}

std::vector<VPropertyTreePage*> VPropertyTreeDialog::Pages() const {
  std::vector<VPropertyTreePage*> pages;
  std::function<void(VPropertyTreePage*)> walk = [&](VPropertyTreePage* page) {
    pages.push_back(page);
    for (VPropertyTreePage* child : page->children_) walk(child);
  };
  for (VPropertyTreePage* page : topPages_) walk(page);
  return pages;
}

QStringList VPropertyTreeDialog::PathOf(const VPropertyTreePage* page) const {
  QStringList path;
  for (; page; page = page->parentPage_) path.prepend(page->TreeLabel());
  return path;
}

VPropertyTreePage* VPropertyTreeDialog::FindPage(const QStringList& path) const {
  for (VPropertyTreePage* page : Pages())
    if (PathOf(page) == path) return page;
  return nullptr;
}

VPropertyTreePage* VPropertyTreeDialog::FirstVisible() const {
  for (VPropertyTreePage* page : Pages())
    if (IsPageVisible(page)) return page;
  return nullptr;
}

void VPropertyTreeDialog::EnsureVisibleCurrent() {
  if (suspended_ > 0 || !started_) return;
  if (current_ && IsPageVisible(current_)) return;
  // The page shown went away with its branch: the nearest visible page above it, else the first.
  VPropertyTreePage* next = nullptr;
  for (VPropertyTreePage* up = current_ ? current_->parentPage_ : nullptr; up && !next;
       up = up->parentPage_)
    if (IsPageVisible(up)) next = up;
  if (!next) next = FirstVisible();
  if (next) Activate(next);
  else current_ = nullptr;
}

void VPropertyTreeDialog::SuspendRedraw() {
  if (suspended_++ == 0) {
    tree_->setUpdatesEnabled(false);
    stack_->setUpdatesEnabled(false);
  }
}

void VPropertyTreeDialog::ResumeRedraw() {
  if (suspended_ == 0 || --suspended_ > 0) return;
  tree_->setUpdatesEnabled(true);
  stack_->setUpdatesEnabled(true);
  EnsureVisibleCurrent();
}

void VPropertyTreeDialog::DisableOkButton(bool disable) {
  if (OkButton()) OkButton()->setEnabled(!disable);
}

void VPropertyTreeDialog::showEvent(QShowEvent* event) {
  if (!started_) {
    started_ = true;
    VPropertyPageState state;
    bool remembered = stateMap_ && stateMap_->Lookup(stateKey_, state);
    if (remembered) {
      for (const QStringList& path : state.folded)
        if (VPropertyTreePage* page = FindPage(path)) page->item_->setExpanded(false);
    }
    VPropertyTreePage* first = start_ && IsPageVisible(start_) ? start_ : nullptr;
    if (!first && remembered) {
      VPropertyTreePage* page = FindPage(state.selectedPath);
      if (page && IsPageVisible(page)) first = page;
    }
    if (!first) first = FirstVisible();
    if (first) Activate(first);
  }
  VDialog::showEvent(event);
}

bool VPropertyTreeDialog::OnOK() {
  if (OkButton() && !OkButton()->isEnabled()) return false;
  // The page in front first, then every other page that was opened: nothing is written until
  // all of them accept their entries.
  if (current_ && current_->initialized_ && !current_->OnKillActive()) return false;
  for (VPropertyTreePage* page : Pages())
    if (page != current_ && page->initialized_ && !page->OnKillActive()) return false;
  for (VPropertyTreePage* page : Pages())
    if (page->initialized_) page->OnApply();
  return true;
}

void VPropertyTreeDialog::SaveState() {
  if (!stateMap_) return;
  VPropertyPageState state;
  if (current_) state.selectedPath = PathOf(current_);
  for (VPropertyTreePage* page : Pages())
    if (!page->children_.empty() && !page->item_->isExpanded())
      state.folded.push_back(PathOf(page));
  stateMap_->Set(stateKey_, state);
}

void VPropertyTreeDialog::done(int code) {
  SaveState();
  VDialog::done(code);
}
