#include "ui/keymap/session_mapped_keys_page.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "config/parts/emulation_table.h"
#include "config/session/session_config.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "platform/unicode_string.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keymap/keymap_ui_messages.h"

bool KeySwapAllowed(std::u16string_view emulation) {
  return !vtext::EqualsNoCase(emulation, kEmulationTn3270);
}

SessionMappedKeysPage::SessionMappedKeysPage(const SessionPageContext& context, QWidget* parent)
    : VPropertyTreePage(CatalogueText(keymapui::kMappedKeysTitle), parent), context_(context) {}

void SessionMappedKeysPage::OnInitDialog() {
  TerminalConfig& terminal = context_.session->terminal;
  auto* layout = new QVBoxLayout(this);
  panel_ = new KeymapEditorPanel(&terminal.keymap, context_.global, this);
  layout->addWidget(panel_, 1);
  mapBackspace_ = new QCheckBox(CatalogueText(keymapui::kMapBackspaceLabel), this);
  mapDelete_ = new QCheckBox(CatalogueText(keymapui::kMapDeleteLabel), this);
  cua_ = new QCheckBox(CatalogueText(keymapui::kCuaCopyPasteLabel), this);
  for (QCheckBox* box : {mapBackspace_, mapDelete_, cua_}) layout->addWidget(box);
  mapBackspace_->setChecked(terminal.mapBackspace.current);
  mapDelete_->setChecked(terminal.mapDelete.current);
  cua_->setChecked(terminal.cuaCopyPaste.current);
  bool swap = KeySwapAllowed(terminal.emulation.Current());
  mapBackspace_->setEnabled(swap && !context_.readOnly);
  mapDelete_->setEnabled(swap && !context_.readOnly);
  cua_->setEnabled(!context_.readOnly);
  panel_->SetReadOnly(context_.readOnly);
  // Said when the user turns it on, not when the page opens with it on.
  connect(cua_, &QCheckBox::clicked, this, [this](bool on) {
    if (on) VMessageBox(this, CatalogueText(keymapui::kCuaWarning), kMbOk | kMbIconWarning);
  });
}

void SessionMappedKeysPage::OnApply() {
  if (!IsInitialized() || context_.readOnly) return;
  TerminalConfig& terminal = context_.session->terminal;
  terminal.mapBackspace = mapBackspace_->isChecked();
  terminal.mapDelete = mapDelete_->isChecked();
  terminal.cuaCopyPaste = cua_->isChecked();
}
