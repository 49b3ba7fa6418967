// Emulation: the terminal emulated, its colours, the keyboard and key map, and the logical size
// of the screen with its scrollback.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/global/global_config.h"
#include "config/parts/emulation_table.h"
#include "config/session/session_config.h"
#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

namespace {
constexpr const char16_t* kKeymapName = u"Keymap Name";
constexpr const char16_t* kTerminalType = u"Terminal Type";
constexpr int kFallbackMaxColumns = 256;
constexpr int kFallbackMaxScrollback = 128000;
}  // namespace

VUnicodeString DialogEmulation(const VPropertyTreePage& page, const SessionPageContext& context) {
  if (VPropertyTreeDialog* dialog = page.Dialog()) {
    for (VPropertyTreePage* other : dialog->Pages()) {
      auto* emulation = dynamic_cast<SessionEmulationPage*>(other);
      if (emulation && emulation->IsInitialized()) return emulation->CurrentEmulation();
    }
  }
  return context.session ? context.session->terminal.emulation.Current() : VUnicodeString();
}

SessionEmulationPage::SessionEmulationPage(const SessionPageContext& context)
    : SessionPageBase(kEmulationTitle, context) {}

void SessionEmulationPage::Build(QVBoxLayout* layout) {
  auto* top = new QFormLayout;
  emulation_ = new QComboBox(this);
  for (const VUnicodeString& name : GetEmulationTable()) emulation_->addItem(ToQString(name));
  BindComboText(emulation_, u"Emulation");
  top->addRow(PageText(kEmulationLabel), emulation_);
  layout->addLayout(top);
  layout->addWidget(NewCheck(kAnsiColor, u"ANSI Color"));
  layout->addWidget(NewCheck(kXterm256, u"Enable Xterm-256color"));
  layout->addWidget(NewCheck(kSchemeOverridesAnsi, u"Color Scheme Overrides Ansi Color"));

  auto* keyboard = new QFormLayout;
  alternateKeyboard_ = NewCheck(kUseAlternateKeyboard, u"Use Alternate Keyboard");
  keyboard->addRow(alternateKeyboard_);
  keymap_ = new QComboBox(this);
  keymap_->setObjectName(ToQString(kKeymapName));
  keymap_->addItem(PageText(kKeymapDefault), QString());
  keymap_->addItem(PageText(kKeymapCustom), ToQString(kCustomKeymapName));
  ReadSetting(kKeymapName);
  keyboard->addRow(PageText(kKeymapLabel), keymap_);
  keymapFile_ = BindText(new QLineEdit(this), u"Keymap Filename");
  browse_ = new QPushButton(PageText(kBrowse), this);
  AddFieldRow(keyboard, kKeymapFileLabel, keymapFile_, {browse_});
  connect(browse_, &QPushButton::clicked, this, [this] {
    OnBrowseHelper(keymapFile_, PageText(kSelectKeymapFile), QString(),
                   VGetFileFilters({VFileFilter(PageText(kKeymapFilter), QStringLiteral("*.key"))}));
  });
  connect(keymap_, &QComboBox::currentIndexChanged, this, [this] { RefreshEnabling(); });
  layout->addLayout(keyboard);

  auto* size = new QFormLayout;
  rows_ = BindIntText(new QLineEdit(this), u"Rows");
  cols_ = BindIntText(new QLineEdit(this), u"Cols");
  scrollback_ = BindIntText(new QLineEdit(this), u"Scrollback");
  size->addRow(PageText(kRowsLabel), rows_);
  size->addRow(PageText(kColsLabel), cols_);
  size->addRow(PageText(kScrollbackLabel), scrollback_);
  AddNumberComboRow(size, kResizeModeLabel, u"Resize Mode",
                    {{kResizeSync, 0}, {kResizeScaleFont, 1}, {kResizeKeepSize, 2}});
  model_ = new QComboBox(this);
  for (const VUnicodeString& model : Tn3270Models()) model_->addItem(ToQString(model));
  BindComboText(model_, kTerminalType);
  size->addRow(PageText(kModelLabel), model_);
  connect(model_, &QComboBox::currentIndexChanged, this, [this] { ShowModelSize(); });
  auto* group = new QGroupBox(PageText(kSizeGroup), this);
  group->setLayout(size);
  layout->addWidget(group);
}

void SessionEmulationPage::OnInitDialog() {
  SessionPageBase::OnInitDialog();
  QString stored = ToQString(settings_.GetText(kKeymapName));
  int index = keymap_->findData(stored);
  if (index < 0 && IsCustomKeymap(FromQString(stored))) index = 1;
  if (index < 0) {
    // A key map name this page does not offer is kept as it is.
    keymap_->addItem(stored, stored);
    index = keymap_->count() - 1;
  }
  keymap_->setCurrentIndex(index);
  RefreshEnabling();
}

VUnicodeString SessionEmulationPage::CurrentEmulation() const {
  return emulation_ ? FromQString(emulation_->currentText()) : VUnicodeString();
}

int SessionEmulationPage::MaxColumns() const {
  if (context_.maxColumns > 0) return context_.maxColumns;
  return context_.global ? static_cast<int>(context_.global->maxColumns.current)
                         : kFallbackMaxColumns;
}

int SessionEmulationPage::MaxScrollback() const {
  return context_.global ? static_cast<int>(context_.global->maxScrollbackBufferSize.current)
                         : kFallbackMaxScrollback;
}

void SessionEmulationPage::ShowModelSize() {
  int rows = 0, cols = 0;
  if (!IsTn3270(CurrentEmulation()) || !Tn3270ModelSize(FromQString(model_->currentText()), rows, cols))
    return;
  // A TN3270 model fixes the screen's size.
  rows_->setText(QString::number(rows));
  cols_->setText(QString::number(cols));
}

void SessionEmulationPage::UpdateEnabling() {
  bool tn3270 = IsTn3270(CurrentEmulation());
  bool custom = IsCustomKeymap(FromQString(keymap_->currentData().toString()));
  if (custom) alternateKeyboard_->setChecked(true);  // a key map file is an alternate keyboard
  alternateKeyboard_->setEnabled(alternateKeyboard_->isEnabled() && !custom);
  keymap_->setEnabled(settings_.Has(kKeymapName));
  keymapFile_->setEnabled(keymapFile_->isEnabled() && custom);
  browse_->setEnabled(keymapFile_->isEnabled());
  rows_->setEnabled(rows_->isEnabled() && !tn3270);
  cols_->setEnabled(cols_->isEnabled() && !tn3270);
  model_->setEnabled(model_->isEnabled() && tn3270);
  if (tn3270) {
    if (model_->findText(model_->currentText()) < 0 ||
        model_->currentIndex() >= static_cast<int>(Tn3270Models().size()))
      model_->setCurrentIndex(0);
    ShowModelSize();
  }
}

bool SessionEmulationPage::Validate() {
  int value = 0;
  if (RuleResult f = CheckIntegerRange(FromQString(scrollback_->text()), 0, MaxScrollback(), value))
    return Fail(scrollback_, *f);
  if (RuleResult f = CheckIntegerRange(FromQString(rows_->text()), 5, 200, value))
    return Fail(rows_, *f);
  if (RuleResult f = CheckIntegerRange(FromQString(cols_->text()), 20, MaxColumns(), value))
    return Fail(cols_, *f);
  if (RuleResult f = CheckCustomKeymap(FromQString(keymap_->currentData().toString()),
                                       FromQString(keymapFile_->text())))
    return Fail(keymapFile_, *f);
  return true;
}

void SessionEmulationPage::SaveExtra() {
  settings_.Set(kKeymapName, FromQString(keymap_->currentData().toString()));
}
