#include "ui/keywords/keyword_list_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "config/highlight/highlight_config.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/keywords/keyword_texts.h"
#include "ui/keywords/keyword_rules.h"

using namespace keyword_rules;

namespace {

KeywordColorPicker& Picker() {
  static KeywordColorPicker picker;
  return picker;
}

bool PickWithDialog(QWidget* owner, uint32_t& value) {
  QColor start = value == kNoColor ? QColor(Qt::white)
                                   : QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
  QColor chosen = QColorDialog::getColor(start, owner, CatalogueText(keyword_texts::kColorTitle));
  if (!chosen.isValid()) return false;
  value = ColorValue(chosen.red(), chosen.green(), chosen.blue());
  return true;
}

QColor ShownColor(uint32_t value) {
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QPushButton* Button(uint32_t id, QWidget* parent) {
  return new QPushButton(CatalogueText(id), parent);
}

SessionDatabase& Database(SessionDatabase& local) {
  SessionDatabase* host = GetSessionDatabase();
  return host ? *host : local;
}

}  // namespace

void SetKeywordColorPicker(KeywordColorPicker picker) { Picker() = std::move(picker); }

// ---- Edit Keyword ----

EditKeywordDialog::EditKeywordDialog(const std::vector<KeywordEntry>& list, int index,
                                     bool matchCase, QWidget* parent)
    : VDialog(parent), list_(list), index_(index), matchCase_(matchCase), entry_(list.at(index)) {
  setWindowTitle(CatalogueText(keyword_texts::kEditTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  word_ = new QLineEdit(ToQString(entry_.text), this);
  auto* label = new QLabel(CatalogueText(keyword_texts::kWordLabel), this);
  label->setBuddy(word_);
  form->addRow(label, word_);
  regex_ = new QCheckBox(CatalogueText(keyword_texts::kRegexBox), this);
  regex_->setChecked(IsRegex(entry_));
  form->addRow(regex_);
  layout->addLayout(form);
  // A plain word is limited; an expression is not (the limit follows the check box).
  auto limit = [this] {
    word_->setMaxLength(regex_->isChecked() ? 32767 : static_cast<int>(kMaxKeywordChars));
  };
  limit();
  connect(regex_, &QCheckBox::toggled, this, limit);
  AddOkCancel(layout);
  OkButton()->setText(CatalogueText(keyword_texts::kSave));
}

bool EditKeywordDialog::OnOK() {
  VUnicodeString text = FromQString(word_->text());
  bool regex = regex_->isChecked();
  VReportMessageParams error;
  if (!CheckKeyword(list_, text, regex, matchCase_, index_, error))
    return FailValidation(word_, error);
  entry_.text = text;
  entry_.flags = regex ? (entry_.flags | kRegexFlag) : (entry_.flags & ~kRegexFlag);
  return true;
}

// ---- Keyword List Properties ----

KeywordListPropertiesDialog::KeywordListPropertiesDialog(HighlightConfig& config, bool isNew,
                                                         uint32_t color, const VUnicodeString& word,
                                                         QWidget* parent)
    : VDialog(parent), config_(config), isNew_(isNew), pickerStart_(color),
      entries_(config.GetKeywords()) {
  setWindowTitle(CatalogueText(keyword_texts::kListTitle));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QFormLayout;
  name_ = new QLineEdit(ToQString(config.GetItemName()), this);
  auto* nameLabel = new QLabel(CatalogueText(keyword_texts::kNameLabel), this);
  nameLabel->setBuddy(name_);
  top->addRow(nameLabel, name_);
  layout->addLayout(top);

  auto* listLabel = new QLabel(CatalogueText(keyword_texts::kKeywordsLabel), this);
  layout->addWidget(listLabel);
  auto* middle = new QHBoxLayout;
  list_ = new QTreeWidget(this);
  list_->setColumnCount(2);
  list_->setHeaderLabels({CatalogueText(keyword_texts::kKeywordColumn),
                          CatalogueText(keyword_texts::kTypeColumn)});
  list_->setRootIsDecorated(false);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  listLabel->setBuddy(list_);
  middle->addWidget(list_, 1);
  auto* side = new QVBoxLayout;
  edit_ = Button(keyword_texts::kEditButton, this);
  remove_ = Button(keyword_texts::kRemoveButton, this);
  up_ = Button(keyword_texts::kUpButton, this);
  down_ = Button(keyword_texts::kDownButton, this);
  color_ = Button(keyword_texts::kColorButton, this);
  for (QPushButton* button : {edit_, remove_, up_, down_, color_}) side->addWidget(button);
  side->addStretch();
  middle->addLayout(side);
  layout->addLayout(middle);

  auto* adding = new QHBoxLayout;
  auto* wordLabel = new QLabel(CatalogueText(keyword_texts::kWordLabel), this);
  word_ = new QLineEdit(this);
  word_->setMaxLength(static_cast<int>(kMaxKeywordChars));
  wordLabel->setBuddy(word_);
  add_ = Button(keyword_texts::kAddButton, this);
  adding->addWidget(wordLabel);
  adding->addWidget(word_, 1);
  adding->addWidget(add_);
  layout->addLayout(adding);
  regex_ = new QCheckBox(CatalogueText(keyword_texts::kRegexBox), this);
  layout->addWidget(regex_);
  matchCase_ = new QCheckBox(CatalogueText(keyword_texts::kMatchCase), this);
  matchCase_->setChecked(config.GetMatchCase());
  layout->addWidget(matchCase_);

  auto* bottom = new QHBoxLayout;
  deleteList_ = Button(keyword_texts::kDeleteList, this);
  deleteList_->setVisible(!isNew_);
  bottom->addWidget(deleteList_);
  bottom->addStretch();
  layout->addLayout(bottom);
  AddOkCancel(bottom);

  // An expression may be longer than a word; the field's limit follows the check box.
  connect(regex_, &QCheckBox::toggled, this, [this](bool on) {
    word_->setMaxLength(on ? 32767 : static_cast<int>(kMaxKeywordChars));
  });
  connect(word_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { OnEdit(); });
  connect(add_, &QPushButton::clicked, this, [this] { OnAdd(); });
  connect(edit_, &QPushButton::clicked, this, [this] { OnEdit(); });
  connect(remove_, &QPushButton::clicked, this, [this] { OnRemove(); });
  connect(up_, &QPushButton::clicked, this, [this] { OnMove(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { OnMove(+1); });
  connect(color_, &QPushButton::clicked, this, [this] { OnSetColor(); });
  connect(deleteList_, &QPushButton::clicked, this, [this] { OnDeleteList(); });
  // Buttons other than OK do not take Enter for themselves when focused.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button != OkButton()) button->setAutoDefault(false);
  }

  // Tab order follows the layout.
  setTabOrder(name_, list_);
  setTabOrder(list_, edit_);
  setTabOrder(edit_, remove_);
  setTabOrder(remove_, up_);
  setTabOrder(up_, down_);
  setTabOrder(down_, color_);
  setTabOrder(color_, word_);
  setTabOrder(word_, add_);
  setTabOrder(add_, regex_);
  setTabOrder(regex_, matchCase_);
  setTabOrder(matchCase_, deleteList_);

  OpeningWord opening = ApplyOpeningWord(entries_, word, matchCase_->isChecked());
  switch (opening.outcome) {
    case OpeningWord::Outcome::Selected:
      Refill(opening.index);
      break;
    case OpeningWord::Outcome::Appended:
      Refill(opening.index);
      focusOk_ = true;
      break;
    case OpeningWord::Outcome::TooLong:
    case OpeningWord::Outcome::Refused:
      Refill(-1);
      word_->setText(ToQString(opening.wordField));
      openingMessage_ = opening.message;
      hasOpeningMessage_ = true;
      break;
    case OpeningWord::Outcome::None:
      Refill(-1);
      break;
  }
  resize(520, 420);
}

void KeywordListPropertiesDialog::AllowDelete(bool allow) {
  deleteList_->setVisible(!isNew_ && allow);
}

void KeywordListPropertiesDialog::showEvent(QShowEvent* event) {
  VDialog::showEvent(event);
  if (focusOk_) {
    focusOk_ = false;
    QTimer::singleShot(0, OkButton(), [this] { OkButton()->setFocus(Qt::OtherFocusReason); });
  }
  if (hasOpeningMessage_) {
    hasOpeningMessage_ = false;
    QTimer::singleShot(0, this, [this] {
      VMessageBox(this, openingMessage_, kMbOk | kMbIconWarning);
      word_->setFocus(Qt::OtherFocusReason);
    });
  }
}

void KeywordListPropertiesDialog::keyPressEvent(QKeyEvent* event) {
  // Enter in the word field adds the word; it must not close the dialog.
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && focusWidget() == word_) {
    OnAdd();
    event->accept();
    return;
  }
  VDialog::keyPressEvent(event);
}

void KeywordListPropertiesDialog::Refill(int select) {
  list_->clear();
  for (const KeywordEntry& entry : entries_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, ToQString(entry.text));
    item->setText(1, CatalogueText(IsRegex(entry) ? keyword_texts::kTypeRegex
                                                  : keyword_texts::kTypeWord));
    if (entry.value != kNoColor) item->setForeground(0, ShownColor(entry.value));
  }
  if (select >= 0 && select < list_->topLevelItemCount()) {
    QTreeWidgetItem* item = list_->topLevelItem(select);
    list_->setCurrentItem(item);
    list_->scrollToItem(item);
  }
  UpdateButtons();
}

int KeywordListPropertiesDialog::Selected() const {
  QTreeWidgetItem* item = list_->currentItem();
  if (!item || !item->isSelected()) return -1;
  return list_->indexOfTopLevelItem(item);
}

void KeywordListPropertiesDialog::UpdateButtons() {
  int selected = Selected();
  bool any = selected >= 0;
  edit_->setEnabled(any);
  remove_->setEnabled(any);
  color_->setEnabled(any);
  up_->setEnabled(any && selected > 0);
  down_->setEnabled(any && selected + 1 < static_cast<int>(entries_.size()));
  add_->setEnabled(!word_->text().isEmpty());
}

void KeywordListPropertiesDialog::OnAdd() {
  VUnicodeString text = FromQString(word_->text());
  if (text.empty()) return;
  bool regex = regex_->isChecked();
  VReportMessageParams error;
  if (!CheckKeyword(entries_, text, regex, matchCase_->isChecked(), -1, error)) {
    FailValidation(word_, error);
    return;
  }
  entries_.push_back(KeywordEntry{text, kNoColor, regex ? kRegexFlag : uint8_t{0}});
  Refill(static_cast<int>(entries_.size()) - 1);
  word_->clear();
  regex_->setChecked(false);
  word_->setFocus(Qt::OtherFocusReason);
}

void KeywordListPropertiesDialog::OnEdit() {
  int selected = Selected();
  if (selected < 0) return;
  EditKeywordDialog dialog(entries_, selected, matchCase_->isChecked(), this);
  if (dialog.DoModal() != kIdOk) return;
  entries_[selected] = dialog.Entry();
  Refill(selected);
}

void KeywordListPropertiesDialog::OnRemove() {
  int selected = Selected();
  if (selected < 0) return;
  entries_.erase(entries_.begin() + selected);
  Refill(std::min(selected, static_cast<int>(entries_.size()) - 1));
}

void KeywordListPropertiesDialog::OnMove(int direction) {
  int selected = Selected();
  if (selected < 0) return;
  Refill(MoveEntry(entries_, selected, direction));
}

void KeywordListPropertiesDialog::OnSetColor() {
  int selected = Selected();
  if (selected < 0) return;
  uint32_t value = entries_[selected].value == kNoColor ? pickerStart_ : entries_[selected].value;
  bool chosen = Picker() ? Picker()(this, value) : PickWithDialog(this, value);
  if (!chosen) return;
  entries_[selected].value = value;
  Refill(selected);
}

void KeywordListPropertiesDialog::OnDeleteList() {
  VReportMessageParams question(kMsgConfirmDeleteList);
  if (VMessageBox(this, question, kMbYesNo | kMbIconQuestion) != kIdYes) return;
  deleted_ = true;
  // Closes as OK without writing: the caller deletes the list.
  done(kIdOk);
}

bool KeywordListPropertiesDialog::OnOK() {
  VUnicodeString name = FromQString(name_->text());
  const VUnicodeString& existing = config_.GetItemName();
  SessionDatabase local;
  SessionDatabase& database = Database(local);
  // Another list of that name; the list's own name (in any case) is not another list.
  bool taken = !(!isNew_ && vtext::EqualsNoCase(name, existing)) &&
               database.ItemExists(ItemCollection::KeywordLists, name);
  VReportMessageParams error;
  if (!CheckListName(name, isNew_ ? VUnicodeString() : existing, isNew_, taken, error))
    return FailValidation(name_, error);
  // Words added while Match case was on may repeat each other once it is off.
  int repeated = FirstRepeatedKeyword(entries_, matchCase_->isChecked());
  if (repeated >= 0) {
    error = VReportMessageParams(kMsgKeywordDuplicate);
    error.AddInsert(entries_[repeated].text);
    Refill(repeated);
    return FailValidation(matchCase_, error);
  }
  config_.SetKeywords(entries_);
  config_.SetMatchCase(matchCase_->isChecked());
  config_.SetItemName(name);
  return true;
}

bool LaunchKeywordListPropertiesDialog(HighlightConfig* config, bool isNew, bool allowDelete,
                                       unsigned long color, const VUnicodeString& word,
                                       QWidget* parent, bool* deleted) {
  if (deleted) *deleted = false;
  if (!config) return false;
  KeywordListPropertiesDialog dialog(*config, isNew, static_cast<uint32_t>(color), word, parent);
  dialog.AllowDelete(allowDelete);
  if (dialog.DoModal() != kIdOk) return false;
  if (deleted) *deleted = dialog.IsDeleted();
  return true;
}

bool EditKeywordListInDatabase(const VUnicodeString& name, const VUnicodeString& word,
                               QWidget* parent, VUnicodeString* savedAs) {
  SessionDatabase local;
  SessionDatabase& database = Database(local);
  VRef<HighlightConfig> config;
  if (!name.empty()) config = database.OpenKeywordList(name);
  bool isNew = !config;
  if (isNew) {
    config = VRef<HighlightConfig>(new HighlightConfig(name));
    config->Load(nullptr);
  }
  VUnicodeString before = config->GetItemName();
  bool deleted = false;
  if (!LaunchKeywordListPropertiesDialog(config.Get(), isNew, true, kNoColor, word, parent,
                                         &deleted))
    return false;
  VReportMessageParams error;
  if (deleted) {
    if (database.DeleteItem(ItemCollection::KeywordLists, before, error)) {
      if (savedAs) savedAs->clear();
      return true;
    }
    VMessageBox(parent, error, kMbOk | kMbIconError);
    return false;
  }
  bool renamed = !isNew && before != config->GetItemName();
  // A renamed list is written whole under its new name before the old key goes.
  if (!database.SaveItem(*config.Get(), error, isNew || renamed)) {
    VMessageBox(parent, error, kMbOk | kMbIconError);
    return false;
  }
  if (renamed && !vtext::EqualsNoCase(before, config->GetItemName()) &&
      !database.DeleteItem(ItemCollection::KeywordLists, before, error)) {
    VMessageBox(parent, error, kMbOk | kMbIconError);
    return false;
  }
  if (savedAs) *savedAs = config->GetItemName();
  return true;
}
