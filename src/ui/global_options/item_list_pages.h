// The Global Options pages that list named things rather than settings: firewalls and
// synchronisation filters (items of the configuration), and the file types of a file-type
// manager the host hands in. Deletions are asked for at once but carried out on OK, so Cancel
// leaves every item where it was.
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
  QPushButton* EditButton() const { return edit_; }  // filters only
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
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* ResetButton() const { return reset_; }
  QLineEdit* SearchEdit() const { return search_; }
  QPushButton* SearchButton() const { return searchButton_; }

 private:
  void Fill(const std::vector<FileTypeDefinition>& definitions);
  IFileTypeManager& manager_;
  IIconManager& icons_;
  bool* changed_;
  QListWidget* list_;
  QPushButton* delete_;
  QPushButton* reset_;
  QLineEdit* search_;
  QPushButton* searchButton_;
  VStringArray deleted_;
};
