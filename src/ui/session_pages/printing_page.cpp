// Printing: the session's own printer settings (the shared printer panel) unless it uses the
// global ones. Without printing on this computer nothing here can be changed.
#include <QCheckBox>
#include <QVBoxLayout>

#include "config/session/session_config.h"
#include "environment/printer_state.h"
#include "ui/print_plugin.h"
#include "ui/printer_platform_qt.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

SessionPrintingPage::SessionPrintingPage(const SessionPageContext& context)
    : SessionPageBase(kPrintingTitle, context) {}

void SessionPrintingPage::Build(QVBoxLayout* layout) {
  useGlobal_ = NewCheck(kUseGlobalPrint, u"Use Global Print Settings");
  layout->addWidget(useGlobal_);
  panel_ = new PrintPlugin(PrintPlugin::Page::Session, PrinterState::Process(), platform_, this);
  layout->addWidget(panel_);
}

void SessionPrintingPage::OnInitDialog() {
  if (context_.session) printer_ = context_.session->printer;
  SessionPageBase::OnInitDialog();
  panel_->Load(printer_);
}

void SessionPrintingPage::UpdateEnabling() {
  PrintingEnabling enabling = PrintingRules(context_.printingAvailable, useGlobal_->isChecked());
  useGlobal_->setEnabled(useGlobal_->isEnabled() && enabling.useGlobal);
  panel_->setEnabled(enabling.panel && !context_.readOnly);
}

bool SessionPrintingPage::Validate() {
  // The panel's entries count only while it may be used; it shows its own refusals.
  if (!panel_->isEnabled()) return true;
  PrinterConfig edited = printer_;
  if (!panel_->Save(edited)) return false;
  printer_ = edited;
  return true;
}

void SessionPrintingPage::AfterApply() {
  if (!panel_->isEnabled() || !context_.session) return;
  PrinterConfig edited = printer_;
  if (panel_->Save(edited)) context_.session->printer.CopyValue(edited);
}
