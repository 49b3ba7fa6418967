// The Connection page: the session's name, its protocol (one list, or a terminal and a
// file-transfer list when the installation has both kinds of protocol), the local command run
// before connecting, and the description. Picking a protocol switches the session's protocol at
// once, so that the protocol's own pages edit its settings; Cancel switches it back.
#pragma once

#include <vector>

#include "marrowby/property_tree.h"
#include "platform/unicode_string.h"
#include "ui/session_options/connection_rules.h"
#include "ui/session_page_context.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class VProfileEncryptedString;

class SessionConnectPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  explicit SessionConnectPage(const SessionPageContext& context, QWidget* parent = nullptr);

  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnApply() override;

  // Puts back the protocols the session had when the dialog opened.
  void RevertProtocolChoice();

  QLineEdit* NameEdit() const { return name_; }
  // The terminal list, or the only list.
  QComboBox* ProtocolList() const { return lists_[0].combo ? lists_[0].combo : lists_[1].combo; }
  QComboBox* TerminalList() const { return lists_[0].combo; }
  QComboBox* TransferList() const { return lists_[1].combo; }
  QLineEdit* PreConnectEdit() const { return preConnect_; }
  QPlainTextEdit* DescriptionEdit() const { return description_; }

 private:
  struct List {
    QComboBox* combo = nullptr;
    VUnicodeString original;  // the stored name when the dialog opened
    int shown = -1;           // the entry shown before the current pick
  };
  void Fill(int part);
  void OnProtocolPicked(int part);
  VUnicodeString Chosen(int part) const;
  void UpdatePreConnect();

  SessionPageContext context_;
  QLineEdit* name_ = nullptr;
  List lists_[2];
  QLineEdit* preConnect_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  bool preConnectEdited_ = false;
};
