// What every built-in page of the Session Options dialog shares: its controls are bound to stored
// settings by name (one row per control: the setting's stored name, the control, the way the
// value is shown), the page keeps its own copy of those settings while the dialog is open, checks
// its entries when left or saved, and writes its copy into the session only when the dialog
// saves. A read-only dialog shows the same controls disabled.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "marrowby/property_tree.h"
#include "ui/session_page_context.h"
#include "ui/session_pages/page_settings.h"
#include "ui/session_pages/session_page_rules.h"

class QAbstractButton;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

// A catalogue text of the pages.
QString PageText(uint32_t id);

class SessionPageBase : public VPropertyTreePage {
  Q_OBJECT

 public:
  SessionPageBase(uint32_t titleId, const SessionPageContext& context);

  const SessionPageContext& Context() const { return context_; }
  // The page's copy of its settings (what OK would write).
  const PageSettings& Settings() const { return settings_; }
  // The control bound to the setting of that stored name; null when there is none.
  QWidget* ControlOf(std::u16string_view name) const;

  void OnInitDialog() override;
  void OnSetActive() override;
  bool OnKillActive() override;
  void OnApply() override;

 protected:
  // Makes the page's controls into `layout`, binding them to settings.
  virtual void Build(QVBoxLayout* layout) = 0;
  // Enables the controls that depend on others; called whenever a bound control changes.
  virtual void UpdateEnabling() {}
  // The page's checks on the controls' entries; false after Fail.
  virtual bool Validate() { return true; }
  // Takes the entries of controls that are not bound one to one (after the bound ones).
  virtual void SaveExtra() {}
  // After the page's copy was written into the session.
  virtual void AfterApply() {}

  bool Fail(QWidget* control, uint32_t id, std::initializer_list<std::u16string_view> inserts = {});
  bool Fail(QWidget* control, const RuleFailure& failure);
  // The enabling of the page's controls again: the page's own rules, then read-only.
  void RefreshEnabling();

  // ---- controls bound to settings (the setting missing from the session: control disabled) ----
  QCheckBox* BindCheck(QCheckBox* box, std::u16string_view name);
  QLineEdit* BindText(QLineEdit* edit, std::u16string_view name);
  // A number shown as text; the page checks it before it is taken.
  QLineEdit* BindIntText(QLineEdit* edit, std::u16string_view name);
  QSpinBox* BindSpin(QSpinBox* spin, std::u16string_view name, int min, int max);
  // The entry whose text equals the value; a value not in the list is added so it is not lost.
  QComboBox* BindComboText(QComboBox* combo, std::u16string_view name);
  // Entries carrying the numbers stored; a stored number not among them is added as itself.
  QComboBox* BindComboNumber(QComboBox* combo, std::u16string_view name);
  // Two choices of an on/off setting.
  void BindRadio(QRadioButton* whenOn, QRadioButton* whenOff, std::u16string_view name);

  // ---- making controls ----
  QCheckBox* NewCheck(uint32_t textId, std::u16string_view name);
  QGroupBox* NewGroup(uint32_t titleId, QBoxLayout* inner);
  // A labelled field in `form`; the label's mnemonic leads to it.
  QLineEdit* AddTextRow(QFormLayout* form, uint32_t labelId, std::u16string_view name);
  QSpinBox* AddSpinRow(QFormLayout* form, uint32_t labelId, std::u16string_view name, int min,
                       int max);
  // A combo of entries (text id, stored number).
  QComboBox* AddNumberComboRow(QFormLayout* form, uint32_t labelId, std::u16string_view name,
                               std::initializer_list<std::pair<uint32_t, int>> entries);
  // A labelled field followed by buttons on its line; the label's mnemonic leads to the field.
  void AddFieldRow(QFormLayout* form, uint32_t labelId, QWidget* field,
                   std::initializer_list<QPushButton*> buttons);
  // A folder field with its browse button, completing local folders as the user types.
  QLineEdit* AddFolderRow(QFormLayout* form, uint32_t labelId, uint32_t browseId,
                          std::u16string_view name);
  // A check box whose field follows on the same line, enabled only while the box is checked.
  QLineEdit* AddCheckedText(QFormLayout* form, uint32_t checkId, std::u16string_view checkName,
                            std::u16string_view textName, QCheckBox** box = nullptr);

  // `field` is enabled only while `box` is checked (and the box itself may be used); changes of
  // the box refresh the page.
  void Depend(QCheckBox* box, QWidget* field);
  // Reads a setting into the page's copy without a control of its own; false when the session
  // has no such setting.
  bool ReadSetting(std::u16string_view name);

  SessionPageContext context_;
  PageSettings settings_;

 private:
  enum class Kind { Check, Text, IntText, Spin, ComboText, ComboNumber, Radio };
  struct Binding {
    std::u16string name;
    Kind kind;
    QWidget* control;
    QWidget* other = nullptr;  // the "off" choice of a radio pair
  };
  bool Bind(QWidget* control, std::u16string_view name, Kind kind, QWidget* other = nullptr);
  void ToControls();
  void FromControls();
  void WatchChanges(QWidget* control);

  std::vector<Binding> bindings_;
  std::vector<std::pair<QWidget*, QWidget*>> dependents_;  // (check box, field it enables)
};
