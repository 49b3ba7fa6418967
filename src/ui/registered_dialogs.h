// The dialogs of this user interface as the model asks for them: the passphrase dialogs (with the
// progress window of the passes over the saved secrets and the "busy elsewhere" box), the
// firewall's credential prompts and its properties dialog. A host makes one object on its user
// interface thread after creating the application object; while it lives, the model's questions
// are answered by these dialogs.
#pragma once

#include <memory>
#include <mutex>

#include "config/items/firewall_new.h"
#include "config/items/firewall_prompts.h"
#include "crypto/passphrase_dialogs.h"

class QWidget;
class VProgressDialog;

// The progress window of a pass, on VProgressDialog: RunModal on the interface thread, Advance
// and Close from the worker.
class VQtSecretPassProgress : public ISecretPassProgress {
 public:
  explicit VQtSecretPassProgress(QWidget* parent) : parent_(parent) {}
  void RunModal(VReportMessageParams& message) override;
  void Advance(size_t done, size_t total, const VUnicodeString& item) override;
  void Close() override;
  void ShowFailures(const std::vector<VSecretPassFailure>& failures) override;

 private:
  QWidget* parent_;
  std::mutex mutex_;
  VProgressDialog* dialog_ = nullptr;
  bool closed_ = false;
};

class VQtPassphraseDialogs : public IPassphraseDialogs {
 public:
  explicit VQtPassphraseDialogs(QWidget* parent) : parent_(parent), progress_(parent) {}
  bool AskToContinue(VReportMessageParams& message) override;
  bool CreatePassphrase(const VCreatePassphraseTexts& texts, VUnicodeString& passphrase) override;
  VEnterPassphraseChoice EnterPassphrase(const VPassphraseVerifier& verify,
                                         VUnicodeString& passphrase) override;
  bool ChangePassphrase(const VPassphraseVerifier& verify, VPassphraseChange& change) override;
  ISecretPassProgress* GetSecretPassProgress() override { return &progress_; }

 private:
  QWidget* parent_;
  VQtSecretPassProgress progress_;
};

class VQtFirewallPrompts : public IFirewallCredentialPrompts {
 public:
  // `parent` is a QWidget* (the session's window) or null.
  bool AskUsername(VUnicodeString& text, bool& save, void* parent) override;
  bool AskPassword(VUnicodeString& text, bool& save, void* parent) override;
};

class VQtFirewallPropertiesDialog : public IFirewallPropertiesDialog {
 public:
  explicit VQtFirewallPropertiesDialog(QWidget* parent) : parent_(parent) {}
  bool ShowNew(FirewallConfig& firewall, VUnicodeString& name) override;

 private:
  QWidget* parent_;
};

// Registers the dialogs for as long as it lives.
class VRegisteredDialogs {
 public:
  explicit VRegisteredDialogs(QWidget* parent = nullptr);
  ~VRegisteredDialogs();
  VRegisteredDialogs(const VRegisteredDialogs&) = delete;
  VRegisteredDialogs& operator=(const VRegisteredDialogs&) = delete;

  VQtPassphraseDialogs& Passphrase() { return passphrase_; }

 private:
  VQtPassphraseDialogs passphrase_;
  VQtFirewallPrompts firewallPrompts_;
  VQtFirewallPropertiesDialog firewallProperties_;
};
