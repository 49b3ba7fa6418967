#include "ui/registered_dialogs.h"

#include "environment/passphrase_startup.h"
#include "marrowby/message_box.h"
#include "marrowby/progress_dialog.h"
#include "marrowby/qt_text.h"
#include "ui/firewall_dialogs_qt.h"
#include "ui/passphrase_dialogs_qt.h"

// ---- progress ----

void VQtSecretPassProgress::RunModal(VReportMessageParams& message) {
  VProgressDialog dialog(parent_);
  dialog.SetMessage(MessageText(message));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // The worker may have finished before the window came up.
    if (closed_) {
      closed_ = false;
      return;
    }
    dialog_ = &dialog;
  }
  dialog.DoModal();
  std::lock_guard<std::mutex> lock(mutex_);
  dialog_ = nullptr;
  closed_ = false;
}

void VQtSecretPassProgress::Advance(size_t done, size_t total, const VUnicodeString& item) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (dialog_) dialog_->PostProgress(static_cast<int>(done), static_cast<int>(total));
}

void VQtSecretPassProgress::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (dialog_) dialog_->PostClose();
  else closed_ = true;
}

void VQtSecretPassProgress::ShowFailures(const std::vector<VSecretPassFailure>& failures) {
  QString text;
  for (const VSecretPassFailure& failure : failures) {
    VReportMessageParams reason = failure.reason;
    text += ToQString(failure.kind) + QStringLiteral(" '") + ToQString(failure.item) +
            QStringLiteral("': ") + MessageText(reason) + u'\n';
  }
  VMessageBox(parent_, text.trimmed(), kMbOk | kMbIconWarning);
}

// ---- passphrase ----

bool VQtPassphraseDialogs::AskToContinue(VReportMessageParams& message) {
  return VMessageBox(parent_, message, kMbOkCancel | kMbIconWarning) == kIdOk;
}

bool VQtPassphraseDialogs::CreatePassphrase(const VCreatePassphraseTexts& texts,
                                            VUnicodeString& passphrase) {
  CreatePassphraseDialog dialog(texts, parent_);
  if (dialog.DoModal() != kIdOk) return false;
  passphrase.SetSensitive(true);
  passphrase = dialog.Passphrase();
  return true;
}

VEnterPassphraseChoice VQtPassphraseDialogs::EnterPassphrase(const VPassphraseVerifier& verify,
                                                             VUnicodeString& passphrase) {
  EnterPassphraseDialog dialog(verify, parent_);
  int result = dialog.DoModal();
  if (result == EnterPassphraseDialog::kChangeRequested) return VEnterPassphraseChoice::ChangeRequested;
  if (result != kIdOk) return VEnterPassphraseChoice::Cancelled;
  if (dialog.Choice() == VEnterPassphraseChoice::Entered) {
    passphrase.SetSensitive(true);
    passphrase = dialog.Passphrase();
  }
  return dialog.Choice();
}

bool VQtPassphraseDialogs::ChangePassphrase(const VPassphraseVerifier& verify,
                                            VPassphraseChange& change) {
  ChangePassphraseDialog dialog(verify, parent_);
  if (dialog.DoModal() != kIdOk) return false;
  change = dialog.Change();
  return true;
}

// ---- firewall ----

namespace {

bool AskCredential(FirewallCredentialDialog::Kind kind, VUnicodeString& text, bool& save,
                   void* parent) {
  FirewallCredentialDialog dialog(kind, save, static_cast<QWidget*>(parent));
  if (dialog.DoModal() != kIdOk) return false;
  if (kind == FirewallCredentialDialog::Kind::Password) text.SetSensitive(true);
  text = dialog.Text();
  save = dialog.Save();
  return true;
}

}  // namespace

bool VQtFirewallPrompts::AskUsername(VUnicodeString& text, bool& save, void* parent) {
  return AskCredential(FirewallCredentialDialog::Kind::Username, text, save, parent);
}

bool VQtFirewallPrompts::AskPassword(VUnicodeString& text, bool& save, void* parent) {
  return AskCredential(FirewallCredentialDialog::Kind::Password, text, save, parent);
}

bool VQtFirewallPropertiesDialog::ShowNew(FirewallConfig& firewall, VUnicodeString& name) {
  FirewallPropertiesDialog dialog(firewall, FirewallPropertiesDialog::Mode::New, parent_);
  if (dialog.DoModal() != kIdOk) return false;
  name = dialog.Name();
  return true;
}

// ---- registration ----

VRegisteredDialogs::VRegisteredDialogs(QWidget* parent)
    : passphrase_(parent), firewallProperties_(parent) {
  SetPassphraseDialogs(&passphrase_);
  SetFirewallCredentialPrompts(&firewallPrompts_);
  SetFirewallPropertiesDialog(&firewallProperties_);
}

VRegisteredDialogs::~VRegisteredDialogs() {
  SetFirewallPropertiesDialog(nullptr);
  SetFirewallCredentialPrompts(nullptr);
  SetPassphraseDialogs(nullptr);
}
