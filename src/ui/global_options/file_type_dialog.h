// The small dialog that edits one file-type definition of the File Types page: its name, the
// extensions and file names it matches, how files of that type are transferred and the program
// that opens them. It writes into the definition only once every entry is accepted.
#pragma once

#include <functional>

#include <QString>

#include "marrowby/dialog.h"
#include "ui/global_options/item_list_pages.h"

class QComboBox;
class QLineEdit;
class QPushButton;

// A list typed in one field ("*.txt .log; README"): split at spaces, commas and semicolons,
// empty entries and repeats (ignoring case) dropped, order kept.
VStringArray SplitFileTypeNames(const QString& text);
QString JoinFileTypeNames(const VStringArray& names);
// Whether two definitions hold the same entries (the icon included).
bool SameFileTypeDefinition(const FileTypeDefinition& a, const FileTypeDefinition& b);

class FileTypeDialog : public VDialog {
  Q_OBJECT
 public:
  // Whether another definition already has the name (the one edited is not asked about).
  using NameTaken = std::function<bool(const VUnicodeString& name)>;
  FileTypeDialog(FileTypeDefinition& definition, NameTaken nameTaken, QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* ExtensionsEdit() const { return extensions_; }
  QLineEdit* FileNamesEdit() const { return fileNames_; }
  QComboBox* TransferCombo() const { return transfer_; }
  QLineEdit* OpenWithEdit() const { return openWith_; }
  QPushButton* BrowseButton() const { return browse_; }

 protected:
  bool OnOK() override;

 private:
  FileTypeDefinition& definition_;
  NameTaken nameTaken_;
  QLineEdit* name_;
  QLineEdit* extensions_;
  QLineEdit* fileNames_;
  QComboBox* transfer_;
  QLineEdit* openWith_;
  QPushButton* browse_;
};
