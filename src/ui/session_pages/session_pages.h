// The built-in pages of the Session Options dialog (all but Connection, Logon Actions, Mapped
// Keys and ANSI Color), each made from the dialog's SessionPageContext. The dialog hangs them in
// its tree; each edits its own settings of the session (see the Build of each page).
#pragma once

#include <functional>
#include <memory>

#include "config/parts/printer_config.h"
#include "ui/session_options/session_page_hooks.h"
#include "ui/session_pages/session_page_base.h"

class PrintPlugin;
class QtPrinterPlatform;
class QFont;
class QLabel;
class QPushButton;

class SessionTerminalPage : public SessionPageBase {
 public:
  explicit SessionTerminalPage(const SessionPageContext& context);
  void OnInitDialog() override;

 protected:
  void Build(QVBoxLayout* layout) override;
  bool Validate() override;
  void SaveExtra() override;

 private:
  QCheckBox* antiIdle_ = nullptr;
  QLineEdit* idleString_ = nullptr;
  QSpinBox* idleSeconds_ = nullptr;
};

class SessionEmulationPage : public SessionPageBase {
 public:
  explicit SessionEmulationPage(const SessionPageContext& context);
  void OnInitDialog() override;
  // The emulation chosen on this page (what OK would store).
  VUnicodeString CurrentEmulation() const;

 protected:
  void Build(QVBoxLayout* layout) override;
  void UpdateEnabling() override;
  bool Validate() override;
  void SaveExtra() override;

 private:
  int MaxColumns() const;
  int MaxScrollback() const;
  void ShowModelSize();

  QComboBox* emulation_ = nullptr;
  QCheckBox* alternateKeyboard_ = nullptr;
  QComboBox* keymap_ = nullptr;
  QLineEdit* keymapFile_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLineEdit* rows_ = nullptr;
  QLineEdit* cols_ = nullptr;
  QLineEdit* scrollback_ = nullptr;
  QComboBox* model_ = nullptr;
};

// The emulation the dialog has chosen so far: the Emulation page's when it was opened, else the
// session's.
VUnicodeString DialogEmulation(const VPropertyTreePage& page, const SessionPageContext& context);

class SessionEmulationModesPage : public SessionPageBase {
 public:
  explicit SessionEmulationModesPage(const SessionPageContext& context);
  void OnInitDialog() override;

 protected:
  void Build(QVBoxLayout* layout) override;
  void UpdateEnabling() override;

 private:
  QGroupBox* current_ = nullptr;
};

class SessionEmacsPage : public SessionPageBase {
 public:
  explicit SessionEmacsPage(const SessionPageContext& context);

 protected:
  void Build(QVBoxLayout* layout) override;
  void UpdateEnabling() override;

 private:
  QCheckBox* altAsMeta_ = nullptr;
  QCheckBox* preserve_ = nullptr;
  QRadioButton* eighthBit_ = nullptr;
  QRadioButton* escape_ = nullptr;
};

class SessionEmulationAdvancedPage : public SessionPageBase {
 public:
  explicit SessionEmulationAdvancedPage(const SessionPageContext& context);

 protected:
  void Build(QVBoxLayout* layout) override;
  void UpdateEnabling() override;

 private:
  QCheckBox* useTerminalType_ = nullptr;
  QLineEdit* terminalType_ = nullptr;
};

class SessionAppearancePage : public SessionPageBase {
 public:
  explicit SessionAppearancePage(const SessionPageContext& context);
  void OnInitDialog() override;

  // Connected by the dialog that hangs the page: the Color Scheme dialog over the scheme named
  // (`isNew`: one to be made under that name); true when it saved the scheme.
  std::function<bool(QWidget* parent, const QString& scheme, bool isNew)> editScheme;
  // Asks the name of a new scheme; an empty result cancels. Unset: a plain text prompt.
  std::function<QString(QWidget* parent)> askSchemeName;
  // The keyword list editor over the list named; true when it saved or deleted the list, with
  // `list` then holding the name stored (empty once deleted) so the page chooses it.
  std::function<bool(QWidget* parent, QString& list)> editKeywordList;

  // The New button with `name` given: refused with a message when a scheme of that name exists;
  // else the editor is opened and, when it saves, the new scheme is chosen.
  bool NewScheme(const QString& name);
  // The font dialog's choice for the normal (or narrow) font.
  void ChooseFont(bool narrow, const QFont& chosen);
  QLabel* FontLabel(bool narrow) const { return narrow ? narrowLabel_ : normalLabel_; }

 protected:
  void Build(QVBoxLayout* layout) override;
  void UpdateEnabling() override;
  void SaveExtra() override;
  void AfterApply() override;

 private:
  void FillSchemes(const QString& select);
  void FillKeywordLists(const QString& select);
  void ShowCursorColor();
  void ShowFonts();

  QComboBox* scheme_ = nullptr;
  QPushButton* editSchemeButton_ = nullptr;
  QPushButton* newSchemeButton_ = nullptr;
  QComboBox* keywords_ = nullptr;
  QPushButton* editKeywordsButton_ = nullptr;
  QCheckBox* useCursorColor_ = nullptr;
  QPushButton* cursorColorButton_ = nullptr;
  unsigned cursorColor_ = 0;
  QLabel* normalLabel_ = nullptr;
  QLabel* narrowLabel_ = nullptr;
  VLogFont normalFont_;  // the page's copies of the session's fonts
  VLogFont narrowFont_;
};

class SessionWindowPage : public SessionPageBase {
 public:
  explicit SessionWindowPage(const SessionPageContext& context);

 protected:
  void Build(QVBoxLayout* layout) override;
  bool Validate() override;

 private:
  QCheckBox* usePosition_ = nullptr;
  QLineEdit* x_ = nullptr;
  QLineEdit* y_ = nullptr;
};

class SessionLogFilePage : public SessionPageBase {
 public:
  explicit SessionLogFilePage(const SessionPageContext& context);

 protected:
  void Build(QVBoxLayout* layout) override;
  bool Validate() override;

 private:
  QLineEdit* name_ = nullptr;
  QCheckBox* midnight_ = nullptr;
};

class SessionPrintingPage : public SessionPageBase {
 public:
  explicit SessionPrintingPage(const SessionPageContext& context);
  void OnInitDialog() override;
  PrintPlugin* Panel() const { return panel_; }
  // The print system for the panel's Print Setup (none: no Print Setup); before the page opens.
  void SetPrinterPlatform(std::shared_ptr<QtPrinterPlatform> platform) {
    platform_ = std::move(platform);
  }

 protected:
  void Build(QVBoxLayout* layout) override;
  void UpdateEnabling() override;
  bool Validate() override;
  void AfterApply() override;

 private:
  QCheckBox* useGlobal_ = nullptr;
  PrintPlugin* panel_ = nullptr;
  std::shared_ptr<QtPrinterPlatform> platform_;
  PrinterConfig printer_;  // the page's copy of the session's printer settings
};

class SessionXModemZModemPage : public SessionPageBase {
 public:
  explicit SessionXModemZModemPage(const SessionPageContext& context);
  void OnInitDialog() override;

 protected:
  void Build(QVBoxLayout* layout) override;
  void SaveExtra() override;

 private:
  QComboBox* packet_ = nullptr;
};

class SessionFileTransferPage : public SessionPageBase {
 public:
  explicit SessionFileTransferPage(const SessionPageContext& context);

 protected:
  void Build(QVBoxLayout* layout) override;
  bool Validate() override;

 private:
  QLineEdit* local_ = nullptr;
  QLineEdit* download_ = nullptr;
  QLineEdit* remote_ = nullptr;
  QCheckBox* synchronize_ = nullptr;
};

// The dialog asks it to refresh after every protocol change (ISessionPageRefresh).
class SessionFtpSftpPage : public SessionPageBase, public ISessionPageRefresh {
 public:
  explicit SessionFtpSftpPage(const SessionPageContext& context);
  // The transfer protocol changed: the page shows what applies to it now.
  void RefreshForProtocols() override;
  // Whether the session's transfer protocol is one of the FTP/SSL entries.
  bool IsFtpSsl() const;

 protected:
  void Build(QVBoxLayout* layout) override;
};

class SessionFileTransferAdvancedPage : public SessionPageBase {
 public:
  explicit SessionFileTransferAdvancedPage(const SessionPageContext& context);

 protected:
  void Build(QVBoxLayout* layout) override;
  bool Validate() override;

 private:
  QCheckBox* usePgp_ = nullptr;
  QLineEdit* upload_ = nullptr;
  QLineEdit* download_ = nullptr;
};
