#include "ui/keymap/selected_key_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "config/database/session_database_instance.h"
#include "config/global/global_config.h"
#include "config/keymap/key_codes.h"
#include "marrowby/file_browse.h"
#include "marrowby/mapped_function_types.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/keymap/keyboard_button.h"
#include "ui/keymap/keymap_ui_messages.h"

using namespace selectedkey;

namespace {

constexpr const char16_t* kDefaultButtonBar = u"Default";

QLabel* BuddyLabel(uint32_t id, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(CatalogueText(id), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

VStringArray ButtonBarNames() {
  SessionDatabase* host = GetSessionDatabase();
  VStringArray names;
  // Without a configuration in use (the key map window started alone) there is only the
  // programs' own bar.
  if (!host && !(VGetProfileFactoryGetter() && VGetProfileFactoryGetter()())) {
    names.Add(VUnicodeString(kDefaultButtonBar));
    return names;
  }
  SessionDatabase local;
  SessionDatabase& database = host ? *host : local;
  names = database.ListItems(ItemCollection::ButtonBars);
  if (std::find(names.begin(), names.end(), VUnicodeString(kDefaultButtonBar)) == names.end())
    names.InsertAt(0, VUnicodeString(kDefaultButtonBar));
  return names;
}

SelectedKeyDialog::SelectedKeyDialog(GlobalConfig* global, IKeymap* keymap, KeyboardButton* button,
                                     int keyCode, QWidget* parent)
    : SelectedKeyDialogBase(parent), global_(global), keymap_(keymap), button_(button),
      keyCode_(static_cast<uint32_t>(keyCode)) {
  before_ = CurrentChoice(*keymap_, keyCode_);
  initial_ = CategoryOf(before_.action);
  labelText_ = KeyModifiersToString(keyCode_) + vkeys::KeyNameOfCode(GetUnmodifiedKey(keyCode_));
  setWindowTitle(CatalogueText(keymapui::kSelectedKeyTitle, nullptr, {labelText_}));
  buttonBars_ = ButtonBarNames();

  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  categories_ = new QListWidget(this);
  for (int i = 0; i < GetMappedFunctionTypesSize(); ++i) categories_->addItem(GetMappedFunctionType(i));
  categories_->setMaximumWidth(190);
  left->addWidget(BuddyLabel(keymapui::kFunctionTypeLabel, categories_, this));
  left->addWidget(categories_);
  columns->addLayout(left);
  stack_ = new QStackedWidget(this);
  for (int i = 0; i < kCategoryCount; ++i) stack_->addWidget(BuildPage(static_cast<Category>(i)));
  columns->addWidget(stack_, 1);
  layout->addLayout(columns, 1);
  AddOkCancel(layout);
  resize(620, 380);

  PopulateSendString(initial_ == kSendString ? 1 : -1);
  PopulateMenuFunctions(initial_ == kMenu ? 1 : -1);
  PopulateScrollbarFunctions(initial_ == kScrollbar ? 1 : -1);
  PopulateTelnetFunctions(initial_ == kTelnet ? 1 : -1);
  PopulateTN3270Functions(initial_ == kTn3270 ? 1 : -1);
  PopulateVTFunctions(initial_ == kVt ? 1 : -1);
  PopulateSSHFunctions(initial_ == kSsh ? 1 : -1);
  PopulateSetButtonBar(initial_ == kSetButtonBar ? 1 : -1);
  PopulateRunScript(initial_ == kRunScript ? 1 : -1);
  PopulateLaunchApplication(initial_ == kLaunchApplication ? 1 : -1);
  PopulateDisable(initial_ == kDisable ? 1 : -1);

  // Only the controls of the chosen category are shown.
  connect(categories_, &QListWidget::currentRowChanged, stack_, &QStackedWidget::setCurrentIndex);
  SelectCategory(initial_);
}

QWidget* SelectedKeyDialog::BuildPage(Category category) {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  if (IsFunctionList(category)) {
    lists_[category] = new QListWidget(page);
    layout->addWidget(BuddyLabel(keymapui::kFunctionLabel, lists_[category], page));
    layout->addWidget(lists_[category], 1);
    return page;
  }
  switch (category) {
    case kSendString: {
      sendEdit_ = new QPlainTextEdit(page);
      sendEdit_->setTabChangesFocus(true);
      layout->addWidget(BuddyLabel(keymapui::kSendStringLabel, sendEdit_, page));
      layout->addWidget(sendEdit_, 1);
      auto* note = new QLabel(CatalogueText(keymapui::kOctalNote), page);
      note->setWordWrap(true);
      layout->addWidget(note);
      break;
    }
    case kSetButtonBar:
      buttonBarCombo_ = new QComboBox(page);
      layout->addWidget(BuddyLabel(keymapui::kButtonBarLabel, buttonBarCombo_, page));
      layout->addWidget(buttonBarCombo_);
      layout->addStretch(1);
      break;
    case kRunScript:
    case kLaunchApplication: {
      bool script = category == kRunScript;
      auto* file = new QLineEdit(page);
      auto* arguments = new QLineEdit(page);
      auto* browse = new QPushButton(CatalogueText(ui_messages::kBrowse), page);
      layout->addWidget(BuddyLabel(script ? keymapui::kScriptFileLabel : keymapui::kApplicationLabel,
                                   file, page));
      auto* row = new QHBoxLayout;
      row->addWidget(file, 1);
      row->addWidget(browse);
      layout->addLayout(row);
      layout->addWidget(BuddyLabel(
          script ? keymapui::kScriptArgumentsLabel : keymapui::kApplicationArgumentsLabel,
          arguments, page));
      layout->addWidget(arguments);
      layout->addStretch(1);
      if (script) {
        scriptFileEdit_ = file;
        scriptArgumentsEdit_ = arguments;
        connect(browse, &QPushButton::clicked, this, &SelectedKeyDialog::BrowseScript);
      } else {
        programEdit_ = file;
        launchArgumentsEdit_ = arguments;
        connect(browse, &QPushButton::clicked, this, &SelectedKeyDialog::BrowseProgram);
      }
      break;
    }
    case kDisable: {
      auto* note = new QLabel(CatalogueText(keymapui::kDisabledNote), page);
      note->setWordWrap(true);
      layout->addWidget(note);
      layout->addStretch(1);
      break;
    }
    default:
      break;
  }
  return page;
}

Category SelectedKeyDialog::CurrentCategory() const {
  int row = categories_->currentRow();
  return row < 0 ? kSendString : static_cast<Category>(row);
}

void SelectedKeyDialog::SelectCategory(Category category) {
  categories_->setCurrentRow(category);
  stack_->setCurrentIndex(category);
}

int SelectedKeyDialog::DoModal() {
  if (before_.action == kActionRun && global_ && global_->IsScriptingDisabled() &&
      VMessageBox(parentWidget(), CatalogueText(keymapui::kScriptingDisabled),
                  kMbOkCancel | kMbIconWarning) != kIdOk)
    return kRefused;
  return VDialog::DoModal();
}

void SelectedKeyDialog::PopulateSendString(int current) {
  if (current == 1 && before_.action == kActionSend) {
    sendString_ = before_.first;
    sendEdit_->setPlainText(ToQString(SendStringForDisplay(sendString_)));
    return;
  }
  if (current == 1 && button_) {
    // An unmapped key proposes what it types with its modifiers.
    const keylegends::KeyState& state = button_->State(keylegends::ModifierIndex(keyCode_));
    sendString_ = DefaultSendString(state.text, button_->ScanCode(), button_->Extended());
    sendEdit_->setPlainText(ToQString(sendString_));
  }
}

void SelectedKeyDialog::PopulateList(Category category, int current) {
  QListWidget* list = lists_[category];
  std::vector<ListEntry> entries = selectedkey::FunctionList(category);
  for (const ListEntry& entry : entries) {
    auto* item = new QListWidgetItem(ToQString(entry.text), list);
    item->setData(Qt::UserRole, entry.code);
  }
  int select = 0;
  if (current == 1) {
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].code == before_.action) select = static_cast<int>(i);
  }
  list->setCurrentRow(select);
  values_[category] = entries.empty() ? 0 : entries[select].code;
}

void SelectedKeyDialog::PopulateMenuFunctions(int current) { PopulateList(kMenu, current); }
void SelectedKeyDialog::PopulateScrollbarFunctions(int current) { PopulateList(kScrollbar, current); }
void SelectedKeyDialog::PopulateTelnetFunctions(int current) { PopulateList(kTelnet, current); }
void SelectedKeyDialog::PopulateTN3270Functions(int current) { PopulateList(kTn3270, current); }
void SelectedKeyDialog::PopulateVTFunctions(int current) { PopulateList(kVt, current); }
void SelectedKeyDialog::PopulateSSHFunctions(int current) { PopulateList(kSsh, current); }

void SelectedKeyDialog::PopulateSetButtonBar(int current) {
  for (const VUnicodeString& name : buttonBars_) buttonBarCombo_->addItem(ToQString(name));
  buttonBar_ = current == 1 ? before_.first : VUnicodeString(kDefaultButtonBar);
  int index = buttonBarCombo_->findText(ToQString(buttonBar_), Qt::MatchFixedString);
  if (index < 0) {
    // A bar deleted since the key was mapped stays the key's until another is chosen.
    buttonBarCombo_->addItem(ToQString(buttonBar_));
    index = buttonBarCombo_->count() - 1;
  }
  buttonBarCombo_->setCurrentIndex(index);
}

void SelectedKeyDialog::PopulateRunScript(int current) {
  if (current != 1) return;
  scriptFile_ = before_.first;
  scriptArguments_ = before_.second;
  scriptFileEdit_->setText(ToQString(scriptFile_));
  scriptArgumentsEdit_->setText(ToQString(scriptArguments_));
}

void SelectedKeyDialog::PopulateLaunchApplication(int current) {
  if (current != 1) return;
  launchCommand_ = before_.first;
  VUnicodeString program, arguments;
  SplitCommand(launchCommand_, program, arguments);
  programEdit_->setText(ToQString(program));
  launchArgumentsEdit_->setText(ToQString(arguments));
}

void SelectedKeyDialog::PopulateDisable(int) {}

void SelectedKeyDialog::BrowseScript() {
  OnBrowseHelper(scriptFileEdit_, CatalogueText(keymapui::kSelectScriptTitle), QString(),
                 VGetFileFilters({}));
}

void SelectedKeyDialog::BrowseProgram() {
  QString filters;
  VAppendFileFilter(filters, CatalogueText(keymapui::kExeFilesFilter), QStringLiteral("*.exe"));
  VAppendFileFilter(filters, CatalogueText(ui_messages::kAllFiles), QStringLiteral("*"));
  OnBrowseHelper(programEdit_, CatalogueText(keymapui::kSelectExecutableTitle), QString(), filters);
}

bool SelectedKeyDialog::OnOK() {
  Choice choice;
  Category category = CurrentCategory();
  sendString_ = SendStringForStorage(FromQString(sendEdit_->toPlainText()));
  scriptFile_ = FromQString(scriptFileEdit_->text().trimmed());
  scriptArguments_ = FromQString(scriptArgumentsEdit_->text());
  launchCommand_ = JoinCommand(FromQString(programEdit_->text().trimmed()),
                               FromQString(launchArgumentsEdit_->text().trimmed()));
  buttonBar_ = FromQString(buttonBarCombo_->currentText());
  for (int i = 0; i < kCategoryCount; ++i) {
    if (!lists_[i]) continue;
    if (QListWidgetItem* item = lists_[i]->currentItem())
      values_[i] = item->data(Qt::UserRole).toUInt();
  }
  switch (category) {
    case kSendString:
      // An empty string leaves the key unmapped.
      choice.action = sendString_.empty() ? kActionNone : kActionSend;
      choice.first = sendString_;
      break;
    case kSetButtonBar:
      choice.action = kActionSetButtonBar;
      choice.first = buttonBar_;
      break;
    case kRunScript:
      if (scriptFile_.empty()) {
        VReportMessageParams error(keymapui::kScriptFileMissing, VGetUiMessageModule());
        return FailValidation(scriptFileEdit_, error);
      }
      choice.action = kActionRun;
      choice.first = scriptFile_;
      choice.second = scriptArguments_;
      break;
    case kLaunchApplication:
      if (programEdit_->text().trimmed().isEmpty()) {
        VReportMessageParams error(keymapui::kProgramMissing, VGetUiMessageModule());
        return FailValidation(programEdit_, error);
      }
      choice.action = kActionLaunch;
      choice.first = launchCommand_;
      break;
    case kDisable:
      choice.action = kActionDisabled;
      break;
    default:
      choice.action = values_[category];
      break;
  }
  modified_ = StoreChoice(*keymap_, keyCode_, choice);
  return true;
}
