// The Global Options pages that list named things rather than settings: firewalls and
// synchronisation filters (items of the configuration), and the file types of a file-type
// manager the host hands in. Deletions are asked for at once but carried out on OK, so Cancel
// leaves every item where it was; so are the file types made or edited on the page. A firewall
// made or edited is saved from its own dialog's OK, as the firewall dialog does everywhere.
#pragma once

#include <optional>
#include <vector>

#include <QIcon>

#include "config/items/item_collection.h"
#include "marrowby/property_tree.h"
#include "platform/unicode_string.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class SessionDatabase;

// Transfer types of a file-type definition.
enum class FileTypeTransfer { Ascii = 0, Binary = 1, AskUser = 2, GlobalType = 3 };

struct FileTypeDefinition {
  VUnicodeString name;
  VStringArray extensions;
  VStringArray fileNames;
  FileTypeTransfer transfer = FileTypeTransfer::GlobalType;
  VUnicodeString openWith;
  int icon = -1;
};

// The host's registry of file types (how it keeps them is its own business).
class IFileTypeManager {
 public:
  virtual ~IFileTypeManager() = default;
  virtual std::vector<FileTypeDefinition> List() = 0;
  virtual bool Add(const FileTypeDefinition& definition) = 0;  // false: the name is taken
  // Replaces the definition named `name` by `definition` (which may carry a new name). False
  // when there is no such definition or the new name is another one's.
  virtual bool Replace(const VUnicodeString& name, const FileTypeDefinition& definition) = 0;
  virtual bool Delete(const VUnicodeString& name) = 0;
  // The definition whose extension or file name matches `fileName`.
  virtual std::optional<FileTypeDefinition> Search(const VUnicodeString& fileName) = 0;
  virtual void ResetToBuiltIn() = 0;
};

class IIconManager {
 public:
  virtual ~IIconManager() = default;
  virtual QIcon Icon(int index) = 0;
};

// Firewalls or filters: the stored items of a collection, with their delete question.
class GlobalItemListPage : public VPropertyTreePage {
  Q_OBJECT
 public:
  // `database` may be null (the host's is used).
  GlobalItemListPage(uint32_t titleId, ItemCollection collection, uint32_t deleteQuestionId,
                     SessionDatabase* database = nullptr);
  void OnInitDialog() override;
  void OnApply() override;

  QListWidget* List() const { return list_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* EditButton() const { return edit_; }  // filters and firewalls
  QPushButton* DeleteButton() const { return delete_; }
  const VStringArray& PendingDeletes() const { return deleted_; }

 private:
  SessionDatabase* Database() const;
  void Reload();
  void UpdateButtons();
  void DeleteSelected();
  void EditSelected();
  ItemCollection collection_;
  uint32_t deleteQuestionId_;
  SessionDatabase* database_;
  QListWidget* list_;
  QPushButton* add_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* delete_;
  VStringArray deleted_;
};

class GlobalFileTypesPage : public VPropertyTreePage {
  Q_OBJECT
 public:
  GlobalFileTypesPage(IFileTypeManager& manager, IIconManager& icons, bool* changed);
  void OnInitDialog() override;
  void OnApply() override;

  QListWidget* List() const { return list_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* ResetButton() const { return reset_; }
  QLineEdit* SearchEdit() const { return search_; }
  QPushButton* SearchButton() const { return searchButton_; }

 private:
  // The definitions as the page shows them, each with the name it is stored under (empty for
  // one made on the page) and the entries it was stored with.
  struct Shown {
    FileTypeDefinition definition;
    VUnicodeString storedName;
    FileTypeDefinition stored;
  };
  void Fill(const std::vector<FileTypeDefinition>& definitions);
  void Edit(int row);
  bool NameTaken(const VUnicodeString& name, int except) const;
  IFileTypeManager& manager_;
  IIconManager& icons_;
  bool* changed_;
  std::vector<Shown> shown_;
  QListWidget* list_;
  QPushButton* new_;
  QPushButton* edit_;
  QPushButton* delete_;
  QPushButton* reset_;
  QLineEdit* search_;
  QPushButton* searchButton_;
  VStringArray deleted_;
};
