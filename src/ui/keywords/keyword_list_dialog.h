// The Keyword List Properties dialog: the words (or regular expressions) one keyword list
// highlights, their order and colours, Match case, the list's name, and deleting the list; and
// the small Edit Keyword dialog of one entry. The rules live in keyword_rules.h.
#pragma once

#include <functional>
#include <vector>

#include "config/highlight/keyword_entries.h"
#include "marrowby/dialog.h"

class HighlightConfig;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// Asks for a colour for a keyword, starting from `value` (0x00BBGGRR, or 255 for none); true
// with the choice in `value`. Tests put their own.
using KeywordColorPicker = std::function<bool(QWidget* owner, uint32_t& value)>;
void SetKeywordColorPicker(KeywordColorPicker picker);

class EditKeywordDialog : public VDialog {
  Q_OBJECT

 public:
  // Edits `list[index]`; the other entries are the ones it must not repeat.
  EditKeywordDialog(const std::vector<KeywordEntry>& list, int index, bool matchCase,
                    QWidget* parent = nullptr);
  KeywordEntry Entry() const { return entry_; }
  QLineEdit* Word() const { return word_; }
  QCheckBox* Regex() const { return regex_; }

 protected:
  bool OnOK() override;

 private:
  const std::vector<KeywordEntry>& list_;
  int index_;
  bool matchCase_;
  KeywordEntry entry_;
  QLineEdit* word_;
  QCheckBox* regex_;
};

class KeywordListPropertiesDialog : public VDialog {
  Q_OBJECT

 public:
  // `color` is where the colour picker starts; `word` (may be empty) is added on opening.
  KeywordListPropertiesDialog(HighlightConfig& config, bool isNew, uint32_t color,
                              const VUnicodeString& word, QWidget* parent = nullptr);

  // Delete List is offered only for a stored list, and only where the caller allows it.
  void AllowDelete(bool allow);
  bool IsDeleted() const { return deleted_; }
  const std::vector<KeywordEntry>& Entries() const { return entries_; }

  // The controls, for tests.
  QLineEdit* NameEdit() const { return name_; }
  QTreeWidget* List() const { return list_; }
  QLineEdit* WordEdit() const { return word_; }
  QCheckBox* RegexBox() const { return regex_; }
  QCheckBox* MatchCaseBox() const { return matchCase_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* RemoveButton() const { return remove_; }
  QPushButton* UpButton() const { return up_; }
  QPushButton* DownButton() const { return down_; }
  QPushButton* ColorButton() const { return color_; }
  QPushButton* DeleteListButton() const { return deleteList_; }

 protected:
  bool OnOK() override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Refill(int select);
  int Selected() const;
  void UpdateButtons();
  void OnAdd();
  void OnEdit();
  void OnRemove();
  void OnMove(int direction);
  void OnSetColor();
  void OnDeleteList();

  HighlightConfig& config_;
  bool isNew_;
  uint32_t pickerStart_;
  std::vector<KeywordEntry> entries_;
  bool deleted_ = false;
  bool focusOk_ = false;                 // a word given on opening was added
  VReportMessageParams openingMessage_;  // shown once the dialog is up
  bool hasOpeningMessage_ = false;

  QLineEdit* name_;
  QTreeWidget* list_;
  QLineEdit* word_;
  QCheckBox* regex_;
  QCheckBox* matchCase_;
  QPushButton* add_;
  QPushButton* edit_;
  QPushButton* remove_;
  QPushButton* up_;
  QPushButton* down_;
  QPushButton* color_;
  QPushButton* deleteList_;
};

// Edits `config` in the dialog: true when closed with OK (the entries, Match case and name are
// written into `config`, which the caller saves) or by deleting the list (`*deleted` is set;
// the caller deletes it). `isNew`: the list is not stored yet (no Delete List); `allowDelete`:
// the caller offers Delete List for a stored list.
bool LaunchKeywordListPropertiesDialog(HighlightConfig* config, bool isNew, bool allowDelete,
                                       unsigned long color, const VUnicodeString& word,
                                       QWidget* parent, bool* deleted = nullptr);

// The whole round for a host: opens the list `name` from the item database (a new list when
// `name` is empty or not stored), runs the dialog, and saves, renames or deletes the list. True
// when something was written; false when cancelled or, with the reason shown, when the database
// refused. `savedAs` (may be null) receives the list's name as stored afterwards, empty when it
// was deleted, so a page that chose the list can follow a rename.
bool EditKeywordListInDatabase(const VUnicodeString& name, const VUnicodeString& word,
                               QWidget* parent, VUnicodeString* savedAs = nullptr);
