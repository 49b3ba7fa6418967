#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "environment/installed_products.h"
#include "environment/moving_messages.h"
#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "platform/win32_errors.h"
#include "ui/moving/moving_dialogs.h"
#include "ui/moving/moving_texts.h"

namespace mm = moving_messages;
namespace mt = moving_texts;

namespace {

QString LibraryText(uint32_t id, std::initializer_list<std::u16string_view> inserts = {}) {
  return CatalogueText(id, VGetLibraryMessageModule(), inserts);
}

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

// ---- rules ----

bool ImportExportChoiceComplete(const VImportExportChoice& choice) {
  constexpr uint32_t kSections = kImportExportGlobal | kImportExportSessions | kImportExportTasks;
  return (choice.options & kSections) != 0 && !choice.file.trimmed().isEmpty();
}

bool ValidateSettingsFileChoice(VImportExportChoice& choice, VReportMessageParams& error) {
  const std::string entered = FromQString(choice.file.trimmed()).ToUtf8();
  // The reasons are the user interface's own texts.
  auto refuse = [&](uint32_t id, const std::string& path) {
    error = VReportMessageParams(id, VGetUiMessageModule());
    if (!path.empty()) error.AddInsert(VUnicodeString(vtext::FromUtf8(path)));
    return false;
  };
  if (entered.empty()) return refuse(mt::kNoSettingsFile, std::string());
  // A name typed without a folder is taken from the current folder, as a shell would.
  auto full = vfs::FullPath(entered);
  if (!full) {
    error.SetStatus(full.Status());
    return false;
  }
  const std::string path = *full;
  const vfs::PathKind kind = vfs::KindOfPath(path);
  if (kind == vfs::PathKind::Folder || kind == vfs::PathKind::LinkToFolder)
    return refuse(mt::kSettingsFileIsFolder, path);
  if (choice.import && kind == vfs::PathKind::Missing) return refuse(mt::kSettingsFileMissing, path);
  if (!choice.import && !vfs::IsDirectory(vfs::ParentFolder(path)))
    return refuse(mt::kSettingsFolderMissing, vfs::ParentFolder(path));
  choice.file = ToQString(vtext::FromUtf8(path));
  return true;
}

QString DefaultSettingsFilePath() {
  // Lower case and without spaces, as files in a home folder usually are.
  return QDir::homePath() + u'/' + ToQString(VGetAppName()).toLower() + QStringLiteral("-settings.xml");
}

// ---- the settings dialog ----

ImportExportSettingsDialog::ImportExportSettingsDialog(bool import, const QString& file,
                                                       QWidget* parent)
    : VDialog(parent), import_(import) {
  setWindowTitle(LibraryText(import ? mm::kImportTitle : mm::kExportTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(CatalogueText(mt::kIncludeLabel), this));
  global_ = new QCheckBox(CatalogueText(mt::kGlobalOptions), this);
  sessions_ = new QCheckBox(CatalogueText(mt::kSessions), this);
  tasks_ = new QCheckBox(CatalogueText(mt::kScheduledTasks), this);
  auto* sections = new QVBoxLayout;
  sections->setContentsMargins(16, 0, 0, 0);
  sections->addWidget(global_);
  sections->addWidget(sessions_);
  sections->addWidget(tasks_);
  layout->addLayout(sections);
  // Scheduled tasks belong to the file-transfer application.
  tasks_->setVisible(IsLumbrelInstalled());
  global_->setChecked(true);
  sessions_->setChecked(true);

  auto* fileLabel = new QLabel(CatalogueText(mt::kSettingsFileLabel), this);
  file_ = new QLineEdit(file, this);
  file_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
  AddAutoComplete(file_);
  fileLabel->setBuddy(file_);
  browse_ = new QPushButton(CatalogueText(ui_messages::kBrowse), this);
  browse_->setAutoDefault(false);
  connect(browse_, &QPushButton::clicked, this, [this] {
    const QString patterns = QStringLiteral("*.xml");
    QString filters = VFileFilter(CatalogueText(mt::kSettingsFilesFilter, nullptr, {u"*.xml"}), patterns);
    VAppendFileFilter(filters, CatalogueText(ui_messages::kAllFiles, nullptr, {u"*"}), QStringLiteral("*"));
    OnBrowseHelper(file_, windowTitle(), QFileInfo(file_->text()).fileName(), filters,
                   import_ ? VFileDialog::Mode::Open : VFileDialog::Mode::Save);
  });
  layout->addWidget(fileLabel);
  auto* row = new QHBoxLayout;
  row->addWidget(file_, 1);
  row->addWidget(browse_);
  layout->addLayout(row);

  if (import) {
    skipSecrets_ = new QCheckBox(CatalogueText(mt::kSkipSecretsOption), this);
    layout->addWidget(skipSecrets_);
  }
  AddOkCancel(layout);
  for (QCheckBox* box : {global_, sessions_, tasks_})
    connect(box, &QCheckBox::toggled, this, &ImportExportSettingsDialog::Update);
  connect(file_, &QLineEdit::textChanged, this, &ImportExportSettingsDialog::Update);
  Update();
  file_->setFocus();
}

VImportExportChoice ImportExportSettingsDialog::Current() const {
  VImportExportChoice choice;
  choice.import = import_;
  if (global_->isChecked()) choice.options |= kImportExportGlobal;
  if (sessions_->isChecked()) choice.options |= kImportExportSessions;
  if (tasks_->isVisibleTo(const_cast<ImportExportSettingsDialog*>(this)) && tasks_->isChecked())
    choice.options |= kImportExportTasks;
  if (skipSecrets_ && skipSecrets_->isChecked()) choice.options |= kImportExportSkipSecrets;
  choice.file = file_->text();
  return choice;
}

void ImportExportSettingsDialog::Update() {
  OkButton()->setEnabled(ImportExportChoiceComplete(Current()));
}

bool ImportExportSettingsDialog::OnOK() {
  VImportExportChoice choice = Current();
  if (!ImportExportChoiceComplete(choice)) return false;
  VReportMessageParams error;
  if (!ValidateSettingsFileChoice(choice, error)) return FailValidation(file_, error);
  choice_ = choice;
  return true;
}

// ---- the passphrase question ----

ImportSettingsPassphraseDialog::ImportSettingsPassphraseDialog(VFilePassphraseVerifier verify,
                                                               QWidget* parent)
    : VDialog(parent), verify_(std::move(verify)) {
  passphrase_.SetSensitive(true);
  setWindowTitle(LibraryText(mm::kImportTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel(LibraryText(mm::kPassphraseMismatchQuestion), this));
  import_ = new QRadioButton(CatalogueText(mt::kImportSecretsChoice), this);
  skip_ = new QRadioButton(CatalogueText(mt::kSkipSecretsChoice), this);
  auto* group = new QButtonGroup(this);
  group->addButton(import_);
  group->addButton(skip_);
  layout->addWidget(import_);
  auto* form = new QFormLayout;
  form->setContentsMargins(24, 0, 0, 0);
  entry_ = new QLineEdit(this);
  AddSensitiveEdit(entry_);
  entry_->setMinimumWidth(entry_->fontMetrics().averageCharWidth() * 28);
  auto* label = new QLabel(CatalogueText(mt::kPassphraseLabel), this);
  label->setBuddy(entry_);
  form->addRow(label, entry_);
  layout->addLayout(form);
  layout->addWidget(skip_);
  AddOkCancel(layout);
  import_->setChecked(true);
  connect(import_, &QRadioButton::toggled, this, [this](bool on) {
    entry_->setEnabled(on);
    if (on) entry_->setFocus();
  });
  entry_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 64);
}

bool ImportSettingsPassphraseDialog::OnOK() {
  if (skip_->isChecked()) {
    answer_ = IImportExportSink::FilePassphraseAnswer::SkipSecrets;
    passphrase_.clear();
    return true;
  }
  VUnicodeString entered = FromQString(entry_->text());
  entered.SetSensitive(true);
  if (!verify_ || !verify_(entered)) {
    VReportMessageParams wrong(mt::kWrongPassphrase, VGetLibraryMessageModule());
    return FailValidation(entry_, wrong);
  }
  answer_ = IImportExportSink::FilePassphraseAnswer::Passphrase;
  passphrase_ = entered;
  return true;
}

// ---- the run's window ----

ImportExportExecutionDialog::ImportExportExecutionDialog(const VImportExportChoice& choice,
                                                         IImportExportSink* outer,
                                                         VProfileStoreFactory* factory,
                                                         QWidget* parent)
    : VDialog(parent), choice_(choice), outer_(outer), factory_(factory) {
  answerText_.SetSensitive(true);
  setWindowTitle(LibraryText(choice.import ? mm::kImportTitle : mm::kExportTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel(
      LibraryText(choice.import ? mm::kImportingFrom : mm::kExportingTo, {FromQString(choice.file)}),
      this));
  log_ = new QPlainTextEdit(this);
  log_->setReadOnly(true);
  log_->setLineWrapMode(QPlainTextEdit::NoWrap);
  log_->setMinimumSize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 18);
  layout->addWidget(log_, 1);
  summaryLabel_ = WrappedLabel(QString(), this);
  layout->addWidget(summaryLabel_);
  auto* buttons = new QDialogButtonBox(this);
  close_ = buttons->addButton(CatalogueText(mt::kCloseButton), QDialogButtonBox::AcceptRole);
  close_->setEnabled(false);
  connect(close_, &QPushButton::clicked, this, [this] {
    if (finished_) EndDialog(errors_ == 0 ? kIdOk : kIdCancel);
  });
  layout->addWidget(buttons);
}

ImportExportExecutionDialog::~ImportExportExecutionDialog() {
  // The run writes into this object until it ends: it is waited for, never left running. A
  // question it is waiting on can no longer be shown, and counts as not answered.
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (asked_ && !answer_) {
      answer_ = FilePassphraseAnswer::Cancel;
      answered_.notify_all();
    }
  }
  if (worker_.joinable()) worker_.join();
}

int ImportExportExecutionDialog::Run() {
  const std::string file = FromQString(choice_.file).ToUtf8();
  worker_ = std::thread([this, file] {
    int errors = RunImportExportSettings(choice_.import, file, choice_.options, VGetAppName(), 0,
                                         this, &summary_, factory_);
    QMetaObject::invokeMethod(this, [this, errors] { Ended(errors); }, Qt::QueuedConnection);
  });
  return DoModal();
}

void ImportExportExecutionDialog::LogLine(VImportExportLevel level, VReportMessageParams& message) {
  QString line = MessageText(message);
  if (outer_) outer_->LogLine(level, message);
  QMetaObject::invokeMethod(this, [this, line] { AppendLine(line); }, Qt::QueuedConnection);
}

void ImportExportExecutionDialog::AppendLine(const QString& line) {
  log_->appendPlainText(line);
  log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void ImportExportExecutionDialog::Ended(int errors) {
  if (worker_.joinable()) worker_.join();
  finished_ = true;
  errors_ = errors;
  summaryLabel_->setText(CatalogueText(
      mt::kRunSummary, nullptr,
      {vtext::FromUtf8(std::to_string(summary_.warnings)),
       vtext::FromUtf8(std::to_string(summary_.errors)), vtext::FromUtf8(summary_.log)}));
  close_->setEnabled(true);
  close_->setDefault(true);
  close_->setFocus();
}

IImportExportSink::FilePassphraseAnswer ImportExportExecutionDialog::AskFilePassphrase(
    const VFilePassphraseVerifier& verify, VUnicodeString& passphrase) {
  std::unique_lock<std::mutex> lock(mutex_);
  asked_ = &verify;
  answer_.reset();
  QMetaObject::invokeMethod(this, [this] { AskOnWindowThread(); }, Qt::QueuedConnection);
  answered_.wait(lock, [this] { return answer_.has_value(); });
  asked_ = nullptr;
  passphrase.SetSensitive(true);
  passphrase = answerText_;
  answerText_.Wipe();
  return *answer_;
}

void ImportExportExecutionDialog::AskOnWindowThread() {
  const VFilePassphraseVerifier* verify = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    verify = asked_;
  }
  // The worker waits while the question is shown: the verifier it handed over stays valid.
  ImportSettingsPassphraseDialog dialog(verify ? *verify : VFilePassphraseVerifier(), this);
  const bool ok = dialog.DoModal() == kIdOk;
  std::lock_guard<std::mutex> lock(mutex_);
  answerText_ = ok ? dialog.Passphrase() : VUnicodeString();
  answer_ = ok ? dialog.Answer() : FilePassphraseAnswer::Cancel;
  answered_.notify_all();
}

bool ImportExportExecutionDialog::ExportFileTypes(VProfileKey& key) {
  return outer_ && outer_->ExportFileTypes(key);
}

bool ImportExportExecutionDialog::ImportFileTypes(const VProfileKey& key) {
  return outer_ && outer_->ImportFileTypes(key);
}

void ImportExportExecutionDialog::reject() {
  // Escape does nothing while the run goes on: it cannot be stopped half way.
  if (finished_) EndDialog(errors_ == 0 ? kIdOk : kIdCancel);
}

void ImportExportExecutionDialog::closeEvent(QCloseEvent* event) {
  if (!finished_) {
    event->ignore();
    return;
  }
  VDialog::closeEvent(event);
}

bool LaunchImportExportSettingsDialog(bool import, IImportExportSink* sink,
                                      const VUnicodeString& defaultPath, uint32_t flags,
                                      QWidget* parent, VProfileStoreFactory* factory) {
  (void)flags;  // the host's, as for the worker's entry
  ImportExportSettingsDialog settings(
      import, defaultPath.empty() ? DefaultSettingsFilePath() : ToQString(defaultPath), parent);
  if (settings.DoModal() != kIdOk) return false;
  ImportExportExecutionDialog run(settings.Choice(), sink, factory, parent);
  return run.Run() == kIdOk;
}

bool RunExportSettingsDialog(QWidget* parent) {
  return LaunchImportExportSettingsDialog(false, nullptr, VUnicodeString(), 0, parent);
}

bool RunImportSettingsDialog(QWidget* parent) {
  return LaunchImportExportSettingsDialog(true, nullptr, VUnicodeString(), 0, parent);
}
