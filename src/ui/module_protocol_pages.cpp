#include "ui/module_protocol_pages.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/session/connect_protocol_table.h"
#include "config/session/session_interface.h"
#include "crypto/config_passphrase.h"
#include "marrowby/exchange.h"
#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/protocol_field_values.h"

namespace {

// Longest entry of a text field: host names and paths fit, a pasted novel does not.
constexpr int kMaxFieldChars = 1024;

QString ChoiceText(const ProtocolFieldChoice& choice) {
  return choice.label ? CatalogueText(choice.label) : QString::number(choice.value);
}

QString PageTitle(const ProtocolPage& page, const ConnectProtocolEntry& entry) {
  if (page.title) return CatalogueText(page.title);
  return ToQString(entry.displayName.empty() ? entry.protocolName : entry.displayName);
}

}  // namespace

// ---- one page ----

ModuleProtocolPage::ModuleProtocolPage(const QString& title, const ProtocolPage& page,
                                       const ConnectProtocolEntry& entry, ISessionConfig& session,
                                       int mode)
    : VPropertyTreePage(title), page_(page), entry_(entry), session_(session), mode_(mode) {
  for (const ProtocolField& field : page.fields) fields_.push_back(Bound{&field, nullptr, QString(), false, false, QString()});
}

ModuleProtocolPage::~ModuleProtocolPage() {
  WipeSecrets();
  if (standIn_) standIn_->Release();
}

ConnectConfig* ModuleProtocolPage::Source() {
  if (ConnectConfig* own = FindProtocolConfig(session_, entry_.protocolName)) return own;
  if (standIn_) return standIn_;
  // The session has not used the protocol yet: show its defaults, with what the session already
  // holds under the names the protocols share (the host, the user).
  standIn_ = entry_.CreateConfig();
  if (!standIn_) return nullptr;
  standIn_->LoadConfig(nullptr, nullptr, entry_.productId);
  for (const ProtocolField& field : page_.fields) {
    std::vector<VProfileData*> shared = SessionSettings(session_, field.setting);
    VProfileData* mine = FindFieldSetting(*standIn_, field);
    if (shared.empty() || !mine) continue;
    switch (field.kind) {
      case ProtocolFieldKind::Check:
        WriteFieldCheck(*mine, FieldCheck(*shared.front()));
        break;
      case ProtocolFieldKind::Choice:
        WriteFieldNumber(*mine, FieldNumber(*shared.front()));
        break;
      default:
        WriteFieldText(field, *mine, FieldText(field, *shared.front()));
        break;
    }
  }
  return standIn_;
}

void ModuleProtocolPage::OnInitDialog() {
  auto* form = new QFormLayout(this);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  // A long label goes above its field rather than squeezing it.
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);
  for (Bound& bound : fields_) AddRow(form, bound);
  for (Bound& bound : fields_) Fill(bound);
  if (VIsReadOnly(mode_)) {
    for (QWidget* child : findChildren<QWidget*>()) {
      if (!qobject_cast<QLabel*>(child)) child->setEnabled(false);
    }
  }
}

void ModuleProtocolPage::AddRow(QFormLayout* form, Bound& bound) {
  const ProtocolField& field = *bound.field;
  QString text = CatalogueText(field.label);
  bound.label = ToQString(PlainFieldLabel(FromQString(text)));
  if (field.kind == ProtocolFieldKind::Check) {
    auto* box = new QCheckBox(text, this);
    bound.control = box;
    form->addRow(box);
    return;
  }
  auto* label = new QLabel(text, this);
  QWidget* control = nullptr;
  QWidget* row = nullptr;
  switch (field.kind) {
    case ProtocolFieldKind::Choice: {
      auto* combo = new QComboBox(this);
      for (const ProtocolFieldChoice& choice : field.choices)
        combo->addItem(ChoiceText(choice), QVariant::fromValue<qlonglong>(choice.value));
      control = combo;
      break;
    }
    case ProtocolFieldKind::Number:
      if (!field.choices.empty()) {
        // Common values offered, any value in range typed.
        auto* combo = new QComboBox(this);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const ProtocolFieldChoice& choice : field.choices)
          combo->addItem(ChoiceText(choice), QVariant::fromValue<qlonglong>(choice.value));
        control = combo;
      } else {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(12);
        control = edit;
      }
      break;
    case ProtocolFieldKind::Password: {
      auto* edit = new QLineEdit(this);
      edit->setEchoMode(QLineEdit::Password);
      edit->setMaxLength(kMaxFieldChars);
      if (Dialog()) Dialog()->AddSensitiveEdit(edit);
      connect(edit, &QLineEdit::textEdited, this, [&bound] { bound.edited = true; });
      control = edit;
      break;
    }
    case ProtocolFieldKind::File: {
      auto* edit = new QLineEdit(this);
      edit->setMaxLength(kMaxFieldChars);
      AddAutoComplete(edit);
      auto* browse = new QPushButton(CatalogueText(ui_messages::kBrowse), this);
      connect(browse, &QPushButton::clicked, this, [this, edit] {
        QString all = CatalogueText(ui_messages::kAllFiles, nullptr, {u"*"});
        OnBrowseHelper(edit, CatalogueText(kMsgSelectFile), QString(), VFileFilter(all, "*"));
      });
      row = new QWidget(this);
      auto* line = new QHBoxLayout(row);
      line->setContentsMargins(0, 0, 0, 0);
      line->addWidget(edit, 1);
      line->addWidget(browse);
      control = edit;
      break;
    }
    case ProtocolFieldKind::Text:
    case ProtocolFieldKind::Check: {
      auto* edit = new QLineEdit(this);
      edit->setMaxLength(kMaxFieldChars);
      control = edit;
      break;
    }
  }
  label->setBuddy(control);
  // Room for a host name or a path without scrolling.
  if (qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control))
    control->setMinimumWidth(field.kind == ProtocolFieldKind::Number ? 100 : 220);
  bound.control = control;
  form->addRow(label, row ? row : control);
}

void ModuleProtocolPage::Fill(Bound& bound) {
  ConnectConfig* source = Source();
  VProfileData* setting = source ? FindFieldSetting(*source, *bound.field) : nullptr;
  if (!setting) {
    // A description naming something the object lacks shows nothing to edit rather than a value
    // that would go nowhere.
    bound.control->setEnabled(false);
    return;
  }
  bound.available = true;
  const ProtocolField& field = *bound.field;
  if (auto* box = qobject_cast<QCheckBox*>(bound.control)) {
    box->setChecked(FieldCheck(*setting));
  } else if (auto* combo = qobject_cast<QComboBox*>(bound.control)) {
    int64_t value = FieldNumber(*setting);
    int index = combo->findData(QVariant::fromValue<qlonglong>(value));
    if (field.kind == ProtocolFieldKind::Number) {
      combo->setCurrentIndex(index);
      combo->setEditText(QString::number(value));
    } else {
      if (index < 0) {
        // A stored value the list does not offer is kept as it is until another is chosen.
        combo->addItem(QString::number(value), QVariant::fromValue<qlonglong>(value));
        index = combo->count() - 1;
      }
      combo->setCurrentIndex(index);
    }
  } else if (auto* edit = qobject_cast<QLineEdit*>(bound.control)) {
    VUnicodeString text = FieldText(field, *setting);
    edit->setText(ToQString(text));
    edit->setModified(false);
  }
  if (field.kind != ProtocolFieldKind::Password) bound.shown = State(bound);
}

QString ModuleProtocolPage::State(const Bound& bound) const {
  if (auto* box = qobject_cast<QCheckBox*>(bound.control)) return box->isChecked() ? "1" : "0";
  if (bound.field->kind == ProtocolFieldKind::Choice) {
    auto* combo = static_cast<QComboBox*>(bound.control);
    return QString::number(combo->currentData().toLongLong());
  }
  return EntryText(bound);
}

bool ModuleProtocolPage::IsShown() const { return !Dialog() || Dialog()->IsPageVisible(this); }

QString ModuleProtocolPage::EntryText(const Bound& bound) const {
  if (auto* combo = qobject_cast<QComboBox*>(bound.control)) return combo->currentText();
  if (auto* edit = qobject_cast<QLineEdit*>(bound.control)) return edit->text();
  return QString();
}

bool ModuleProtocolPage::OnKillActive() {
  ConnectConfig* source = Source();
  // A page hidden with its protocol does not stop the dialog: what it holds is written only
  // where it can be.
  if (!source || VIsReadOnly(mode_) || !IsShown()) return true;
  // The Default session and several sessions at once may leave a host or device open.
  bool enforceRequired = mode_ != 3 && mode_ != 4;
  for (Bound& bound : fields_) {
    const ProtocolField& field = *bound.field;
    VProfileData* setting = FindFieldSetting(*source, field);
    if (!setting || !bound.available) continue;
    VReportMessageParams error;
    if (field.kind == ProtocolFieldKind::Password) {
      auto* edit = static_cast<QLineEdit*>(bound.control);
      if (bound.edited && !edit->text().isEmpty() && IsConfigPassphraseDisabled()) {
        error = VReportMessageParams(ui_messages::kPasswordNotSavedDisabled, VGetUiMessageModule());
        return FailValidation(edit, error);
      }
      continue;
    }
    if (field.kind == ProtocolFieldKind::Check || field.kind == ProtocolFieldKind::Choice) continue;
    VUnicodeString text = FromQString(EntryText(bound));
    if (!CheckFieldText(field, *setting, FromQString(bound.label), text, enforceRequired, error))
      return FailValidation(bound.control, error);
  }
  return true;
}

void ModuleProtocolPage::OnApply() {
  if (VIsReadOnly(mode_)) return;
  ConnectConfig* own = FindProtocolConfig(session_, entry_.protocolName);
  for (Bound& bound : fields_) {
    const ProtocolField& field = *bound.field;
    if (!bound.available) continue;
    // Only what was changed is written: two pages showing a setting the parts share (the host
    // of the terminal and of the transfer protocol) must not put back what the other changed.
    if (field.kind == ProtocolFieldKind::Password ? !bound.edited : State(bound) == bound.shown)
      continue;
    // The protocol's own object, and every part holding a setting of the same (shared) name.
    std::vector<VProfileData*> targets = SessionSettings(session_, field.setting);
    if (own) {
      VProfileData* mine = FindFieldSetting(*own, field);
      if (mine && std::find(targets.begin(), targets.end(), mine) == targets.end())
        targets.push_back(mine);
    }
    for (VProfileData* target : targets) {
      if (auto* box = qobject_cast<QCheckBox*>(bound.control)) {
        WriteFieldCheck(*target, box->isChecked());
      } else if (field.kind == ProtocolFieldKind::Choice) {
        auto* combo = static_cast<QComboBox*>(bound.control);
        WriteFieldNumber(*target, combo->currentData().toLongLong());
      } else if (field.kind == ProtocolFieldKind::Password) {
        VUnicodeString secret = SensitiveText(static_cast<QLineEdit*>(bound.control));
        WriteFieldText(field, *target, secret);
      } else {
        WriteFieldText(field, *target, FromQString(EntryText(bound)));
      }
    }
  }
}

void ModuleProtocolPage::OnDestroy() { WipeSecrets(); }

void ModuleProtocolPage::WipeSecrets() {
  for (Bound& bound : fields_) {
    if (bound.field->kind != ProtocolFieldKind::Password) continue;
    if (auto* edit = qobject_cast<QLineEdit*>(bound.control)) CleanSensitiveDataEdit(edit);
  }
}

QWidget* ModuleProtocolPage::ControlFor(std::u16string_view setting) const {
  for (const Bound& bound : fields_) {
    if (vtext::EqualsNoCase(bound.field->setting, setting)) return bound.control;
  }
  return nullptr;
}

// ---- the pages of one protocol ----

ModuleProtocolPages::ModuleProtocolPages(const ConnectProtocolEntry& entry,
                                         const ProtocolPageSet& set, int mode,
                                         VPropertyTreePage* connectionPage)
    : entry_(entry), set_(set), mode_(mode), connectionPage_(connectionPage) {}

ModuleProtocolPages::~ModuleProtocolPages() = default;

void ModuleProtocolPages::ShowPages(VPropertyTreeDialog& dialog, ISessionConfig& session) {
  if (!roots_.empty()) {
    for (const QPointer<VPropertyTreePage>& root : roots_) {
      if (root) dialog.ShowPage(root);
    }
    return;
  }
  pages_.clear();
  for (const ProtocolPage& page : set_.pages) {
    auto* made = new ModuleProtocolPage(PageTitle(page, entry_), page, entry_, session, mode_);
    bool hung = page.parent >= 0 && page.parent < static_cast<int>(pages_.size());
    if (hung) pages_[page.parent]->AddPage(made);
    pages_.push_back(made);
    if (!hung) roots_.push_back(made);
  }
  for (const QPointer<VPropertyTreePage>& root : roots_) {
    if (connectionPage_ && connectionPage_->Dialog() == &dialog)
      dialog.AddPageUnder(root, connectionPage_);
    else
      dialog.AddPage(root);
  }
}

void ModuleProtocolPages::HidePages(VPropertyTreeDialog& dialog) {
  for (const QPointer<VPropertyTreePage>& root : roots_) {
    if (root) dialog.HidePage(root);
  }
}

void ModuleProtocolPages::RemovePages(VPropertyTreeDialog& dialog) {
  for (const QPointer<VPropertyTreePage>& root : roots_) {
    if (root) dialog.RemovePage(root);
  }
  roots_.clear();
  pages_.clear();
}

std::unique_ptr<IProtocolPages> MakeModuleProtocolPages(const ConnectProtocolEntry& entry,
                                                        VPropertyTreeDialog&, int mode,
                                                        ISessionConfig&,
                                                        VPropertyTreePage* connectionPage) {
  const ProtocolPageSet* set = entry.callbacks.describePages(entry);
  if (!set || set->pages.empty()) return nullptr;
  return std::make_unique<ModuleProtocolPages>(entry, *set, mode, connectionPage);
}
