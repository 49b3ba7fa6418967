// The pages of the Global Options dialog that add rules of their own to their bound settings,
// and those that are not bound settings at all (folders, start-up sessions, the printer panel,
// lists of named items).
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "environment/personal_data_move.h"
#include "marrowby/dialog.h"
#include "ui/global_options/global_page_rules.h"
#include "ui/global_options/global_settings_page.h"

class PrintPlugin;
class QListWidget;
class QColor;
class QRadioButton;

// General: the host's flags and the product decide which controls may be used.
class GlobalGeneralPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  GlobalGeneralPage(GlobalConfig& config, int productId, bool trayAgent, bool menuBarFixed,
                    bool toolbarFixed);
 protected:
  void InitPage() override;
 private:
  int productId_;
  bool trayAgent_, menuBarFixed_, toolbarFixed_;
};

// The status indicator's text and background colour for each state of a session, in the
// order of kStatusColorSettings.
using StatusColors = std::array<int64_t, 12>;
extern const std::array<const char16_t*, 12> kStatusColorSettings;

// The twelve colours in a grid: one line per session state, text and background.
class StatusColorsDialog : public VDialog {
  Q_OBJECT
 public:
  StatusColorsDialog(const StatusColors& colors, QWidget* parent = nullptr);
  const StatusColors& Colors() const { return colors_; }
  QPushButton* ColorButton(size_t index) const { return buttons_[index]; }
  void SetColor(size_t index, const QColor& color);
 private:
  StatusColors colors_;
  std::array<QPushButton*, 12> buttons_{};
};

// Tabs/Tiling: a new indicator type is only drawn after a restart; the page says so.
class GlobalTabsPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  explicit GlobalTabsPage(GlobalConfig& config);
  QPushButton* ColorsButton() const { return colorsButton_; }
  const StatusColors& Colors() const { return colors_; }
 protected:
  void InitPage() override;
  void ApplyPage() override;
 private:
  int64_t styleAtOpening_ = 0;
  StatusColors colors_{};
  QPushButton* colorsButton_ = nullptr;
};

// Web Browser: a program is needed unless the desktop's default browser is used; the terminal
// can be made the handler of its link schemes.
class GlobalWebBrowserPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  explicit GlobalWebBrowserPage(GlobalConfig& config);
  QPushButton* HandlerButton() const { return handler_; }
 protected:
  void InitPage() override;
  bool CheckPage() override;
 private:
  void UpdateEnabling();
  QPushButton* handler_ = nullptr;
};

// Advanced (file transfer): the log file is checked when logging is on.
class GlobalAdvancedOptionsPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  explicit GlobalAdvancedOptionsPage(GlobalConfig& config);
 protected:
  bool CheckPage() override;
};

// FTP: the PORT range must not run backwards.
class GlobalFtpPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  explicit GlobalFtpPage(GlobalConfig& config);
 protected:
  void InitPage() override;
  bool CheckPage() override;
};

// Sound: every named sound file must be one that can be played.
class GlobalSoundPage : public GlobalSettingsPage {
  Q_OBJECT
 public:
  explicit GlobalSoundPage(GlobalConfig& config);
 protected:
  bool CheckPage() override;
};

// Configuration Paths: the configuration folder and whether, and where, personal data is kept
// apart. These are remembered per user outside the configuration, so the page writes them itself
// on OK; each change takes effect at the next start, and the page says so.
class GlobalConfigurationPathsPage : public VPropertyTreePage {
  Q_OBJECT
 public:
  // `configFolder`: the folder the host runs on (empty: the remembered one).
  explicit GlobalConfigurationPathsPage(const VUnicodeString& configFolder);
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnApply() override;

  QLineEdit* ConfigEdit() const { return configEdit_; }
  QCheckBox* SeparateCheck() const { return separate_; }
  QLineEdit* PersonalEdit() const { return personalEdit_; }
  // What the option and the three flags were when the page was first opened in this process.
  static void ForgetFirstOpening();

 private:
  void OnSeparateToggled(bool on);
  VUnicodeString configArgument_;
  VUnicodeString configAtOpening_;
  VUnicodeString personalAtOpening_;
  QLineEdit* configEdit_;
  QCheckBox* separate_;
  QLineEdit* personalEdit_;
  // Worked out when the page is left, written on OK.
  VPersonalDataFlags toWrite_;
  VUnicodeString personalChosen_;
  bool separateShown_ = false;
};

// Default Session: what happens at start-up, the auto sessions (chosen through the host's
// session chooser) and the button that edits the Default session.
class GlobalAutoSessionPage : public VPropertyTreePage {
  Q_OBJECT
 public:
  GlobalAutoSessionPage(GlobalConfig& config, unsigned appearanceFlags);
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnApply() override;

  QRadioButton* NoneButton() const { return none_; }
  QRadioButton* RememberedButton() const { return remembered_; }
  QRadioButton* AutoButton() const { return auto_; }
  QListWidget* SessionList() const { return list_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* RemoveButton() const { return remove_; }
  QPushButton* EditDefaultButton() const { return editDefault_; }
  StartupSessions Choice() const;

 private:
  void AddSessions();
  void UpdateEnabling();
  GlobalConfig& config_;
  unsigned appearanceFlags_;
  QRadioButton* none_;
  QRadioButton* remembered_;
  QRadioButton* auto_;
  QListWidget* list_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* editDefault_;
};

// Printing: switching all printing off, and the global printer panel.
class GlobalPrintingPage : public VPropertyTreePage {
  Q_OBJECT
 public:
  GlobalPrintingPage(GlobalConfig& config, bool printingAvailable);
  void OnInitDialog() override;
  bool OnKillActive() override;
  void OnApply() override;
  QCheckBox* DisableAllCheck() const { return disableAll_; }
  PrintPlugin* Panel() const { return panel_; }

 private:
  void UpdatePanel();
  GlobalConfig& config_;
  bool printingAvailable_;
  bool disabledAtOpening_ = false;
  QCheckBox* disableAll_;
  PrintPlugin* panel_;
};

// Called by the Default Session page's edit button: EditDefaultSession unless replaced; the
// button is disabled while none is set.
using EditDefaultSessionHandler = std::function<void(GlobalConfig*, unsigned appearanceFlags,
                                                     QWidget* parent, bool& allSessionsChanged)>;
void SetEditDefaultSessionHandler(EditDefaultSessionHandler handler);
