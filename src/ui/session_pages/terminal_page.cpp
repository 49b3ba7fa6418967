// Terminal: bells, disconnect and scrolling behaviour, anti-idle and word delimiters.
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "marrowby/qt_text.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

namespace {
constexpr const char16_t* kIdleTimeout = u"Idle Timeout";
}

SessionTerminalPage::SessionTerminalPage(const SessionPageContext& context)
    : SessionPageBase(kTerminalTitle, context) {}

void SessionTerminalPage::Build(QVBoxLayout* layout) {
  auto* grid = new QGridLayout;
  const std::pair<uint32_t, const char16_t*> checks[] = {
      {kAudioBell, u"Audio Bell"},
      {kVisualBell, u"Visual Bell"},
      {kCloseOnDisconnect, u"Close On Disconnect"},
      {kClearOnDisconnect, u"Clear On Disconnect"},
      {kAutoReconnect, u"Auto Reconnect"},
      {kPositionCursorOnClick, u"Position Cursor on Left Click"},
      {kJumpScroll, u"Jump Scroll"},
      {kMinimizeDrawing, u"Minimize Drawing While Jump Scrolling"},
      {kScrollToClear, u"Scroll To Clear"},
      {kScrollOnOutput, u"Scroll To Bottom On Output"},
      {kScrollOnKeypress, u"Scroll To Bottom On Keypress"},
      {kScrollWheelToRemote, u"Send Scroll Wheel Events To Remote"},
  };
  // Two columns, read down the first and then the second.
  const int half = static_cast<int>(std::size(checks) + 1) / 2;
  for (int i = 0; i < static_cast<int>(std::size(checks)); ++i)
    grid->addWidget(NewCheck(checks[i].first, checks[i].second), i % half, i / half);
  layout->addLayout(grid);

  auto* idle = new QFormLayout;
  antiIdle_ = new QCheckBox(PageText(kSendIdleString), this);
  antiIdle_->setObjectName(QStringLiteral("anti-idle"));
  idleString_ = BindText(new QLineEdit(this), u"Idle String");
  idle->addRow(antiIdle_, idleString_);
  idleSeconds_ = BindSpin(new QSpinBox(this), kIdleTimeout, 1, 86400);
  idle->addRow(PageText(kEverySeconds), idleSeconds_);
  QCheckBox* noop = NewCheck(kIdleNoop, u"Idle NO-OP Check");
  QSpinBox* noopSeconds = BindSpin(new QSpinBox(this), u"Idle NO-OP Timeout", 1, 86400);
  idle->addRow(noop, noopSeconds);
  auto* group = new QGroupBox(PageText(kAntiIdleGroup), this);
  group->setLayout(idle);
  layout->addWidget(group);
  Depend(antiIdle_, idleString_);
  Depend(antiIdle_, idleSeconds_);
  Depend(noop, noopSeconds);

  auto* words = new QFormLayout;
  AddCheckedText(words, kUseWordDelimiters, u"Use Word Delimiter Chars", u"Word Delimiter Chars");
  layout->addLayout(words);
}

void SessionTerminalPage::OnInitDialog() {
  SessionPageBase::OnInitDialog();
  // An interval of 0 is how the session stores anti-idle switched off.
  int seconds = settings_.GetInt(kIdleTimeout);
  antiIdle_->setChecked(seconds > 0);
  idleSeconds_->setMinimum(1);
  idleSeconds_->setValue(seconds > 0 ? seconds : 60);
  RefreshEnabling();
}

bool SessionTerminalPage::Validate() {
  if (RuleResult failure = CheckAntiIdle(antiIdle_->isChecked(), FromQString(idleString_->text())))
    return Fail(idleString_, *failure);
  return true;
}

void SessionTerminalPage::SaveExtra() {
  if (!antiIdle_->isChecked()) settings_.Set(kIdleTimeout, 0);
}
