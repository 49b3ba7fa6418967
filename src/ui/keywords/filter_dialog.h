// The Filter Properties dialog: what a file-transfer filter selects (include or exclude), its
// name patterns, Match case and whether folders are filtered too.
#pragma once

#include "marrowby/dialog.h"
#include "platform/unicode_string.h"

class FilterConfig;
class QCheckBox;
class QComboBox;
class QLineEdit;

class FilterPropertiesDialog : public VDialog {
  Q_OBJECT

 public:
  // A new filter's name is chosen here; a stored filter's name is shown and kept.
  FilterPropertiesDialog(FilterConfig& filter, bool isNew, QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return name_; }
  QComboBox* TypeCombo() const { return type_; }
  QLineEdit* CriteriaEdit() const { return criteria_; }
  QCheckBox* MatchCaseBox() const { return matchCase_; }
  QCheckBox* FoldersBox() const { return folders_; }

 protected:
  bool OnOK() override;

 private:
  FilterConfig& filter_;
  bool isNew_;
  QLineEdit* name_;
  QComboBox* type_;
  QLineEdit* criteria_;
  QCheckBox* matchCase_;
  QCheckBox* folders_;
};

// Edits `filter` in the dialog: true when closed with OK, the entries written into `filter`,
// which the caller saves (FilterStore::Save).
bool LaunchFilterPropertiesDialog(FilterConfig* filter, bool isNew, QWidget* parent);

// The whole round for a host: the filter `name` from the item database (a new one when `name` is
// empty or not stored), the dialog, and the save. True when the filter was written; false when
// cancelled or, with the reason shown, when the database refused.
bool EditFilterInDatabase(const VUnicodeString& name, QWidget* parent);
