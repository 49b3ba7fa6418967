// The "Map Selected Key" dialog: chooses what one key combination does. The category list on the
// left picks which controls are shown: a send string, a list of named functions, a button bar, a
// script with its arguments, an application to launch, or nothing (the key disabled). OK stores
// the choice in the key map at once; IsModified says whether it changed anything.
#pragma once

#include <array>
#include <cstdint>

#include "marrowby/dialog.h"
#include "ui/keymap/selected_key_rules.h"

class GlobalConfig;
class IKeymap;
class KeyboardButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QStackedWidget;

class SelectedKeyDialogBase : public VDialog {
  Q_OBJECT

 public:
  using VDialog::VDialog;
};

class SelectedKeyDialog : public SelectedKeyDialogBase {
  Q_OBJECT

 public:
  // Returned by DoModal when the dialog was refused before it opened.
  static constexpr int kRefused = 3;

  // `button` (may be null for a key the keyboard does not show) gives the text an unmapped key
  // proposes to send.
  SelectedKeyDialog(GlobalConfig* global, IKeymap* keymap, KeyboardButton* button, int keyCode,
                    QWidget* parent = nullptr);

  // With scripting disabled by policy, a key mapped to a script first says so; Cancel there
  // returns kRefused without opening the dialog.
  int DoModal();
  bool IsModified() const { return modified_; }

  VUnicodeString GetSendString() const { return sendString_; }
  VUnicodeString GetScriptFileName() const { return scriptFile_; }
  VUnicodeString GetScriptArguments() const { return scriptArguments_; }
  VUnicodeString GetLaunchArguments() const { return launchCommand_; }
  VUnicodeString GetSetButtonBarValue() const { return buttonBar_; }
  uint32_t GetMenuValue() const { return values_[selectedkey::kMenu]; }
  uint32_t GetVTValue() const { return values_[selectedkey::kVt]; }
  uint32_t GetTN3270Value() const { return values_[selectedkey::kTn3270]; }
  uint32_t GetTelnetValue() const { return values_[selectedkey::kTelnet]; }
  uint32_t GetSSHValue() const { return values_[selectedkey::kSsh]; }
  uint32_t GetScrollbarValue() const { return values_[selectedkey::kScrollbar]; }

  // The controls, for tests and pictures.
  QListWidget* CategoryList() const { return categories_; }
  QListWidget* FunctionList(selectedkey::Category category) const { return lists_[category]; }
  QPlainTextEdit* SendEdit() const { return sendEdit_; }
  QLineEdit* ScriptFileEdit() const { return scriptFileEdit_; }
  QLineEdit* ProgramEdit() const { return programEdit_; }
  QLineEdit* LaunchArgumentsEdit() const { return launchArgumentsEdit_; }
  QComboBox* ButtonBarCombo() const { return buttonBarCombo_; }
  selectedkey::Category CurrentCategory() const;
  void SelectCategory(selectedkey::Category category);

 protected:
  bool OnOK() override;

 private:
  // 1 fills the controls of the key's current category with its values, -1 the others with
  // their defaults.
  void PopulateSendString(int current);
  void PopulateMenuFunctions(int current);
  void PopulateScrollbarFunctions(int current);
  void PopulateTelnetFunctions(int current);
  void PopulateTN3270Functions(int current);
  void PopulateVTFunctions(int current);
  void PopulateSSHFunctions(int current);
  void PopulateSetButtonBar(int current);
  void PopulateRunScript(int current);
  void PopulateLaunchApplication(int current);
  void PopulateDisable(int current);
  void PopulateList(selectedkey::Category category, int current);
  QWidget* BuildPage(selectedkey::Category category);
  void BrowseScript();
  void BrowseProgram();

  GlobalConfig* global_;
  IKeymap* keymap_;
  KeyboardButton* button_;
  uint32_t keyCode_;
  selectedkey::Choice before_;
  selectedkey::Category initial_;
  bool modified_ = false;

  VUnicodeString sendString_;
  VUnicodeString labelText_;
  VUnicodeString scriptFile_;
  VUnicodeString scriptArguments_;
  VUnicodeString launchCommand_;
  VUnicodeString buttonBar_;
  std::array<uint32_t, selectedkey::kCategoryCount> values_{};
  VStringArray buttonBars_;

  QListWidget* categories_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  std::array<QListWidget*, selectedkey::kCategoryCount> lists_{};
  QPlainTextEdit* sendEdit_ = nullptr;
  QLineEdit* scriptFileEdit_ = nullptr;
  QLineEdit* scriptArgumentsEdit_ = nullptr;
  QLineEdit* programEdit_ = nullptr;
  QLineEdit* launchArgumentsEdit_ = nullptr;
  QComboBox* buttonBarCombo_ = nullptr;
};

// The names of the button bars a key can switch to: the stored ones and "Default".
VStringArray ButtonBarNames();
