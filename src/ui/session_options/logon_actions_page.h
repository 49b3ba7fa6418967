// The Logon Actions page: the expect/send list that automates a logon, the initial carriage
// return, and a logon script file with its arguments. Below them a protocol may place its own
// logon panel; the page lays itself out again when the protocol changes.
#pragma once

#include <vector>

#include "config/session/expect_send_list.h"
#include "marrowby/dialog.h"
#include "marrowby/property_tree.h"
#include "ui/session_options/session_page_hooks.h"
#include "ui/session_page_context.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class VListCtrl;

// The entries a session without any starts from: wait for the login and password prompts.
std::vector<ExpectSendEntry> InitialExpectSendEntries();
// The send text as the list shows it: masked when the entry hides it.
QString ShownSendText(const ExpectSendEntry& entry);

// One expect/send entry.
class ExpectSendDialog : public VDialog {
  Q_OBJECT

 public:
  ExpectSendDialog(const ExpectSendEntry& entry, QWidget* parent = nullptr);
  const ExpectSendEntry& Entry() const { return entry_; }
  QLineEdit* ExpectEdit() const { return expect_; }
  QLineEdit* SendEdit() const { return send_; }
  QCheckBox* HideBox() const { return hide_; }

 protected:
  bool OnOK() override;

 private:
  ExpectSendEntry entry_;
  QLineEdit* expect_;
  QLineEdit* send_;
  QCheckBox* hide_;
};

class SessionLogonScriptsPage : public VPropertyTreePage, public ISessionPageRefresh {
  Q_OBJECT

 public:
  explicit SessionLogonScriptsPage(const SessionPageContext& context, QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnApply() override;
  void RefreshForProtocols() override;

  // The list as the page holds it now.
  const std::vector<ExpectSendEntry>& Entries() const { return entries_; }
  void AddEntry(const ExpectSendEntry& entry);
  void ReplaceEntry(int row, const ExpectSendEntry& entry);
  void DeleteEntry(int row);

  QCheckBox* AutomateBox() const { return automate_; }
  VListCtrl* List() const { return list_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* DeleteButton() const { return delete_; }
  QCheckBox* InitialCrBox() const { return initialCr_; }
  QCheckBox* ScriptBox() const { return useScript_; }
  QLineEdit* ScriptEdit() const { return script_; }
  QPushButton* BrowseButton() const { return browse_; }
  QLineEdit* ArgumentsEdit() const { return arguments_; }
  // Where a protocol puts its own logon panel.
  QWidget* ProtocolPanelHost() const { return protocolPanel_; }
  int LayoutCount() const { return layouts_; }

 private:
  void FillList();
  void UpdateEnabled();
  void OnAdd();
  void OnEdit();
  void OnBrowse();

  SessionPageContext context_;
  std::vector<ExpectSendEntry> entries_;
  std::vector<ExpectSendEntry> started_;  // what the page showed first
  bool seeded_ = false;                   // the session had no entries: the page started from two
  bool secretsUsable_ = true;
  QCheckBox* automate_ = nullptr;
  VListCtrl* list_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* delete_ = nullptr;
  QCheckBox* initialCr_ = nullptr;
  QCheckBox* useScript_ = nullptr;
  QLineEdit* script_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLineEdit* arguments_ = nullptr;
  QWidget* protocolPanel_ = nullptr;
  int layouts_ = 0;
};
