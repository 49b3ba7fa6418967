#include "ui/session_options/logon_actions_page.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/session/session_config.h"
#include "crypto/config_passphrase.h"
#include "marrowby/exchange.h"
#include "marrowby/file_browse.h"
#include "marrowby/list_ctrl.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/session_options/session_options_messages.h"

namespace {

using namespace session_options_messages;

constexpr char kScriptPatterns[] = "*.vbs; *.vbe; *.js; *.pl; *.py";
constexpr char kDefaultScriptName[] = "login.vbs";

}  // namespace

std::vector<ExpectSendEntry> InitialExpectSendEntries() {
  return {{VUnicodeString(u"ogin:"), VUnicodeString(), false},
          {VUnicodeString(u"assword:"), VUnicodeString(), false}};
}

QString ShownSendText(const ExpectSendEntry& entry) {
  if (!entry.hide) return ToQString(entry.send);
  // The length of a password is not shown either.
  return entry.send.empty() ? QString() : QString(8, QChar(0x2022));
}

// ---- ExpectSendDialog ----

ExpectSendDialog::ExpectSendDialog(const ExpectSendEntry& entry, QWidget* parent)
    : VDialog(parent), entry_(entry) {
  setWindowTitle(CatalogueText(kEntryTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  expect_ = new QLineEdit(ToQString(entry.expect), this);
  auto* expectLabel = new QLabel(CatalogueText(kEntryExpectLabel), this);
  expectLabel->setBuddy(expect_);
  form->addRow(expectLabel, expect_);
  send_ = new QLineEdit(this);
  AddSensitiveEdit(send_);  // wiped when the dialog closes, whichever way
  {
    VUnicodeString send = entry.send;
    send.SetSensitive(true);
    send_->setText(ToQString(send));
  }
  auto* sendLabel = new QLabel(CatalogueText(kEntrySendLabel), this);
  sendLabel->setBuddy(send_);
  form->addRow(sendLabel, send_);
  hide_ = new QCheckBox(CatalogueText(kEntryHide), this);
  hide_->setChecked(entry.hide);
  layout->addWidget(hide_);
  auto echo = [this] {
    send_->setEchoMode(hide_->isChecked() ? QLineEdit::Password : QLineEdit::Normal);
  };
  echo();
  connect(hide_, &QCheckBox::toggled, this, echo);
  AddOkCancel(layout);
  setMinimumWidth(fontMetrics().averageCharWidth() * 50);
  expect_->setFocus();
}

bool ExpectSendDialog::OnOK() {
  entry_.expect = FromQString(expect_->text());
  entry_.hide = hide_->isChecked();
  entry_.send = SensitiveText(send_);
  return true;
}

// ---- SessionLogonScriptsPage ----

SessionLogonScriptsPage::SessionLogonScriptsPage(const SessionPageContext& context, QWidget* parent)
    : VPropertyTreePage(CatalogueText(kPageLogonActions), parent), context_(context) {}

void SessionLogonScriptsPage::OnInitDialog() {
  SessionConfig& session = *context_.session;
  secretsUsable_ = !IsConfigPassphraseDisabled();
  entries_ = session.loginScript.GetEntries();
  seeded_ = entries_.empty();
  if (seeded_) entries_ = InitialExpectSendEntries();
  started_ = entries_;

  auto* layout = new QVBoxLayout(this);
  automate_ = new QCheckBox(CatalogueText(kAutomateLogon), this);
  automate_->setChecked(session.useLoginScript.current);
  layout->addWidget(automate_);

  auto* listRow = new QHBoxLayout;
  list_ = new VListCtrl(this);
  list_->SetColumns({{CatalogueText(kExpectColumn), 1}, {CatalogueText(kSendColumn), 1}});
  list_->setSortingEnabled(false);  // the entries run in this order
  listRow->addWidget(list_, 1);
  auto* buttons = new QVBoxLayout;
  add_ = new QPushButton(CatalogueText(kAddEntry), this);
  edit_ = new QPushButton(CatalogueText(kEditEntry), this);
  delete_ = new QPushButton(CatalogueText(kDeleteEntry), this);
  for (QPushButton* button : {add_, edit_, delete_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  listRow->addLayout(buttons);
  layout->addLayout(listRow, 1);

  initialCr_ = new QCheckBox(CatalogueText(kSendInitialCr), this);
  initialCr_->setChecked(session.sendInitialCarriageReturn.current);
  layout->addWidget(initialCr_);

  // A protocol's own logon options go here; empty, it takes no room.
  protocolPanel_ = new QWidget(this);
  new QVBoxLayout(protocolPanel_);
  protocolPanel_->layout()->setContentsMargins(0, 0, 0, 0);
  protocolPanel_->hide();
  layout->addWidget(protocolPanel_);

  auto* group = new QGroupBox(CatalogueText(kLogonScriptGroup), this);
  auto* grid = new QGridLayout(group);
  useScript_ = new QCheckBox(CatalogueText(kUseScriptFile), group);
  useScript_->setChecked(session.useScriptFile.current);
  grid->addWidget(useScript_, 0, 0, 1, 3);
  auto* scriptLabel = new QLabel(CatalogueText(kScriptFileLabel), group);
  script_ = new QLineEdit(ToQString(session.scriptFilename.Current()), group);
  AddAutoComplete(script_);
  scriptLabel->setBuddy(script_);
  browse_ = new QPushButton(CatalogueText(ui_messages::kBrowse), group);
  browse_->setAutoDefault(false);
  grid->addWidget(scriptLabel, 1, 0);
  grid->addWidget(script_, 1, 1);
  grid->addWidget(browse_, 1, 2);
  auto* argumentsLabel = new QLabel(CatalogueText(kScriptArgumentsLabel), group);
  arguments_ = new QLineEdit(ToQString(session.scriptArguments.Current()), group);
  argumentsLabel->setBuddy(arguments_);
  grid->addWidget(argumentsLabel, 2, 0);
  grid->addWidget(arguments_, 2, 1, 1, 2);
  layout->addWidget(group);

  FillList();
  connect(automate_, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(useScript_, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateEnabled(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { OnEdit(); });
  connect(add_, &QPushButton::clicked, this, [this] { OnAdd(); });
  connect(edit_, &QPushButton::clicked, this, [this] { OnEdit(); });
  connect(delete_, &QPushButton::clicked, this, [this] {
    std::vector<int> rows = list_->SelectedRows();
    if (!rows.empty()) DeleteEntry(rows.front());
  });
  connect(browse_, &QPushButton::clicked, this, [this] { OnBrowse(); });
  UpdateEnabled();
  RefreshForProtocols();
}

void SessionLogonScriptsPage::FillList() {
  list_->DeleteAllRows();
  for (const ExpectSendEntry& entry : entries_)
    list_->AddRow({ToQString(entry.expect), ShownSendText(entry)});
}

void SessionLogonScriptsPage::UpdateEnabled() {
  const bool writable = !context_.readOnly;
  automate_->setEnabled(writable);
  const bool listOn = writable && secretsUsable_ && automate_->isChecked();
  const bool selected = !list_->SelectedRows().empty();
  list_->setEnabled(listOn);
  add_->setEnabled(listOn);
  edit_->setEnabled(listOn && selected);
  delete_->setEnabled(listOn && selected);
  initialCr_->setEnabled(writable);
  useScript_->setEnabled(writable);
  const bool scriptOn = writable && useScript_->isChecked();
  script_->setEnabled(scriptOn);
  browse_->setEnabled(scriptOn);
  arguments_->setEnabled(scriptOn);
}

void SessionLogonScriptsPage::AddEntry(const ExpectSendEntry& entry) {
  entries_.push_back(entry);
  if (list_) {
    FillList();
    list_->SelectRow(static_cast<int>(entries_.size()) - 1);
  }
}

void SessionLogonScriptsPage::ReplaceEntry(int row, const ExpectSendEntry& entry) {
  entries_.at(static_cast<size_t>(row)) = entry;
  if (list_) {
    FillList();
    list_->SelectRow(row);
  }
}

void SessionLogonScriptsPage::DeleteEntry(int row) {
  if (row < 0 || static_cast<size_t>(row) >= entries_.size())
    throw std::out_of_range("expect/send row " + std::to_string(row));
  entries_.erase(entries_.begin() + row);
  if (list_) {
    FillList();
    if (!entries_.empty()) list_->SelectRow(std::min(row, static_cast<int>(entries_.size()) - 1));
    UpdateEnabled();
  }
}

void SessionLogonScriptsPage::OnAdd() {
  ExpectSendDialog dialog(ExpectSendEntry{}, this);
  if (dialog.DoModal() == kIdOk) AddEntry(dialog.Entry());
}

void SessionLogonScriptsPage::OnEdit() {
  std::vector<int> rows = list_->SelectedRows();
  if (rows.empty() || !edit_->isEnabled()) return;
  ExpectSendDialog dialog(entries_.at(static_cast<size_t>(rows.front())), this);
  if (dialog.DoModal() == kIdOk) ReplaceEntry(rows.front(), dialog.Entry());
}

void SessionLogonScriptsPage::OnBrowse() {
  QString filters = VGetFileFilters(
      {VFileFilter(CatalogueText(kScriptFilesFilter), QString::fromLatin1(kScriptPatterns))});
  OnBrowseHelper(script_, CatalogueText(kSelectScriptTitle), QString::fromLatin1(kDefaultScriptName),
                 filters);
}

void SessionLogonScriptsPage::RefreshForProtocols() {
  ++layouts_;
  if (!protocolPanel_) return;
  protocolPanel_->setVisible(!protocolPanel_->findChildren<QWidget*>(
                                  QString(), Qt::FindDirectChildrenOnly).isEmpty());
  if (layout()) layout()->activate();
  updateGeometry();
}

void SessionLogonScriptsPage::OnApply() {
  SessionConfig& session = *context_.session;
  if (session.useLoginScript.current != automate_->isChecked())
    session.useLoginScript = automate_->isChecked();
  // The two prompts a session without entries starts from are written once the user changed the
  // list or switched the automation on (which runs what the list shows), so that only looking at
  // the page changes nothing.
  const bool takeSeeds = seeded_ && automate_->isChecked();
  if (secretsUsable_ && (entries_ != started_ || takeSeeds)) session.loginScript.SetEntries(entries_);
  if (session.sendInitialCarriageReturn.current != initialCr_->isChecked())
    session.sendInitialCarriageReturn = initialCr_->isChecked();
  if (session.useScriptFile.current != useScript_->isChecked())
    session.useScriptFile = useScript_->isChecked();
  VUnicodeString script = FromQString(script_->text());
  if (script != session.scriptFilename.Current()) session.scriptFilename = script;
  VUnicodeString arguments = FromQString(arguments_->text());
  if (arguments != session.scriptArguments.Current()) session.scriptArguments = arguments;
}
