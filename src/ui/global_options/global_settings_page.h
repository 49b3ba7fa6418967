// A page of the Global Options dialog drawn from its list of bound settings: each row makes its
// control (a check box, a field, a number, a list, a path with its browse button), the page fills
// them from the global configuration when first shown, refuses a number that is not one when it
// is left, and writes what changed on OK. Pages with rules of their own derive from it and add
// them through CheckPage and ApplyPage.
#pragma once

#include <map>
#include <vector>

#include "marrowby/property_tree.h"
#include "ui/global_options/global_setting_binding.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class GlobalSettingsPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  GlobalSettingsPage(uint32_t titleId, GlobalConfig& config,
                     std::vector<BoundSetting> settings, QWidget* parent = nullptr);

  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnApply() override;

  GlobalConfig& Config() const { return config_; }
  // The control of a setting, by its stored name (null when the page has no such row).
  QWidget* Control(std::u16string_view key) const;
  QCheckBox* Check(std::u16string_view key) const;
  QLineEdit* Edit(std::u16string_view key) const;
  QComboBox* Combo(std::u16string_view key) const;
  QPushButton* BrowseButton(std::u16string_view key) const;
  // Hides the row of `key` (its label and browse button too).
  void HideSetting(std::u16string_view key);

 protected:
  // Called after the controls are made and filled.
  virtual void InitPage() {}
  // Called after every number was read; false (after FailValidation) keeps the page open.
  virtual bool CheckPage() { return true; }
  // Called after every bound setting was written.
  virtual void ApplyPage() {}
  // The layout below the bound rows, for a page's own controls.
  QVBoxLayout* ExtraArea() const { return extra_; }
  // The number a Number row holds now (valid once OnKillActive passed).
  int64_t NumberOf(std::u16string_view key) const;

 private:
  struct Row {
    BoundSetting bound;
    QWidget* label = nullptr;
    QWidget* control = nullptr;
    QPushButton* browse = nullptr;
    int64_t number = 0;
  };
  const Row* FindRow(std::u16string_view key) const;
  void MakeRow(Row& row, QGridLayout* grid, int line);
  void Load(Row& row);
  void Browse(Row& row);

  GlobalConfig& config_;
  std::vector<Row> rows_;
  QVBoxLayout* extra_ = nullptr;
  bool hasBrowse_ = false;
};

// The pages of the catalogue that are nothing but bound settings, and the rows of those that
// add rules of their own (global_page_catalogue.cpp).
std::vector<BoundSetting> GeneralSettings();
std::vector<BoundSetting> TerminalSettings();
std::vector<BoundSetting> AppearanceSettings();
std::vector<BoundSetting> TabsSettings();
std::vector<BoundSetting> WebBrowserSettings();
std::vector<BoundSetting> TftpSettings();
std::vector<BoundSetting> TerminalAdvancedSettings();
std::vector<BoundSetting> FileTransferSettings();
std::vector<BoundSetting> OptionsSettings();
std::vector<BoundSetting> AdvancedOptionsSettings();
std::vector<BoundSetting> ViewSettings();
std::vector<BoundSetting> FtpSettings();
std::vector<BoundSetting> TlsSettings();
std::vector<BoundSetting> SoundSettings();
