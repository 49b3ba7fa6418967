// Modes and Emacs: the terminal's initial modes and what the host may switch, and the meta key.
// A TN3270 session has neither, so both pages are disabled for it.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

namespace {

struct ModeRow {
  uint32_t initialText;
  uint32_t currentText;
  const char16_t* name;
};
constexpr ModeRow kModes[] = {
    {kCursorKeyMode, kCurrentCursorKeyMode, u"Cursor Key Mode"},
    {kLineWrap, kCurrentLineWrap, u"Line Wrap"},
    {kNewlineMode, kCurrentNewlineMode, u"Newline Mode"},
    {kKeypadMode, kCurrentKeypadMode, u"Keypad Mode"},
};

}  // namespace

SessionEmulationModesPage::SessionEmulationModesPage(const SessionPageContext& context)
    : SessionPageBase(kModesTitle, context) {}

void SessionEmulationModesPage::Build(QVBoxLayout* layout) {
  auto* initial = new QVBoxLayout;
  auto* current = new QVBoxLayout;
  for (const ModeRow& mode : kModes) {
    initial->addWidget(NewCheck(mode.initialText, mode.name));
    auto* box = new QCheckBox(PageText(mode.currentText), this);
    box->setObjectName(QStringLiteral("current ") + QString::fromStdU16String(mode.name));
    current->addWidget(box);
  }
  auto* modes = new QHBoxLayout;
  modes->addWidget(NewGroup(kInitialModesGroup, initial));
  current_ = NewGroup(kCurrentModesGroup, current);
  modes->addWidget(current_);
  layout->addLayout(modes);

  auto* switching = new QVBoxLayout;
  switching->addWidget(NewCheck(kEnable80132, u"Enable 80-132 Column Switching"));
  switching->addWidget(
      NewCheck(kIgnore80132, u"Ignore 80-132 Column Switching When Maximized or Full Screen"));
  switching->addWidget(NewCheck(kEnableCursorKeySwitching, u"Enable Cursor Key Mode Switching"));
  switching->addWidget(NewCheck(kEnableKeypadSwitching, u"Enable Keypad Mode Switching"));
  switching->addWidget(NewCheck(kEnableLineWrapSwitching, u"Enable Line Wrap Mode Switching"));
  switching->addWidget(
      NewCheck(kEnableAltScreenSwitching, u"Enable Alternate Screen Switching"));
  layout->addWidget(NewGroup(kSwitchingGroup, switching));
}

void SessionEmulationModesPage::OnInitDialog() {
  SessionPageBase::OnInitDialog();
  // The host gives no live modes to this dialog: the current modes start as the initial ones.
  for (const ModeRow& mode : kModes) {
    if (auto* box = findChild<QCheckBox*>(QStringLiteral("current ") +
                                          QString::fromStdU16String(mode.name)))
      box->setChecked(settings_.GetBool(mode.name));
  }
}

void SessionEmulationModesPage::UpdateEnabling() {
  bool tn3270 = IsTn3270(DialogEmulation(*this, context_));
  for (QWidget* child : findChildren<QGroupBox*>()) child->setEnabled(!tn3270);
  current_->setEnabled(!tn3270 && context_.liveSession);
}

SessionEmacsPage::SessionEmacsPage(const SessionPageContext& context)
    : SessionPageBase(kEmacsTitle, context) {}

void SessionEmacsPage::Build(QVBoxLayout* layout) {
  altAsMeta_ = NewCheck(kEmacsMode, u"Emacs Mode");
  preserve_ = NewCheck(kPreserveAltGr, u"Preserve Alt-Gr");
  layout->addWidget(altAsMeta_);
  layout->addWidget(preserve_);
  auto* meta = new QVBoxLayout;
  eighthBit_ = new QRadioButton(PageText(kMetaSets8thBit), this);
  escape_ = new QRadioButton(PageText(kMetaSendsEscape), this);
  auto* choice = new QButtonGroup(this);
  choice->addButton(eighthBit_);
  choice->addButton(escape_);
  BindRadio(eighthBit_, escape_, u"Emacs Mode 8 Bit");
  meta->addWidget(eighthBit_);
  meta->addWidget(escape_);
  layout->addWidget(NewGroup(kMetaGroup, meta));
  // Only a user's change clears the preserve option, never the page's own filling.
  connect(altAsMeta_, &QCheckBox::clicked, this, [this](bool checked) {
    preserve_->setChecked(PreserveAltGrAfter(checked, preserve_->isChecked()));
  });
}

void SessionEmacsPage::UpdateEnabling() {
  EmacsEnabling enabling = EmacsRules(DialogEmulation(*this, context_), altAsMeta_->isChecked());
  altAsMeta_->setEnabled(altAsMeta_->isEnabled() && enabling.altAsMeta);
  for (QWidget* dependent : {static_cast<QWidget*>(preserve_), static_cast<QWidget*>(eighthBit_),
                             static_cast<QWidget*>(escape_)})
    dependent->setEnabled(dependent->isEnabled() && enabling.dependents);
}
