#include "ui/keymap/keymap_editor_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/keymap/key_codes.h"
#include "config/keymap/keymap_functions.h"
#include "marrowby/list_ctrl.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "ui/keymap/capture_key_dialog.h"
#include "ui/keymap/keyboard_layout.h"
#include "ui/keymap/keymap_ui_messages.h"
#include "ui/keymap/on_screen_keyboard.h"
#include "ui/keymap/selected_key_dialog.h"

QString KeyCombinationText(uint32_t keyCode) {
  return ToQString(KeyModifiersToString(keyCode) + vkeys::KeyNameOfCode(GetUnmodifiedKey(keyCode)));
}

std::array<QString, 3> MappingRowTexts(const KeyMapping& mapping) {
  return {KeyCombinationText(mapping.keyCode), ToQString(vkeymap::FunctionNameOfCode(mapping.action)),
          ToQString(mapping.first)};
}

KeymapEditorPanel::KeymapEditorPanel(IKeymap* keymap, GlobalConfig* global, QWidget* parent)
    : QWidget(parent), keymap_(keymap), global_(global) {
  std::string error;
  layout_ = keylegends::KeyboardLayout::OpenUsers(error);
  if (!layout_) qWarning("%s", error.c_str());  // the keys then show their labels only

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* top = new QHBoxLayout;
  list_ = new VListCtrl(this);
  list_->SetColumns({{CatalogueText(keymapui::kKeyCombinationColumn), 35},
                     {CatalogueText(keymapui::kFunctionColumn), 35},
                     {CatalogueText(keymapui::kArgumentColumn), 30}});
  list_->setMinimumHeight(list_->fontMetrics().height() * 8);
  auto* listLabel = new QLabel(CatalogueText(keymapui::kKeyMapLabel), this);
  listLabel->setBuddy(list_);
  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(listLabel);
  listColumn->addWidget(list_, 1);
  top->addLayout(listColumn, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(listLabel->sizeHint().height());
  mapKey_ = new QPushButton(CatalogueText(keymapui::kMapKeyButton), this);
  edit_ = new QPushButton(CatalogueText(keymapui::kEditButton), this);
  delete_ = new QPushButton(CatalogueText(keymapui::kDeleteButton), this);
  for (QPushButton* button : {mapKey_, edit_, delete_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  top->addLayout(buttons);
  layout->addLayout(top, 1);
  auto* hint = new QLabel(CatalogueText(keymapui::kKeyboardHint), this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  keyboard_ = new OnScreenKeyboard(layout_.get(), this);
  layout->addWidget(keyboard_, 0, Qt::AlignHCenter);

  connect(mapKey_, &QPushButton::clicked, this, &KeymapEditorPanel::OnMapKey);
  connect(edit_, &QPushButton::clicked, this, &KeymapEditorPanel::EditSelected);
  connect(delete_, &QPushButton::clicked, this, &KeymapEditorPanel::DeleteSelected);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &KeymapEditorPanel::UpdateButtons);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { EditSelected(); });
  connect(keyboard_, &OnScreenKeyboard::KeyClicked, this, [this](KeyboardButton* button) {
    uint32_t modifiers = keylegends::ModifierBitsOfIndex(keyboard_->Modifier());
    if (button->Extended()) modifiers |= kKeyExtended;
    MapButton(button, modifiers);
  });
  Reload();
}

KeymapEditorPanel::~KeymapEditorPanel() = default;

void KeymapEditorPanel::Reload() {
  list_->DeleteAllRows();
  for (size_t i = 0; i < keymap_->GetCount(); ++i) {
    const KeyMapping& mapping = keymap_->GetAt(i);
    if (mapping.action == kActionNone) continue;
    std::array<QString, 3> texts = MappingRowTexts(mapping);
    int row = list_->AddRow({texts[0], texts[1], texts[2]});
    list_->topLevelItem(row)->setData(0, Qt::UserRole, mapping.keyCode);
  }
  UpdateButtons();
}

void KeymapEditorPanel::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  mapKey_->setEnabled(!readOnly);
  keyboard_->setEnabled(!readOnly);
  UpdateButtons();
}

void KeymapEditorPanel::UpdateButtons() {
  bool selected = !list_->SelectedRows().empty();
  edit_->setEnabled(selected && !readOnly_);
  delete_->setEnabled(selected && !readOnly_);
}

int KeymapEditorPanel::RowOf(uint32_t keyCode) const {
  for (int row = 0; row < list_->RowCount(); ++row)
    if (list_->topLevelItem(row)->data(0, Qt::UserRole).toUInt() == keyCode) return row;
  return -1;
}

int KeymapEditorPanel::RefreshRow(uint32_t keyCode) {
  int row = RowOf(keyCode);
  std::optional<size_t> index = keymap_->Find(keyCode);
  if (!index || keymap_->GetAt(*index).action == kActionNone) {
    if (row >= 0) delete list_->takeTopLevelItem(row);
    UpdateButtons();
    return -1;
  }
  std::array<QString, 3> texts = MappingRowTexts(keymap_->GetAt(*index));
  if (row < 0) {
    row = list_->AddRow({texts[0], texts[1], texts[2]});
    list_->topLevelItem(row)->setData(0, Qt::UserRole, keyCode);
  } else {
    for (int column = 0; column < 3; ++column) list_->topLevelItem(row)->setText(column, texts[column]);
  }
  list_->SelectRow(row);
  return row;
}

void KeymapEditorPanel::OnMapKey() {
  unsigned scanCode = 0;
  unsigned modifiers = 0;
  if (!LaunchCaptureKeyDialog(scanCode, modifiers, this)) return;
  MapCapturedKey(scanCode, modifiers);
}

void KeymapEditorPanel::MapCapturedKey(unsigned scanCode, uint32_t modifiers) {
  bool extended = (modifiers & kKeyExtended) != 0;
  KeyboardButton* button = keyboard_->FindButton(scanCode, extended);
  if (!button) return;  // a key this keyboard does not show cannot be placed
  // With the number lock on, the keypad digits stand in for the navigation keys below them.
  if (keyboard_->NumLockBox()->isChecked() && !extended) {
    for (NumpadButton* digit : keyboard_->NumpadButtons())
      if (digit->ScanCode() == scanCode) button = digit;
  }
  MapButton(button, modifiers);
}

void KeymapEditorPanel::MapButton(KeyboardButton* button, uint32_t modifiers) {
  if (readOnly_ || !button) return;
  if (button->Extended()) modifiers |= kKeyExtended;
  uint32_t keyCode = button->VirtualKey() | modifiers;
  selectedkey::Choice before = selectedkey::CurrentChoice(*keymap_, keyCode);
  bool hadRow = RowOf(keyCode) >= 0;
  SelectedKeyDialog dialog(global_, keymap_, button, static_cast<int>(keyCode), this);
  if (dialog.DoModal() != kIdOk || !dialog.IsModified()) return;
  if (hadRow) {
    QString question = CatalogueText(keymapui::kReplaceQuestion, nullptr,
                                     {FromQString(KeyCombinationText(keyCode))});
    if (VMessageBox(this, question, kMbYesNo | kMbIconQuestion) != kIdYes) {
      // The key keeps what it did before: its row was never changed.
      selectedkey::StoreChoice(*keymap_, keyCode, before);
      return;
    }
  }
  RefreshRow(keyCode);
}

void KeymapEditorPanel::EditSelected() {
  std::vector<int> rows = list_->SelectedRows();
  if (rows.empty() || readOnly_) return;
  uint32_t keyCode = list_->topLevelItem(rows.front())->data(0, Qt::UserRole).toUInt();
  // A key that is not on this keyboard (one a key map file names) is still edited, without a
  // proposal from a key.
  uint32_t key = GetUnmodifiedKey(keyCode);
  KeyboardButton* button =
      key <= 0xFF ? keyboard_->FindByVirtualKey(key, (keyCode & kKeyExtended) != 0) : nullptr;
  SelectedKeyDialog dialog(global_, keymap_, button, static_cast<int>(keyCode), this);
  if (dialog.DoModal() != kIdOk || !dialog.IsModified()) return;
  RefreshRow(keyCode);
}

void KeymapEditorPanel::DeleteSelected() {
  std::vector<int> rows = list_->SelectedRows();
  if (rows.empty() || readOnly_) return;
  int row = rows.front();
  uint32_t keyCode = list_->topLevelItem(row)->data(0, Qt::UserRole).toUInt();
  selectedkey::StoreChoice(*keymap_, keyCode, selectedkey::Choice{});
  delete list_->takeTopLevelItem(row);
  if (list_->RowCount() > 0) list_->SelectRow(std::min(row, list_->RowCount() - 1));
  UpdateButtons();
}
