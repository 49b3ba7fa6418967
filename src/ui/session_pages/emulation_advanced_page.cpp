// Advanced (emulation): answerback, terminal type, tab display, echo and translation options,
// and the delays of sending.
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

SessionEmulationAdvancedPage::SessionEmulationAdvancedPage(const SessionPageContext& context)
    : SessionPageBase(kAdvancedTitle, context) {}

void SessionEmulationAdvancedPage::Build(QVBoxLayout* layout) {
  auto* texts = new QFormLayout;
  AddCheckedText(texts, kUseAnswerback, u"Use Answerback", u"Answerback");
  terminalType_ =
      AddCheckedText(texts, kUseTerminalType, u"Use Terminal Type", u"Terminal Type", &useTerminalType_);
  AddCheckedText(texts, kDisplayTab, u"Display Tab", u"Display Tab String");
  layout->addLayout(texts);

  const std::pair<uint32_t, const char16_t*> checks[] = {
      {kLocalEcho, u"Local Echo"},
      {kStrip8thBit, u"Strip 8th Bit"},
      {kIgnoreTitleChange, u"Ignore Window Title Change Requests"},
      {kCopyAsRtf, u"Copy to clipboard as RTF and plain text"},
      {kTranslateCr, u"Translate Incoming CR To CRLF"},
  };
  for (const auto& [text, name] : checks) layout->addWidget(NewCheck(text, name));

  auto* delays = new QFormLayout;
  AddSpinRow(delays, kLineSendDelay, u"Line Send Delay", 0, 100000);
  AddSpinRow(delays, kCharSendDelay, u"Character Send Delay", 0, 100000);
  AddCheckedText(delays, kWaitForPrompt, u"Wait For Prompt", u"Wait For Prompt Text");
  AddSpinRow(delays, kMaxWait, u"Wait For Prompt Timeout", 0, 3600000);
  auto* group = new QGroupBox(PageText(kDelaysGroup), this);
  group->setLayout(delays);
  layout->addWidget(group);
}

void SessionEmulationAdvancedPage::UpdateEnabling() {
  // A TN3270 session's terminal type is its model, chosen on the Emulation page.
  if (IsTn3270(DialogEmulation(*this, context_))) {
    useTerminalType_->setEnabled(false);
    terminalType_->setEnabled(false);
  }
}
