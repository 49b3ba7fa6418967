#include "ui/global_options/global_pages.h"

#include <algorithm>

#include <QCheckBox>
#include <QColorDialog>
#include <QPixmap>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "environment/app_paths.h"
#include "environment/launch.h"
#include "environment/library_init.h"
#include "environment/moving_messages.h"
#include "environment/url_handler.h"
#include "marrowby/exchange.h"
#include "marrowby/file_browse.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"
#include "ui/global_options/global_messages.h"
#include "ui/print_plugin.h"
#include "ui/session_options/edit_default_session.h"
#include "ui/printer_platform_qt.h"
#include "ui/user_questions_qt.h"

using namespace global_ui;

namespace {

// "The change to the Configuration Folder will take effect the next time you start %1."
constexpr uint32_t kConfigFolderChangeLater = 0x61380022;

EditDefaultSessionHandler& EditHandler() {
  // The Session Options dialog's own round over the Default session, unless a host or a test
  // puts another (or none, which disables the button).
  static EditDefaultSessionHandler handler = EditDefaultSession;
  return handler;
}

void Inform(QWidget* owner, uint32_t id, const VMessageModule* module = nullptr) {
  VReportMessageParams message(id, module);
  message.AddInsert(VGetAppName());
  VMessageBox(owner, message, kMbOk | kMbIconInformation);
}

// Questions asked while a page checks its entries: yes/no questions and folder prompts are asked
// at once, but the first refusal is kept, so the page shows it itself with the focus on its field.
class CheckingQuestions : public IUserQuestions {
 public:
  explicit CheckingQuestions(QWidget* parent) : asked_(parent) {}
  bool AskYesNo(VReportMessageParams& question) override { return asked_.AskYesNo(question); }
  bool AskFolder(VReportMessageParams& prompt, VUnicodeString& folder) override {
    return asked_.AskFolder(prompt, folder);
  }
  void Notify(VReportMessageParams& message, VNoticeKind kind) override {
    if (kind == VNoticeKind::Information || refusal_) {
      asked_.Notify(message, kind);
      return;
    }
    refusal_.emplace();
    refusal_->Assign(message);
  }
  std::optional<VReportMessageParams>& Refusal() { return refusal_; }

 private:
  VQtUserQuestions asked_;
  std::optional<VReportMessageParams> refusal_;
};

// What the option and the three flags were when the page was first opened in this process:
// switching on and back off again before a restart puts back the work that was pending then.
std::optional<VPersonalDataFlags>& FirstOpening() {
  static std::optional<VPersonalDataFlags> flags;
  return flags;
}

QString FolderText(const VUnicodeString& path) { return ToQString(path); }

}  // namespace

void SetEditDefaultSessionHandler(EditDefaultSessionHandler handler) {
  EditHandler() = std::move(handler);
}

// ---- General ----

GlobalGeneralPage::GlobalGeneralPage(GlobalConfig& config, int productId, bool trayAgent,
                                     bool menuBarFixed, bool toolbarFixed)
    : GlobalSettingsPage(kPageGeneral, config, GeneralSettings()),
      productId_(productId),
      trayAgent_(trayAgent),
      menuBarFixed_(menuBarFixed),
      toolbarFixed_(toolbarFixed) {
  // The tray agent is a separate program: it must be there before the option is switched on.
  connect(Check(u"Minimize To Tray"), &QCheckBox::clicked, this, [this](bool on) {
    VQtUserQuestions questions(this);
    if (on && !CheckTrayAgentForOption(true, &questions)) Check(u"Minimize To Tray")->setChecked(false);
  });
}

void GlobalGeneralPage::InitPage() {
  GeneralPageRules rules = GeneralRules(productId_, trayAgent_, menuBarFixed_, toolbarFixed_);
  for (std::u16string_view key : rules.disabled)
    if (QWidget* control = Control(key)) control->setEnabled(false);
  for (std::u16string_view key : rules.hidden) HideSetting(key);
}

// ---- Tabs/Tiling ----

const std::array<const char16_t*, 12> kStatusColorSettings = {
    u"Connected Color",   u"Background Connected Color",
    u"Disconnected Color", u"Background Disconnected Color",
    u"New Input Color",   u"Background New Input Color",
    u"Inactivity Color",  u"Background Inactivity Color",
    u"Script Color",      u"Background Script Color",
    u"Locked Color",      u"Background Locked Color"};

namespace {

QIcon Swatch(const QColor& color) {
  QPixmap pixmap(32, 14);
  pixmap.fill(color);
  return QIcon(pixmap);
}

}  // namespace

StatusColorsDialog::StatusColorsDialog(const StatusColors& colors, QWidget* parent)
    : VDialog(parent), colors_(colors) {
  setWindowTitle(CatalogueText(kColorsTitle));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  grid->addWidget(new QLabel(CatalogueText(kColorsText), this), 0, 1);
  grid->addWidget(new QLabel(CatalogueText(kColorsBackground), this), 0, 2);
  const uint32_t states[] = {kStateConnected, kStateDisconnected,
                             kStateNewInput, kStateInactivity, kStateScript, kStateLocked};
  for (size_t state = 0; state < 6; ++state) {
    auto* label = new QLabel(CatalogueText(states[state]), this);
    grid->addWidget(label, static_cast<int>(state) + 1, 0);
    for (size_t side = 0; side < 2; ++side) {
      size_t index = state * 2 + side;
      auto* button = new QPushButton(this);
      button->setIconSize(QSize(32, 14));
      buttons_[index] = button;
      grid->addWidget(button, static_cast<int>(state) + 1, static_cast<int>(side) + 1);
      connect(button, &QPushButton::clicked, this, [this, index] {
        QColor chosen = QColorDialog::getColor(ColorFromStored(colors_[index]), this);
        if (chosen.isValid()) SetColor(index, chosen);
      });
      SetColor(index, ColorFromStored(colors[index]));
    }
    label->setBuddy(buttons_[state * 2]);
  }
  AddOkCancel(layout);
}

void StatusColorsDialog::SetColor(size_t index, const QColor& color) {
  colors_[index] = StoredFromColor(color);
  buttons_[index]->setIcon(Swatch(color));
}

GlobalTabsPage::GlobalTabsPage(GlobalConfig& config)
    : GlobalSettingsPage(kPageTabs, config, TabsSettings()) {
  colorsButton_ = new QPushButton(CatalogueText(kTabColors), this);
  auto* line = new QHBoxLayout;
  line->addWidget(colorsButton_);
  line->addStretch(1);
  ExtraArea()->addLayout(line);
  connect(colorsButton_, &QPushButton::clicked, this, [this] {
    StatusColorsDialog dialog(colors_, this);
    if (dialog.DoModal() == kIdOk) colors_ = dialog.Colors();
  });
}

void GlobalTabsPage::InitPage() {
  ReadGlobalNumber(Config(), u"Status Indicator Style", styleAtOpening_);
  for (size_t i = 0; i < colors_.size(); ++i)
    ReadGlobalNumber(Config(), kStatusColorSettings[i], colors_[i]);
}

void GlobalTabsPage::ApplyPage() {
  for (size_t i = 0; i < colors_.size(); ++i)
    WriteGlobalNumber(Config(), kStatusColorSettings[i], colors_[i]);
  int64_t style = 0;
  ReadGlobalNumber(Config(), u"Status Indicator Style", style);
  if (style != styleAtOpening_) {
    Inform(this, kTabIndicatorNotice, VGetUiMessageModule());
    styleAtOpening_ = style;
  }
}

// ---- Web Browser ----

GlobalWebBrowserPage::GlobalWebBrowserPage(GlobalConfig& config)
    : GlobalSettingsPage(kPageWebBrowser, config, WebBrowserSettings()) {
  handler_ = new QPushButton(CatalogueText(kWebHandler, nullptr, {VGetAppName()}), this);
  auto* line = new QHBoxLayout;
  line->addWidget(handler_);
  line->addStretch(1);
  ExtraArea()->addLayout(line);
  connect(Check(u"HTTP Use Registry Entry"), &QCheckBox::toggled, this,
          [this] { UpdateEnabling(); });
  connect(handler_, &QPushButton::clicked, this, [this] {
    VDefaultApplication app;
    if (!GetKarvellDefaultApplicationSettings(app)) return;
    VStatus status = RegisterDefaultApplication(app);
    if (!status.ok()) {
      VReportMessageParams error;
      error.SetStatus(status);
      VMessageBox(this, error, kMbOk | kMbIconError);
    }
  });
}

void GlobalWebBrowserPage::InitPage() {
  VDefaultApplication app;
  // Only a terminal application that can be started can handle links.
  handler_->setEnabled(GetKarvellDefaultApplicationSettings(app));
  UpdateEnabling();
}

void GlobalWebBrowserPage::UpdateEnabling() {
  bool own = !Check(u"HTTP Use Registry Entry")->isChecked();
  Edit(u"HTTP Browser Application")->setEnabled(own);
  BrowseButton(u"HTTP Browser Application")->setEnabled(own);
}

bool GlobalWebBrowserPage::CheckPage() {
  VReportMessageParams error;
  QLineEdit* program = Edit(u"HTTP Browser Application");
  if (!CheckBrowserProgram(Check(u"HTTP Use Registry Entry")->isChecked(),
                           FromQString(program->text()), error))
    return FailValidation(program, error);
  return true;
}

// ---- Advanced (file transfer) ----

GlobalAdvancedOptionsPage::GlobalAdvancedOptionsPage(GlobalConfig& config)
    : GlobalSettingsPage(kPageAdvanced, config, AdvancedOptionsSettings()) {}

bool GlobalAdvancedOptionsPage::CheckPage() {
  if (!Check(u"Enable Log File")->isChecked()) return true;
  QLineEdit* log = Edit(u"Log File");
  VReportMessageParams error;
  if (!CheckTransferLogPath(FromQString(log->text().trimmed()), error))
    return FailValidation(log, error);
  return true;
}

// ---- FTP ----

GlobalFtpPage::GlobalFtpPage(GlobalConfig& config)
    : GlobalSettingsPage(kPageFtp, config, FtpSettings()) {}

void GlobalFtpPage::InitPage() {
  auto enable = [this](bool on) {
    Edit(u"FTP Port Range Minimum")->setEnabled(on);
    Edit(u"FTP Port Range Maximum")->setEnabled(on);
  };
  connect(Check(u"FTP Enable Port Range"), &QCheckBox::toggled, this, enable);
  enable(Check(u"FTP Enable Port Range")->isChecked());
}

bool GlobalFtpPage::CheckPage() {
  VReportMessageParams error;
  if (!CheckPortRange(Check(u"FTP Enable Port Range")->isChecked(),
                      NumberOf(u"FTP Port Range Minimum"), NumberOf(u"FTP Port Range Maximum"),
                      error))
    return FailValidation(Edit(u"FTP Port Range Minimum"), error);
  return true;
}

// ---- Sound ----

GlobalSoundPage::GlobalSoundPage(GlobalConfig& config)
    : GlobalSettingsPage(kPageSound, config, SoundSettings()) {}

bool GlobalSoundPage::CheckPage() {
  for (const char16_t* key : {u"Connect Sound File", u"Disconnect Sound File",
                              u"Transfer Complete Sound File", u"Error Sound File"}) {
    QLineEdit* edit = Edit(key);
    VReportMessageParams error;
    if (!CheckSoundFile(FromQString(edit->text().trimmed()), error))
      return FailValidation(edit, error);
  }
  return true;
}

// ---- Configuration Paths ----

GlobalConfigurationPathsPage::GlobalConfigurationPathsPage(const VUnicodeString& configFolder)
    : VPropertyTreePage(CatalogueText(kPageConfigPaths)), configArgument_(configFolder) {
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  auto* configLabel = new QLabel(CatalogueText(kCfgFolder), this);
  configEdit_ = new QLineEdit(this);
  configLabel->setBuddy(configEdit_);
  AddAutoComplete(configEdit_, true);
  auto* configBrowse = new QPushButton(CatalogueText(ui_messages::kBrowse), this);
  grid->addWidget(configLabel, 0, 0);
  grid->addWidget(configEdit_, 0, 1);
  grid->addWidget(configBrowse, 0, 2);
  separate_ = new QCheckBox(CatalogueText(kCfgSeparate), this);
  grid->addWidget(separate_, 1, 0, 1, 3);
  auto* personalLabel = new QLabel(CatalogueText(kCfgPersonalFolder), this);
  personalEdit_ = new QLineEdit(this);
  personalLabel->setBuddy(personalEdit_);
  AddAutoComplete(personalEdit_, true);
  // Two browse buttons on one page: the second has a mnemonic of its own.
  auto* personalBrowse = new QPushButton(CatalogueText(kBrowseSecond), this);
  grid->addWidget(personalLabel, 2, 0);
  grid->addWidget(personalEdit_, 2, 1);
  grid->addWidget(personalBrowse, 2, 2);
  layout->addStretch(1);
  connect(configBrowse, &QPushButton::clicked, this,
          [this] { OnBrowseLocalFolderHelper(configEdit_, CatalogueText(kCfgBrowseConfig)); });
  connect(personalBrowse, &QPushButton::clicked, this,
          [this] { OnBrowseLocalFolderHelper(personalEdit_, CatalogueText(kCfgPersonalFolder).remove(u'&')); });
  connect(separate_, &QCheckBox::toggled, this, [this](bool on) { OnSeparateToggled(on); });
  connect(separate_, &QCheckBox::toggled, personalEdit_, &QWidget::setEnabled);
  connect(separate_, &QCheckBox::toggled, personalBrowse, &QWidget::setEnabled);
}

void GlobalConfigurationPathsPage::ForgetFirstOpening() { FirstOpening().reset(); }

void GlobalConfigurationPathsPage::OnInitDialog() {
  VUnicodeString app = VGetAppName();
  if (!FirstOpening())
    FirstOpening() = VPersonalDataFlags{UsePersonalDataPath(app), DoPersonalDataMigration(app),
                                        DoPersonalDataMerge(app)};
  configAtOpening_ = configArgument_.empty() ? GetAppConfigPath(app) : configArgument_;
  personalAtOpening_ = GetAppPersonalDataPathStored(app);
  separateShown_ = UsePersonalDataPath(app);
  configEdit_->setText(FolderText(configAtOpening_));
  personalEdit_->setText(FolderText(personalAtOpening_));
  {
    QSignalBlocker quiet(separate_);
    separate_->setChecked(separateShown_);
  }
  personalEdit_->setEnabled(separateShown_);
  for (QPushButton* button : findChildren<QPushButton*>())
    if (button->text() == CatalogueText(kBrowseSecond)) button->setEnabled(separateShown_);
}

void GlobalConfigurationPathsPage::OnSeparateToggled(bool on) {
  // Ticking the option with no folder named offers the usual one beside the configuration.
  if (on && personalEdit_->text().trimmed().isEmpty())
    personalEdit_->setText(
        FolderText(GetAppPersonalDataPathDefault(FromQString(configEdit_->text().trimmed()))));
}

bool GlobalConfigurationPathsPage::OnKillActive() {
  VUnicodeString config = FromQString(configEdit_->text().trimmed());
  if (config != configAtOpening_) {
    VReportMessageParams error;
    if (!VDDV_ValidateConfigFolder(config, error)) return FailValidation(configEdit_, error);
  }
  bool now = separate_->isChecked();
  VReportMessageParams refusal, notice;
  if (!PersonalDataOptionSwitch(*FirstOpening(), now, ConfigFolderTakesPersonalData(config),
                                toWrite_, refusal, notice)) {
    // The personal values cannot go back: the option stays on, with its folder.
    separate_->setChecked(true);
    personalEdit_->setEnabled(true);
    return FailValidation(separate_, refusal);
  }
  personalChosen_.clear();
  if (now) {
    VUnicodeString personal = FromQString(personalEdit_->text().trimmed());
    CheckingQuestions questions(this);
    if (!ValidatePersonalDataFolderChoice(questions, config, personal)) {
      if (questions.Refusal()) return FailValidation(personalEdit_, *questions.Refusal());
      personalEdit_->setFocus();
      return false;
    }
    personalEdit_->setText(FolderText(personal));
    personalChosen_ = personal;
  }
  return true;
}

void GlobalConfigurationPathsPage::OnApply() {
  VUnicodeString app = VGetAppName();
  VUnicodeString config = FromQString(configEdit_->text().trimmed());
  if (config != configAtOpening_) {
    VReportMessageParams error;
    if (SaveAppConfigPath(config, true, &error)) {
      configAtOpening_ = config;
      Inform(this, kConfigFolderChangeLater);
    } else {
      VMessageBox(this, error, kMbOk | kMbIconError);
    }
  }
  bool now = separate_->isChecked();
  if (now && personalChosen_ != personalAtOpening_) {
    VReportMessageParams error;
    if (SaveAppPersonalDataPath(personalChosen_, true, &error))
      personalAtOpening_ = personalChosen_;
    else
      VMessageBox(this, error, kMbOk | kMbIconError);
  }
  // Nothing to write when the option was neither switched here nor differs from the first
  // opening: the other application of a pair may have changed the flags since.
  if (now == separateShown_ && now == FirstOpening()->separate) return;
  VReportMessageParams error;
  if (!SavePersonalDataFlags(toWrite_, &error)) {
    VMessageBox(this, error, kMbOk | kMbIconError);
    return;
  }
  if (now != separateShown_) Inform(this, moving_messages::kPersonalFolderChangeLater);
  separateShown_ = now;
}

// ---- Default Session ----

GlobalAutoSessionPage::GlobalAutoSessionPage(GlobalConfig& config, unsigned appearanceFlags)
    : VPropertyTreePage(CatalogueText(kPageDefaultSession)),
      config_(config),
      appearanceFlags_(appearanceFlags) {
  auto* layout = new QVBoxLayout(this);
  none_ = new QRadioButton(CatalogueText(kDsNone), this);
  remembered_ = new QRadioButton(CatalogueText(kDsRemembered), this);
  auto_ = new QRadioButton(CatalogueText(kDsAuto), this);
  layout->addWidget(none_);
  layout->addWidget(remembered_);
  layout->addWidget(auto_);
  auto* lists = new QHBoxLayout;
  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lists->addSpacing(24);
  lists->addWidget(list_, 1);
  auto* buttons = new QVBoxLayout;
  add_ = new QPushButton(CatalogueText(kDsAdd), this);
  remove_ = new QPushButton(CatalogueText(kDsRemove), this);
  buttons->addWidget(add_);
  buttons->addWidget(remove_);
  buttons->addStretch(1);
  lists->addLayout(buttons);
  layout->addLayout(lists, 1);
  editDefault_ = new QPushButton(CatalogueText(kDsEditDefault), this);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(editDefault_);
  bottom->addStretch(1);
  layout->addLayout(bottom);
  for (QRadioButton* button : {none_, remembered_, auto_})
    connect(button, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] { UpdateEnabling(); });
  connect(add_, &QPushButton::clicked, this, [this] { AddSessions(); });
  connect(remove_, &QPushButton::clicked, this, [this] {
    for (QListWidgetItem* item : list_->selectedItems()) delete item;
    UpdateEnabling();
  });
  connect(editDefault_, &QPushButton::clicked, this, [this] {
    bool all = false;
    if (EditHandler()) EditHandler()(&config_, appearanceFlags_, window(), all);
  });
}

void GlobalAutoSessionPage::OnInitDialog() {
  StartupSessions choice =
      StartupFromSettings(config_.useAutoSession.current, config_.useRememberedSessions.current);
  (choice == StartupSessions::Auto ? auto_
   : choice == StartupSessions::Remembered ? remembered_ : none_)->setChecked(true);
  for (const VUnicodeString& session : SplitAutoSessions(config_.autoSessionName.Current()))
    list_->addItem(ToQString(session));
  UpdateEnabling();
}

StartupSessions GlobalAutoSessionPage::Choice() const {
  if (auto_->isChecked()) return StartupSessions::Auto;
  if (remembered_->isChecked()) return StartupSessions::Remembered;
  return StartupSessions::None;
}

void GlobalAutoSessionPage::UpdateEnabling() {
  bool autoOn = auto_->isChecked();
  list_->setEnabled(autoOn);
  add_->setEnabled(autoOn && QuillaneGetSessionChooser() != nullptr);
  remove_->setEnabled(autoOn && !list_->selectedItems().isEmpty());
  editDefault_->setEnabled(static_cast<bool>(EditHandler()));
}

void GlobalAutoSessionPage::AddSessions() {
  VSessionChooser chooser = QuillaneGetSessionChooser();
  if (!chooser) return;
  VStringArray chosen;
  if (chooser(FromQString(CatalogueText(kDsChooserTitle)), chosen, this) != kIdOk) return;
  for (const VUnicodeString& session : chosen) {
    QString text = ToQString(session);
    // A path cannot hold the separator of the stored list; such a name is not taken.
    if (text.isEmpty() || text.contains(u';')) continue;
    if (list_->findItems(text, Qt::MatchExactly).isEmpty()) list_->addItem(text);
  }
  UpdateEnabling();
}

bool GlobalAutoSessionPage::OnKillActive() {
  VStringArray sessions;
  for (int i = 0; i < list_->count(); ++i) sessions.Add(FromQString(list_->item(i)->text()));
  VReportMessageParams error;
  if (!CheckAutoSessions(Choice(), sessions, error)) return FailValidation(auto_, error);
  return true;
}

void GlobalAutoSessionPage::OnApply() {
  StartupSessions choice = Choice();
  bool useAuto = choice == StartupSessions::Auto;
  bool useRemembered = choice == StartupSessions::Remembered;
  if (config_.useAutoSession.current != useAuto) config_.useAutoSession = useAuto;
  if (config_.useRememberedSessions.current != useRemembered)
    config_.useRememberedSessions = useRemembered;
  VStringArray sessions;
  for (int i = 0; i < list_->count(); ++i) sessions.Add(FromQString(list_->item(i)->text()));
  VUnicodeString joined = JoinAutoSessions(sessions);
  if (config_.autoSessionName.Current() != joined) config_.autoSessionName = joined;
}

// ---- Printing ----

GlobalPrintingPage::GlobalPrintingPage(GlobalConfig& config, bool printingAvailable)
    : VPropertyTreePage(CatalogueText(kPagePrinting)),
      config_(config),
      printingAvailable_(printingAvailable) {
  auto* layout = new QVBoxLayout(this);
  disableAll_ = new QCheckBox(CatalogueText(kPrnDisableAll), this);
  layout->addWidget(disableAll_);
  PrinterState& state = PrinterState::Process();
  panel_ = new PrintPlugin(PrintPlugin::Page::Global, state,
                           std::dynamic_pointer_cast<QtPrinterPlatform>(state.Platform()), this);
  layout->addWidget(panel_, 1);
  connect(disableAll_, &QCheckBox::toggled, this, [this] { UpdatePanel(); });
}

void GlobalPrintingPage::OnInitDialog() {
  disabledAtOpening_ = config_.disableAllPrinting.current;
  panel_->Load(config_.printer, config_.enablePrintScreenKey.current);
  QSignalBlocker quiet(disableAll_);
  disableAll_->setChecked(disabledAtOpening_);
  disableAll_->setEnabled(printingAvailable_ || disabledAtOpening_);
  UpdatePanel();
}

void GlobalPrintingPage::UpdatePanel() {
  bool disabled = disableAll_->isChecked();
  // Printing switched back on is only set up once the switch is saved: until then the printers
  // the panel would list are those of a printing system that is not running for this program.
  panel_->SetAwaitingReenable(disabledAtOpening_ && !disabled);
  panel_->setEnabled(printingAvailable_ && !disabled);
}

bool GlobalPrintingPage::OnKillActive() {
  if (disableAll_->isChecked() || !panel_->isEnabled()) return true;
  PrinterConfig scratch = config_.printer;
  bool printScreen = false;
  return panel_->Save(scratch, &printScreen);
}

void GlobalPrintingPage::OnApply() {
  bool disabled = disableAll_->isChecked();
  if (config_.disableAllPrinting.current != disabled) config_.disableAllPrinting = disabled;
  if (disabled || !panel_->isEnabled() || disabledAtOpening_) return;
  bool printScreen = config_.enablePrintScreenKey.current;
  if (panel_->Save(config_.printer, &printScreen) &&
      config_.enablePrintScreenKey.current != printScreen)
    config_.enablePrintScreenKey = printScreen;
}
