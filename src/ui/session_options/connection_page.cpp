#include "ui/session_options/connection_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "config/session/connect_protocol_table.h"
#include "config/session/session_config.h"
#include "crypto/config_passphrase.h"
#include "environment/installed_products.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "ui/session_options/session_options_dialog.h"
#include "ui/session_options/session_options_messages.h"

namespace {

using namespace session_options_messages;

constexpr char16_t kPreConnectKey[] = u"Local Shell Command Pre-connect V2";

ConnectConfigPtr& PartOf(SessionConfig& session, int part) {
  return part == 0 ? session.terminalPart : session.transferPart;
}

// The settings objects that hold the pre-connect command: both parts keep it under one stored
// name, so a change goes into each, or the part saved last would write the old text back.
std::vector<VProfileEncryptedString*> PreConnectSettings(SessionConfig& session) {
  std::vector<VProfileEncryptedString*> found;
  for (int part : {0, 1}) {
    if (ConnectConfig* config = PartOf(session, part).GetConfig()) {
      if (auto* value = dynamic_cast<VProfileEncryptedString*>(config->FindMember(kPreConnectKey)))
        found.push_back(value);
    }
  }
  return found;
}

}  // namespace

SessionConnectPage::SessionConnectPage(const SessionPageContext& context, QWidget* parent)
    : VPropertyTreePage(CatalogueText(kPageConnection), parent), context_(context) {
  lists_[0].original = context.session->terminalPart.GetStoredProtocolName();
  lists_[1].original = context.session->transferPart.GetStoredProtocolName();
}

void SessionConnectPage::OnInitDialog() {
  SessionConfig& session = *context_.session;
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  auto addRow = [&](uint32_t labelId, QWidget* field) {
    auto* label = new QLabel(CatalogueText(labelId), this);
    label->setBuddy(field);
    form->addRow(label, field);
  };

  name_ = new QLineEdit(ToQString(session.GetSessionName()), this);
  addRow(kNameLabel, name_);
  // The Default session and a set of sessions have no name of their own to edit.
  const bool nameFixed = context_.mode == kSessionOptionsDefaultSession ||
                         context_.mode == kSessionOptionsMultiple;
  name_->setEnabled(!nameFixed && !context_.readOnly);

  if (HasIntegratedProtocols()) {
    lists_[0].combo = new QComboBox(this);
    addRow(kTerminalProtocolLabel, lists_[0].combo);
    lists_[1].combo = new QComboBox(this);
    addRow(kTransferProtocolLabel, lists_[1].combo);
  } else {
    int part = SingleListPart();
    lists_[part].combo = new QComboBox(this);
    addRow(kProtocolLabel, lists_[part].combo);
  }
  for (int part : {0, 1}) {
    if (!lists_[part].combo) continue;
    Fill(part);
    lists_[part].combo->setEnabled(!context_.readOnly);
    connect(lists_[part].combo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this, part](int) { OnProtocolPicked(part); });
  }

  auto* preConnectLabel = new QLabel(CatalogueText(kPreConnectLabel), this);
  preConnect_ = new QLineEdit(this);
  preConnectLabel->setBuddy(preConnect_);
  layout->addWidget(preConnectLabel);
  layout->addWidget(preConnect_);
  connect(preConnect_, &QLineEdit::textEdited, this, [this] { preConnectEdited_ = true; });
  UpdatePreConnect();

  auto* descriptionLabel = new QLabel(CatalogueText(kDescriptionLabel), this);
  description_ = new QPlainTextEdit(this);
  descriptionLabel->setBuddy(description_);
  description_->setPlainText(ToQString(session.description.GetText(true)));
  description_->setTabChangesFocus(true);
  description_->setReadOnly(context_.readOnly);
  layout->addWidget(descriptionLabel);
  layout->addWidget(description_, 1);
}

void SessionConnectPage::Fill(int part) {
  List& list = lists_[part];
  QSignalBlocker block(list.combo);
  list.combo->clear();
  VUnicodeString current = PartOf(*context_.session, part).GetStoredProtocolName();
  int selected = 0;
  for (const ProtocolListEntry& entry : ProtocolListEntries(part, current)) {
    QString shown = entry.display.empty() ? CatalogueText(kProtocolNone) : ToQString(entry.display);
    list.combo->addItem(shown, ToQString(entry.name));
    if (!current.empty() && vtext::EqualsNoCase(entry.name, current))
      selected = list.combo->count() - 1;
  }
  list.combo->setCurrentIndex(selected);
  list.shown = selected;
}

VUnicodeString SessionConnectPage::Chosen(int part) const {
  const List& list = lists_[part];
  if (!list.combo) return VUnicodeString();
  return FromQString(list.combo->currentData().toString());
}

void SessionConnectPage::OnProtocolPicked(int part) {
  List& list = lists_[part];
  SessionConfig& session = *context_.session;
  auto* dialog = dynamic_cast<SessionOptionsDialogBase*>(Dialog());
  ConnectProtocolTable& table = GetConnectProtocolTable();
  const VUnicodeString name = Chosen(part);
  const bool none = vtext::EqualsNoCase(name, u"None");
  const int newIndex = none ? -1 : table.Find(name, part);
  // A protocol that is not loaded here cannot be switched to; the check on OK names it.
  if (!none && newIndex < 0) {
    list.shown = list.combo->currentIndex();
    return;
  }
  const int previousIndex = PartOf(session, part).GetPosition();
  VReportMessageParams error;
  bool switched = part == 0 ? session.SetTerminalProtocol(name, error)
                            : session.SetTransferProtocol(name, error);
  if (!switched) {
    VMessageBox(Dialog() ? static_cast<QWidget*>(Dialog()) : this, error, kMbOk | kMbIconWarning);
    QSignalBlocker block(list.combo);
    list.combo->setCurrentIndex(list.shown);
    return;
  }
  list.shown = list.combo->currentIndex();
  if (dialog) {
    const int other = 1 - part;
    const int companion = lists_[other].combo ? PartOf(session, other).GetPosition() : -1;
    dialog->UpdateSessionProtocolPages(previousIndex, newIndex, companion);
    // The part's own subtree follows the choice: no terminal pages for no terminal protocol.
    if (part == 0) dialog->ShowHideTerminalPages(!none);
    else dialog->ShowHideFileTransferPages(!none);
  }
  UpdatePreConnect();
}

void SessionConnectPage::UpdatePreConnect() {
  std::vector<VProfileEncryptedString*> settings = PreConnectSettings(*context_.session);
  // Secrets can be neither read nor written while the passphrase is disabled.
  const bool usable = !settings.empty() && !IsConfigPassphraseDisabled();
  preConnect_->setEnabled(usable && !context_.readOnly);
  // What the user typed stays across protocols, also through one that cannot take it.
  if (!usable || preConnectEdited_) return;
  VUnicodeString text = settings.front()->GetPlaintext();
  text.SetSensitive(true);
  preConnect_->setText(ToQString(text));
}

bool SessionConnectPage::OnKillActive() {
  SessionConfig& session = *context_.session;
  ConnectionEntries entries;
  const VUnicodeString proposed = FromQString(name_->text().trimmed());
  entries.checkName = name_->isEnabled() &&
                      (context_.newSession || proposed != session.GetSessionName());
  entries.folder = SessionFolderOf(session.GetSessionPath());
  entries.currentName = context_.newSession ? VUnicodeString() : session.GetSessionName();
  entries.proposedName = proposed;
  entries.terminalProtocol = Chosen(0);
  entries.transferProtocol = Chosen(1);
  entries.twoLists = lists_[0].combo && lists_[1].combo;
  entries.bothNoneAllowed = context_.mode == kSessionOptionsDefaultSession;
  VReportMessageParams error;
  switch (CheckConnectionEntries(entries, error)) {
    case ConnectionField::None:
      return true;
    case ConnectionField::Name:
      return FailValidation(name_, error);
    case ConnectionField::TerminalProtocol:
      return FailValidation(lists_[0].combo ? lists_[0].combo : ProtocolList(), error);
    case ConnectionField::TransferProtocol:
      return FailValidation(lists_[1].combo ? lists_[1].combo : ProtocolList(), error);
  }
  return true;
}

void SessionConnectPage::OnApply() {
  SessionConfig& session = *context_.session;
  if (name_->isEnabled()) {
    VUnicodeString proposed = FromQString(name_->text().trimmed());
    if (proposed != session.GetSessionName()) session.SetSessionName(proposed);
  }
  if (preConnect_->isEnabled()) {
    VUnicodeString text = FromQString(preConnect_->text());
    text.SetSensitive(true);
    for (VProfileEncryptedString* setting : PreConnectSettings(session)) {
      // Encrypting again gives other bytes: an unchanged command is left as stored.
      if (setting->GetPlaintext() != text) setting->SetPlaintext(text);
    }
  }
  if (!description_->isReadOnly()) {
    VUnicodeString text = FromQString(description_->toPlainText());
    if (text != session.description.GetText(true)) session.description.SetText(text);
  }
}

void SessionConnectPage::RevertProtocolChoice() {
  SessionConfig& session = *context_.session;
  for (int part : {0, 1}) {
    ConnectConfigPtr& ptr = PartOf(session, part);
    if (ptr.GetStoredProtocolName() == lists_[part].original || lists_[part].original.empty())
      continue;
    VReportMessageParams ignored;
    part == 0 ? session.SetTerminalProtocol(lists_[part].original, ignored)
              : session.SetTransferProtocol(lists_[part].original, ignored);
  }
}
