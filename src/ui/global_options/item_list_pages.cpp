#include "ui/global_options/item_list_pages.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/database/session_database_instance.h"
#include "config/items/firewall_new.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/global_options/global_messages.h"
#include "ui/keywords/filter_dialog.h"

using namespace global_ui;

namespace {

QString Ask(uint32_t id) { return CatalogueText(id); }

}  // namespace

GlobalItemListPage::GlobalItemListPage(uint32_t titleId, ItemCollection collection,
                                       uint32_t deleteQuestionId, SessionDatabase* database)
    : VPropertyTreePage(CatalogueText(titleId)),
      collection_(collection),
      deleteQuestionId_(deleteQuestionId),
      database_(database) {
  auto* layout = new QHBoxLayout(this);
  list_ = new QListWidget(this);
  layout->addWidget(list_, 1);
  auto* buttons = new QVBoxLayout;
  // New firewalls are made in the firewall dialog, which saves its own; filters in the filter
  // editor, which also saves its own, so an added or edited filter is kept even on Cancel here.
  if (collection == ItemCollection::Filters) {
    add_ = new QPushButton(CatalogueText(kListAdd), this);
    edit_ = new QPushButton(CatalogueText(kListEdit), this);
    buttons->addWidget(add_);
    buttons->addWidget(edit_);
    connect(add_, &QPushButton::clicked, this, [this] {
      if (EditFilterInDatabase(VUnicodeString(), this)) Reload();
    });
    connect(edit_, &QPushButton::clicked, this, [this] { EditSelected(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { EditSelected(); });
  } else if (collection == ItemCollection::Firewalls) {
    add_ = new QPushButton(CatalogueText(kListAdd), this);
    buttons->addWidget(add_);
    connect(add_, &QPushButton::clicked, this, [this] {
      VUnicodeString name;
      VReportMessageParams error;
      if (ShowAddNewFirewallDialog(name, error)) {
        Reload();
      } else if (error.IsError()) {
        VMessageBox(this, error, kMbOk | kMbIconError);
      }
    });
  }
  delete_ = new QPushButton(CatalogueText(kListDelete), this);
  buttons->addWidget(delete_);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(delete_, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
}

void GlobalItemListPage::UpdateButtons() {
  delete_->setEnabled(list_->currentItem() != nullptr);
  if (edit_) edit_->setEnabled(list_->currentItem() != nullptr && Database() != nullptr);
}

void GlobalItemListPage::EditSelected() {
  QListWidgetItem* item = list_->currentItem();
  if (!item || !Database()) return;
  // The filter may have been renamed: the list is read again and keeps what was chosen if it
  // is still there.
  const QString chosen = item->text();
  if (!EditFilterInDatabase(FromQString(chosen), this)) return;
  Reload();
  QList<QListWidgetItem*> found = list_->findItems(chosen, Qt::MatchExactly);
  if (!found.isEmpty()) list_->setCurrentItem(found.front());
  UpdateButtons();
}

SessionDatabase* GlobalItemListPage::Database() const {
  return database_ ? database_ : GetSessionDatabase();
}

void GlobalItemListPage::OnInitDialog() { Reload(); }

void GlobalItemListPage::Reload() {
  list_->clear();
  if (SessionDatabase* database = Database()) {
    const ItemCollectionInfo& info = GetItemCollectionInfo(collection_);
    for (const VUnicodeString& name : database->ListItems(collection_)) {
      // A name the programs provide (the firewall "None") is not an item one can delete.
      if (info.virtualName && name == info.virtualName) continue;
      bool gone = false;
      for (const VUnicodeString& deleted : deleted_) gone = gone || deleted == name;
      if (!gone) list_->addItem(ToQString(name));
    }
  }
  if (add_) add_->setEnabled(Database() != nullptr);
  UpdateButtons();
}

void GlobalItemListPage::DeleteSelected() {
  QListWidgetItem* item = list_->currentItem();
  if (!item) return;
  if (VMessageBox(this, Ask(deleteQuestionId_), kMbYesNo | kMbIconQuestion) != kIdYes) return;
  deleted_.Add(FromQString(item->text()));
  delete item;
  UpdateButtons();
}

void GlobalItemListPage::OnApply() {
  SessionDatabase* database = Database();
  if (!database) return;
  for (const VUnicodeString& name : deleted_) {
    VReportMessageParams error;
    if (!database->DeleteItem(collection_, name, error))
      VMessageBox(this, error, kMbOk | kMbIconError);
  }
  deleted_.RemoveAll();
}

// ---- File Types ----

GlobalFileTypesPage::GlobalFileTypesPage(IFileTypeManager& manager, IIconManager& icons,
                                         bool* changed)
    : VPropertyTreePage(CatalogueText(kPageFileTypes)),
      manager_(manager),
      icons_(icons),
      changed_(changed) {
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  list_ = new QListWidget(this);
  row->addWidget(list_, 1);
  auto* buttons = new QVBoxLayout;
  delete_ = new QPushButton(CatalogueText(kListDelete), this);
  reset_ = new QPushButton(CatalogueText(kListReset), this);
  buttons->addWidget(delete_);
  buttons->addWidget(reset_);
  buttons->addStretch(1);
  row->addLayout(buttons);
  layout->addLayout(row, 1);
  auto* searchRow = new QHBoxLayout;
  search_ = new QLineEdit(this);
  searchButton_ = new QPushButton(CatalogueText(kListSearch), this);
  searchRow->addWidget(search_, 1);
  searchRow->addWidget(searchButton_);
  layout->addLayout(searchRow);

  connect(delete_, &QPushButton::clicked, this, [this] {
    QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    if (VMessageBox(this, Ask(kFileTypeDeleteQuestion), kMbYesNo | kMbIconQuestion) != kIdYes)
      return;
    deleted_.Add(FromQString(item->text()));
    delete item;
  });
  connect(reset_, &QPushButton::clicked, this, [this] {
    if (VMessageBox(this, Ask(kFileTypeResetQuestion), kMbYesNo | kMbIconQuestion) != kIdYes)
      return;
    // The built-in set is only known to the manager: the reset is carried out at once, as the
    // question says, so the list can show what it gives.
    manager_.ResetToBuiltIn();
    deleted_.RemoveAll();
    if (changed_) *changed_ = true;
    Fill(manager_.List());
  });
  connect(searchButton_, &QPushButton::clicked, this, [this] {
    VUnicodeString wanted = FromQString(search_->text().trimmed());
    std::optional<FileTypeDefinition> found = manager_.Search(wanted);
    QList<QListWidgetItem*> items;
    if (found) items = list_->findItems(ToQString(found->name), Qt::MatchExactly);
    if (items.isEmpty()) {
      VMessageBox(this, CatalogueText(kFileTypeNotFound, nullptr, {wanted}),
                  kMbOk | kMbIconWarning);
      search_->setFocus();
      return;
    }
    list_->setCurrentItem(items.front());
  });
}

void GlobalFileTypesPage::Fill(const std::vector<FileTypeDefinition>& definitions) {
  list_->clear();
  for (const FileTypeDefinition& definition : definitions)
    list_->addItem(new QListWidgetItem(icons_.Icon(definition.icon), ToQString(definition.name)));
}

void GlobalFileTypesPage::OnInitDialog() { Fill(manager_.List()); }

void GlobalFileTypesPage::OnApply() {
  bool changed = !deleted_.IsEmpty();
  for (const VUnicodeString& name : deleted_) manager_.Delete(name);
  deleted_.RemoveAll();
  if (changed && changed_) *changed_ = true;
}
