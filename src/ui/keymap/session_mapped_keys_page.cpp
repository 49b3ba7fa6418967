#include "ui/keymap/session_mapped_keys_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "config/parts/emulation_table.h"
#include "config/session/session_config.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/unicode_string.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keymap/keymap_ui_messages.h"

namespace {

// The dialog mode in which one set of options is applied to several sessions.
constexpr int kSeveralSessionsMode = 4;

}  // namespace

bool KeySwapAllowed(std::u16string_view emulation) {
  return !vtext::EqualsNoCase(emulation, kEmulationTn3270);
}

SessionMappedKeysPage::SessionMappedKeysPage(const SessionPageContext& context, QWidget* parent)
    : VPropertyTreePage(CatalogueText(keymapui::kMappedKeysTitle), parent), context_(context) {}

SessionMappedKeysPage::~SessionMappedKeysPage() {
  // The panel points into the copy; it goes first.
  delete panel_;
}

QString SessionMappedKeysPage::NoteText() const {
  using Kind = MappedKeysSource::Kind;
  switch (source_->kind) {
    case Kind::kFile: {
      QString text = CatalogueText(keymapui::kKeymapFileNote, nullptr, {source_->fileName});
      if (!source_->problem.empty()) text += QStringLiteral("\n") + ToQString(source_->problem);
      return text;
    }
    case Kind::kUnavailable:
      if (source_->problem.empty()) return CatalogueText(keymapui::kNoKeymapFileNote);
      return CatalogueText(keymapui::kKeymapFileUnreadableNote, nullptr,
                           {source_->fileName, source_->problem});
    case Kind::kSession:
      if (context_.mode == kSeveralSessionsMode) return CatalogueText(keymapui::kSeveralSessionsNote);
      return QString();
  }
  return QString();
}

void SessionMappedKeysPage::OnInitDialog() {
  TerminalConfig& terminal = context_.session->terminal;
  source_ = std::make_unique<MappedKeysSource>(ReadMappedKeys(terminal));
  auto* layout = new QVBoxLayout(this);
  note_ = new QLabel(NoteText(), this);
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  note_->setVisible(!note_->text().isEmpty());
  layout->addWidget(note_);
  panel_ = new KeymapEditorPanel(&source_->mappings, context_.global, this);
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
  // A key map file that is not there to read has no mappings to edit; the switches below are the
  // session's own and stay editable.
  panel_->SetReadOnly(context_.readOnly || source_->kind == MappedKeysSource::Kind::kUnavailable);
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
  // The mappings go back where they were read from, even if another page chose a different key
  // map meanwhile: the list showed those, and the user's edits were to them.
  VReportMessageParams reason;
  switch (WriteMappedKeys(*source_, terminal, reason)) {
    case MappedKeysWrite::kUnchanged:
    case MappedKeysWrite::kWritten:
      break;
    case MappedKeysWrite::kChangedElsewhere:
      VMessageBox(this,
                  CatalogueText(keymapui::kKeymapFileChanged, nullptr, {source_->fileName}),
                  kMbOk | kMbIconWarning);
      break;
    case MappedKeysWrite::kFailed: {
      VReportMessageParams error(keymapui::kCannotSave, VGetUiMessageModule());
      error.AddInsert(source_->kind == MappedKeysSource::Kind::kFile
                          ? source_->fileName
                          : context_.session->GetSessionName());
      error.AddInsert(FromQString(MessageText(reason)));
      VMessageBox(this, error, kMbOk);
      break;
    }
  }
}
