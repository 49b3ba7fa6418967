// The dialogs of moving settings: import and export of a settings file (the choice of sections
// and file, the window that shows the run's log as it is written, the question for the file's
// passphrase) and the moves of the personal data (the Continue/Postpone question, the progress
// window, the personal data folder prompt). The runs themselves belong to the model
// (environment/import_export_settings.h, environment/personal_data_move.h); these only ask and
// show. The Tools menu calls the Run... functions at the end.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <QString>

#include "environment/import_export_settings.h"
#include "environment/personal_data_move.h"
#include "marrowby/dialog.h"
#include "marrowby/message_box.h"
#include "ui/user_questions_qt.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// ---- rules, without a display ----

// What the settings dialog asks for: the sections (kImportExport... bits) and the file.
struct VImportExportChoice {
  bool import = false;
  uint32_t options = 0;
  QString file;
};
// OK is offered once at least one section is chosen and a file is named.
bool ImportExportChoiceComplete(const VImportExportChoice& choice);
// Checks the file of a complete choice and makes it a full path: an import reads a file that
// exists and is not a folder; an export writes into a folder that exists. False with the reason.
bool ValidateSettingsFileChoice(VImportExportChoice& choice, VReportMessageParams& error);
// Where the dialog offers to put a settings file at first: the user's home folder.
QString DefaultSettingsFilePath();

// ---- import and export ----

// The sections and the file of a run. "Scheduled Tasks" is offered only where the file-transfer
// application is installed; "Do not import sensitive data" only for an import.
class ImportExportSettingsDialog : public VDialog {
  Q_OBJECT

 public:
  ImportExportSettingsDialog(bool import, const QString& file, QWidget* parent = nullptr);
  const VImportExportChoice& Choice() const { return choice_; }

  QCheckBox* GlobalCheck() const { return global_; }
  QCheckBox* SessionsCheck() const { return sessions_; }
  QCheckBox* TasksCheck() const { return tasks_; }
  QCheckBox* SkipSecretsCheck() const { return skipSecrets_; }
  QLineEdit* FileEdit() const { return file_; }
  QPushButton* BrowseButton() const { return browse_; }

 protected:
  bool OnOK() override;

 private:
  VImportExportChoice Current() const;
  void Update();

  bool import_;
  QCheckBox* global_;
  QCheckBox* sessions_;
  QCheckBox* tasks_;
  QCheckBox* skipSecrets_ = nullptr;
  QLineEdit* file_;
  QPushButton* browse_;
  VImportExportChoice choice_;
};

// The question for the passphrase of a settings file whose secrets are under another one:
// import them with that passphrase (which must open the file's check value), or import
// everything else with the secrets empty.
class ImportSettingsPassphraseDialog : public VDialog {
  Q_OBJECT

 public:
  ImportSettingsPassphraseDialog(VFilePassphraseVerifier verify, QWidget* parent = nullptr);
  IImportExportSink::FilePassphraseAnswer Answer() const { return answer_; }
  const VUnicodeString& Passphrase() const { return passphrase_; }

  QRadioButton* ImportChoice() const { return import_; }
  QRadioButton* SkipChoice() const { return skip_; }
  QLineEdit* PassphraseEdit() const { return entry_; }

 protected:
  bool OnOK() override;

 private:
  VFilePassphraseVerifier verify_;
  QRadioButton* import_;
  QRadioButton* skip_;
  QLineEdit* entry_;
  IImportExportSink::FilePassphraseAnswer answer_ = IImportExportSink::FilePassphraseAnswer::Cancel;
  VUnicodeString passphrase_;
};

// The window of a run: the run goes on a worker thread while this shows each line of its log as
// it is written; Close (and the window's close box) works only once the run has ended. It is the
// run's sink; a caller's sink, when given, also gets every line and answers the file types.
class ImportExportExecutionDialog : public VDialog, public IImportExportSink {
  Q_OBJECT

 public:
  ImportExportExecutionDialog(const VImportExportChoice& choice, IImportExportSink* outer,
                              VProfileStoreFactory* factory, QWidget* parent = nullptr);
  ~ImportExportExecutionDialog() override;

  // Starts the run and shows the window until it is closed; kIdOk when the run recorded no error.
  int Run();
  bool Finished() const { return finished_; }
  const VImportExportSummary& Summary() const { return summary_; }
  QPlainTextEdit* LogView() const { return log_; }
  QPushButton* CloseButton() const { return close_; }
  QLabel* SummaryLabel() const { return summaryLabel_; }

  // From the worker thread.
  void LogLine(VImportExportLevel level, VReportMessageParams& message) override;
  FilePassphraseAnswer AskFilePassphrase(const VFilePassphraseVerifier& verify,
                                         VUnicodeString& passphrase) override;
  bool ExportFileTypes(VProfileKey& key) override;
  bool ImportFileTypes(const VProfileKey& key) override;

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void AppendLine(const QString& line);
  void Ended(int errors);
  void AskOnWindowThread();

  VImportExportChoice choice_;
  IImportExportSink* outer_;
  VProfileStoreFactory* factory_;
  QPlainTextEdit* log_;
  QLabel* summaryLabel_;
  QPushButton* close_;
  std::thread worker_;
  bool finished_ = false;
  int errors_ = 0;
  VImportExportSummary summary_;
  // The passphrase question, handed from the worker to the window's thread and back.
  std::mutex mutex_;
  std::condition_variable answered_;
  const VFilePassphraseVerifier* asked_ = nullptr;
  std::optional<FilePassphraseAnswer> answer_;
  VUnicodeString answerText_;
};

// Shows the settings dialog and, on OK, runs the import or export in its window. True when a run
// was started and recorded no error. `factory` is the configuration's store (null: the
// registered one); `flags` belongs to the host.
bool LaunchImportExportSettingsDialog(bool import, IImportExportSink* sink,
                                      const VUnicodeString& defaultPath, uint32_t flags,
                                      QWidget* parent, VProfileStoreFactory* factory = nullptr);

// ---- personal data ----

// The "Personal Data Location" question: Continue or Postpone.
class PersonalDataLocationDialog : public VDialog {
  Q_OBJECT

 public:
  static constexpr int kContinue = kIdYes;
  static constexpr int kPostpone = kIdNo;
  PersonalDataLocationDialog(const QString& text, QWidget* parent = nullptr);
  QPushButton* ContinueButton() const { return continue_; }
  QPushButton* PostponeButton() const { return postpone_; }

 protected:
  void reject() override { EndDialog(kPostpone); }

 private:
  QPushButton* continue_;
  QPushButton* postpone_;
};

// The questions of the personal data moves: the Continue/Postpone question and the personal data
// folder prompt; notices as message boxes.
class VQtPersonalDataQuestions : public VQtUserQuestions {
 public:
  explicit VQtPersonalDataQuestions(QWidget* parent) : VQtUserQuestions(parent), parent_(parent) {}
  bool AskYesNo(VReportMessageParams& question) override;
  bool AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) override;

 private:
  QWidget* parent_;
};

// ---- what the Tools menu calls ----

bool RunExportSettingsDialog(QWidget* parent);
bool RunImportSettingsDialog(QWidget* parent);
// The pending moves of the personal data, with the question, the progress window and, at the
// end, a box naming an error or the sessions passed over.
VPersonalDataMoveResult RunMigratePersonalData(QWidget* parent, const VUnicodeString& configFolder,
                                               const VUnicodeString& personalFolder,
                                               VProfileStoreFactory* factory = nullptr);
VPersonalDataMoveResult RunMergePersonalData(QWidget* parent, const VUnicodeString& configFolder,
                                             const VUnicodeString& personalFolder);
// The personal data folder prompt (GetPersonalDataFolderAsk over these dialogs).
bool RunPersonalDataFolderPrompt(QWidget* parent, const VUnicodeString& configFolder,
                                 VUnicodeString& folder);
