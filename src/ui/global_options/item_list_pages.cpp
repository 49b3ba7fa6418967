#include "ui/global_options/item_list_pages.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/database/session_database_instance.h"
#include "config/database/session_database.h"
#include "config/items/firewall_new.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/firewall_dialogs_qt.h"
#include "ui/global_options/file_type_dialog.h"
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
    edit_ = new QPushButton(CatalogueText(kListEdit), this);
    buttons->addWidget(edit_);
    connect(edit_, &QPushButton::clicked, this, [this] { EditSelected(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { EditSelected(); });
  }
  delete_ = new QPushButton(CatalogueText(kListDelete), this);
  buttons->addWidget(delete_);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(delete_, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
}

void GlobalItemListPage::UpdateButtons() {
  bool selected = list_->currentItem() != nullptr;
  delete_->setEnabled(selected);
  if (edit_) edit_->setEnabled(selected && Database() != nullptr);
}

void GlobalItemListPage::EditSelected() {
  QListWidgetItem* item = list_->currentItem();
  SessionDatabase* database = Database();
  if (!item || !database) return;
  if (collection_ == ItemCollection::Filters) {
    // The filter may have been renamed: the list is read again and keeps what was chosen if it
    // is still there.
    const QString chosen = item->text();
    if (!EditFilterInDatabase(FromQString(chosen), this)) return;
    Reload();
    QList<QListWidgetItem*> found = list_->findItems(chosen, Qt::MatchExactly);
    if (!found.isEmpty()) list_->setCurrentItem(found.front());
    UpdateButtons();
    return;
  }
  VUnicodeString name = FromQString(item->text());
  VRef<FirewallConfig> firewall = database->OpenFirewall(name);
  if (!firewall) {
    // Gone since the list was read (another program deleted it): show what is stored now.
    Reload();
    return;
  }
  // The name stays: sessions refer to their firewall by it, and a rename would leave them
  // pointing at nothing.
  FirewallPropertiesDialog dialog(*firewall.Get(), FirewallPropertiesDialog::Mode::Edit, this);
  if (dialog.exec() != QDialog::Accepted) return;
  VReportMessageParams error;
  if (!database->SaveItem(*firewall.Get(), error)) VMessageBox(this, error, kMbOk | kMbIconError);
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
  new_ = new QPushButton(CatalogueText(kListAdd), this);
  edit_ = new QPushButton(CatalogueText(kListEdit), this);
  delete_ = new QPushButton(CatalogueText(kListDelete), this);
  reset_ = new QPushButton(CatalogueText(kListReset), this);
  buttons->addWidget(new_);
  buttons->addWidget(edit_);
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

  auto updateButtons = [this] {
    bool selected = list_->currentRow() >= 0;
    edit_->setEnabled(selected);
    delete_->setEnabled(selected);
  };
  connect(list_, &QListWidget::currentRowChanged, this, updateButtons);
  updateButtons();
  connect(new_, &QPushButton::clicked, this, [this] { Edit(-1); });
  connect(edit_, &QPushButton::clicked, this, [this] {
    if (list_->currentRow() >= 0) Edit(list_->currentRow());
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Edit(list_->currentRow()); });
  connect(delete_, &QPushButton::clicked, this, [this] {
    int row = list_->currentRow();
    if (row < 0 || row >= int(shown_.size())) return;
    if (VMessageBox(this, Ask(kFileTypeDeleteQuestion), kMbYesNo | kMbIconQuestion) != kIdYes)
      return;
    if (!shown_[row].storedName.empty()) deleted_.Add(shown_[row].storedName);
    shown_.erase(shown_.begin() + row);
    delete list_->takeItem(row);
  });
  connect(reset_, &QPushButton::clicked, this, [this] {
    if (VMessageBox(this, Ask(kFileTypeResetQuestion), kMbYesNo | kMbIconQuestion) != kIdYes)
      return;
    // The built-in set is only known to the manager: the reset is carried out at once, as the
    // question says, so the list can show what it gives. What was made, edited or deleted on the
    // page before is replaced with everything else.
    manager_.ResetToBuiltIn();
    deleted_.RemoveAll();
    if (changed_) *changed_ = true;
    Fill(manager_.List());
  });
  connect(searchButton_, &QPushButton::clicked, this, [this] {
    VUnicodeString wanted = FromQString(search_->text().trimmed());
    std::optional<FileTypeDefinition> found = manager_.Search(wanted);
    int row = -1;
    // The manager knows the stored definitions; the one found is shown under the name the page
    // gives it now (or not at all when deleted on the page).
    if (found)
      for (size_t i = 0; i < shown_.size() && row < 0; ++i)
        if (!shown_[i].storedName.empty() && shown_[i].storedName == found->name) row = int(i);
    if (row < 0) {
      VMessageBox(this, CatalogueText(kFileTypeNotFound, nullptr, {wanted}),
                  kMbOk | kMbIconWarning);
      search_->setFocus();
      return;
    }
    list_->setCurrentRow(row);
  });
}

void GlobalFileTypesPage::Fill(const std::vector<FileTypeDefinition>& definitions) {
  list_->clear();
  shown_.clear();
  for (const FileTypeDefinition& definition : definitions) {
    shown_.push_back({definition, definition.name, definition});
    list_->addItem(new QListWidgetItem(icons_.Icon(definition.icon), ToQString(definition.name)));
  }
}

bool GlobalFileTypesPage::NameTaken(const VUnicodeString& name, int except) const {
  for (size_t i = 0; i < shown_.size(); ++i)
    if (int(i) != except && vtext::EqualsNoCase(shown_[i].definition.name, name)) return true;
  return false;
}

void GlobalFileTypesPage::Edit(int row) {
  bool made = row < 0 || row >= int(shown_.size());
  FileTypeDefinition definition = made ? FileTypeDefinition{} : shown_[row].definition;
  FileTypeDialog dialog(definition, [this, row, made](const VUnicodeString& name) {
    return NameTaken(name, made ? -1 : row);
  }, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (made) {
    shown_.push_back({definition, VUnicodeString(), FileTypeDefinition{}});
    list_->addItem(new QListWidgetItem(icons_.Icon(definition.icon), ToQString(definition.name)));
    list_->setCurrentRow(list_->count() - 1);
  } else {
    shown_[row].definition = definition;
    list_->item(row)->setText(ToQString(definition.name));
  }
}

void GlobalFileTypesPage::OnInitDialog() { Fill(manager_.List()); }

void GlobalFileTypesPage::OnApply() {
  bool changed = !deleted_.IsEmpty();
  for (const VUnicodeString& name : deleted_) manager_.Delete(name);
  deleted_.RemoveAll();
  // Deletions first, so that a name freed on the page can be taken by another definition.
  VStringArray refused;
  for (Shown& shown : shown_) {
    if (shown.storedName.empty() || SameFileTypeDefinition(shown.definition, shown.stored))
      continue;
    if (manager_.Replace(shown.storedName, shown.definition)) {
      shown.storedName = shown.definition.name;
      shown.stored = shown.definition;
      changed = true;
    } else {
      refused.Add(shown.definition.name);
    }
  }
  for (Shown& shown : shown_) {
    if (!shown.storedName.empty()) continue;
    if (manager_.Add(shown.definition)) {
      shown.storedName = shown.definition.name;
      shown.stored = shown.definition;
      changed = true;
    } else {
      refused.Add(shown.definition.name);
    }
  }
  if (changed && changed_) *changed_ = true;
  // The manager may hold names the page did not see (another program added them meanwhile):
  // say which definitions were not kept rather than dropping them silently.
  for (const VUnicodeString& name : refused)
    VMessageBox(this, CatalogueText(kFileTypeExists) + QStringLiteral(" (") + ToQString(name) +
                          QStringLiteral(")"),
                kMbOk | kMbIconError);
}
