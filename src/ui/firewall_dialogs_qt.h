// The firewall's dialogs: the user-name and password prompts shown at connect time, and the
// properties of a firewall (a new one, named here, or an existing one). The properties write
// into the firewall only once every entry is accepted.
#pragma once

#include <functional>

#include "config/items/firewall_config.h"
#include "marrowby/dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class FirewallCredentialDialog : public VDialog {
  Q_OBJECT

 public:
  enum class Kind { Username, Password };
  FirewallCredentialDialog(Kind kind, bool save, QWidget* parent = nullptr);

  // What OK accepted (sensitive for a password).
  const VUnicodeString& Text() const { return text_; }
  bool Save() const { return save_; }

  QLineEdit* Edit() const { return edit_; }
  QCheckBox* SaveBox() const { return saveBox_; }

 protected:
  bool OnOK() override;

 private:
  Kind kind_;
  QLineEdit* edit_;
  QCheckBox* saveBox_;
  VUnicodeString text_;
  bool save_;
};

class FirewallPropertiesDialog : public VDialog {
  Q_OBJECT

 public:
  enum class Mode { New, Edit };
  // Whether a firewall of that name is stored already (New mode); the item database by default.
  using NameTaken = std::function<bool(const VUnicodeString& name)>;

  FirewallPropertiesDialog(FirewallConfig& firewall, Mode mode, QWidget* parent = nullptr,
                           NameTaken nameTaken = {});

  // The name entered (New mode) or the firewall's.
  const VUnicodeString& Name() const { return name_; }

  QLineEdit* NameEdit() const { return nameEdit_; }
  QComboBox* TypeCombo() const { return type_; }
  QLineEdit* AddressEdit() const { return address_; }
  QLineEdit* PortEdit() const { return port_; }
  QLineEdit* UserEdit() const { return user_; }
  QLineEdit* PasswordEdit() const { return password_; }
  QLineEdit* PromptEdit() const { return prompt_; }
  QLineEdit* CommandEdit() const { return command_; }

 protected:
  bool OnOK() override;

 private:
  void TypeChanged();
  int TypeNumber() const;

  FirewallConfig& firewall_;
  Mode mode_;
  NameTaken nameTaken_;
  QLineEdit* nameEdit_;
  QComboBox* type_;
  QLineEdit* address_;
  QLineEdit* port_;
  QLineEdit* user_;
  QLineEdit* password_;
  QLineEdit* prompt_;
  QLineEdit* command_;
  VUnicodeString name_;
  bool passwordChanged_ = false;
};
