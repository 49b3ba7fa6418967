#include "ui/session_pages/session_page_base.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/session_pages/session_page_texts.h"

QString PageText(uint32_t id) { return CatalogueText(id); }

SessionPageBase::SessionPageBase(uint32_t titleId, const SessionPageContext& context)
    : VPropertyTreePage(PageText(titleId)), context_(context) {}

QWidget* SessionPageBase::ControlOf(std::u16string_view name) const {
  for (const Binding& binding : bindings_)
    if (binding.name == name) return binding.control;
  return nullptr;
}

void SessionPageBase::OnInitDialog() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Build(layout);
  layout->addStretch(1);
  ToControls();
  for (const Binding& binding : bindings_) {
    WatchChanges(binding.control);
    if (binding.other) WatchChanges(binding.other);
  }
  RefreshEnabling();
}

void SessionPageBase::OnSetActive() { RefreshEnabling(); }

bool SessionPageBase::OnKillActive() {
  // Nothing can be changed or written: a stored value the checks would refuse must not keep
  // the user on the page.
  if (context_.readOnly) return true;
  if (!Validate()) return false;
  FromControls();
  SaveExtra();
  return true;
}

void SessionPageBase::OnApply() {
  FromControls();
  SaveExtra();
  if (context_.readOnly || !context_.session) return;
  settings_.Write(*context_.session);
  AfterApply();
}

bool SessionPageBase::Fail(QWidget* control, uint32_t id,
                           std::initializer_list<std::u16string_view> inserts) {
  VReportMessageParams message(id, VGetUiMessageModule());
  for (std::u16string_view insert : inserts) message.AddInsert(VUnicodeString(insert));
  return FailValidation(control, message);
}

bool SessionPageBase::Fail(QWidget* control, const RuleFailure& failure) {
  VReportMessageParams message(failure.id, VGetUiMessageModule());
  for (const VUnicodeString& insert : failure.inserts) message.AddInsert(insert);
  return FailValidation(control, message);
}

void SessionPageBase::RefreshEnabling() {
  for (const Binding& binding : bindings_) {
    bool known = settings_.Has(binding.name);
    binding.control->setEnabled(known);
    if (binding.other) binding.other->setEnabled(known);
  }
  for (auto& [box, field] : dependents_) {
    auto* check = static_cast<QCheckBox*>(box);
    // A field bound to a setting the session lacks stays disabled whatever its box says.
    bool usable = true;
    for (const Binding& binding : bindings_)
      if (binding.control == field) usable = settings_.Has(binding.name);
    field->setEnabled(usable && check->isEnabled() && check->isChecked());
  }
  UpdateEnabling();
  if (context_.readOnly) {
    for (QWidget* child : findChildren<QWidget*>()) {
      if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
          qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSpinBox*>(child))
        child->setEnabled(false);
    }
  }
}

bool SessionPageBase::Bind(QWidget* control, std::u16string_view name, Kind kind, QWidget* other) {
  control->setObjectName(ToQString(name));
  bool known = context_.session && settings_.Read(*context_.session, name);
  bindings_.push_back(Binding{std::u16string(name), kind, control, other});
  return known;
}

QCheckBox* SessionPageBase::BindCheck(QCheckBox* box, std::u16string_view name) {
  Bind(box, name, Kind::Check);
  return box;
}

QLineEdit* SessionPageBase::BindText(QLineEdit* edit, std::u16string_view name) {
  Bind(edit, name, Kind::Text);
  return edit;
}

QLineEdit* SessionPageBase::BindIntText(QLineEdit* edit, std::u16string_view name) {
  Bind(edit, name, Kind::IntText);
  return edit;
}

QSpinBox* SessionPageBase::BindSpin(QSpinBox* spin, std::u16string_view name, int min, int max) {
  spin->setRange(min, max);
  Bind(spin, name, Kind::Spin);
  return spin;
}

QComboBox* SessionPageBase::BindComboText(QComboBox* combo, std::u16string_view name) {
  Bind(combo, name, Kind::ComboText);
  return combo;
}

QComboBox* SessionPageBase::BindComboNumber(QComboBox* combo, std::u16string_view name) {
  Bind(combo, name, Kind::ComboNumber);
  return combo;
}

void SessionPageBase::BindRadio(QRadioButton* whenOn, QRadioButton* whenOff,
                                std::u16string_view name) {
  Bind(whenOn, name, Kind::Radio, whenOff);
  whenOff->setObjectName(ToQString(name) + QStringLiteral(" off"));
}

void SessionPageBase::ToControls() {
  for (const Binding& b : bindings_) {
    const PageValue* value = settings_.Find(b.name);
    if (!value) continue;
    switch (b.kind) {
      case Kind::Check: {
        auto* box = static_cast<QCheckBox*>(b.control);
        if (std::holds_alternative<VTriState>(*value)) {
          // Not set: the session follows the global options, shown as the third state.
          box->setTristate(true);
          VTriState state = settings_.GetTriState(b.name);
          box->setCheckState(state == TriStateNotSet ? Qt::PartiallyChecked
                             : state == TriStateOn   ? Qt::Checked
                                                     : Qt::Unchecked);
        } else {
          box->setChecked(settings_.GetBool(b.name));
        }
        break;
      }
      case Kind::Text:
        static_cast<QLineEdit*>(b.control)->setText(ToQString(settings_.GetText(b.name)));
        break;
      case Kind::IntText:
        static_cast<QLineEdit*>(b.control)->setText(QString::number(settings_.GetInt(b.name)));
        break;
      case Kind::Spin: {
        auto* spin = static_cast<QSpinBox*>(b.control);
        int number = settings_.GetInt(b.name);
        // A stored number outside the control's range is shown, not cut to it.
        if (number < spin->minimum()) spin->setMinimum(number);
        if (number > spin->maximum()) spin->setMaximum(number);
        spin->setValue(number);
        break;
      }
      case Kind::ComboText: {
        auto* combo = static_cast<QComboBox*>(b.control);
        QString text = ToQString(settings_.GetText(b.name));
        int index = combo->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index < 0) index = combo->findText(text, Qt::MatchFixedString);
        if (index < 0 && combo->isEditable()) {
          combo->setEditText(text);
          break;
        }
        if (index < 0) {
          combo->addItem(text);
          index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
        break;
      }
      case Kind::ComboNumber: {
        auto* combo = static_cast<QComboBox*>(b.control);
        int number = settings_.GetInt(b.name);
        int index = combo->findData(number);
        if (index < 0) {
          combo->addItem(QString::number(number), number);
          index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
        break;
      }
      case Kind::Radio: {
        bool on = settings_.GetBool(b.name);
        static_cast<QRadioButton*>(b.control)->setChecked(on);
        static_cast<QRadioButton*>(b.other)->setChecked(!on);
        break;
      }
    }
  }
}

void SessionPageBase::FromControls() {
  for (const Binding& b : bindings_) {
    if (!settings_.Has(b.name)) continue;
    switch (b.kind) {
      case Kind::Check: {
        auto* box = static_cast<QCheckBox*>(b.control);
        Qt::CheckState state = box->checkState();
        VTriState shown = state == Qt::PartiallyChecked ? TriStateNotSet
                          : state == Qt::Checked        ? TriStateOn
                                                        : TriStateOff;
        // A box left as it was keeps the number behind it, even one other than 0 or 1.
        bool same = std::holds_alternative<VTriState>(*settings_.Find(b.name))
                        ? shown == settings_.GetTriState(b.name)
                        : (shown == TriStateOn) == settings_.GetBool(b.name);
        if (!same) settings_.Set(b.name, shown);
        break;
      }
      case Kind::Text:
        settings_.Set(b.name, FromQString(static_cast<QLineEdit*>(b.control)->text()));
        break;
      case Kind::IntText: {
        bool ok = false;
        int number = static_cast<QLineEdit*>(b.control)->text().trimmed().toInt(&ok);
        if (ok) settings_.Set(b.name, number);  // a page refuses text that is not a number first
        break;
      }
      case Kind::Spin:
        settings_.Set(b.name, static_cast<QSpinBox*>(b.control)->value());
        break;
      case Kind::ComboText:
        settings_.Set(b.name, FromQString(static_cast<QComboBox*>(b.control)->currentText()));
        break;
      case Kind::ComboNumber: {
        auto* combo = static_cast<QComboBox*>(b.control);
        if (combo->currentIndex() >= 0) settings_.Set(b.name, combo->currentData().toInt());
        break;
      }
      case Kind::Radio:
        settings_.Set(b.name, static_cast<QRadioButton*>(b.control)->isChecked());
        break;
    }
  }
}

void SessionPageBase::WatchChanges(QWidget* control) {
  if (auto* button = qobject_cast<QAbstractButton*>(control))
    connect(button, &QAbstractButton::toggled, this, [this] { RefreshEnabling(); });
  else if (auto* combo = qobject_cast<QComboBox*>(control))
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { RefreshEnabling(); });
}

void SessionPageBase::Depend(QCheckBox* box, QWidget* field) {
  dependents_.emplace_back(box, field);
  connect(box, &QCheckBox::toggled, this, [this] { RefreshEnabling(); });
}

bool SessionPageBase::ReadSetting(std::u16string_view name) {
  return context_.session && settings_.Read(*context_.session, name);
}

QCheckBox* SessionPageBase::NewCheck(uint32_t textId, std::u16string_view name) {
  return BindCheck(new QCheckBox(PageText(textId), this), name);
}

QGroupBox* SessionPageBase::NewGroup(uint32_t titleId, QBoxLayout* inner) {
  auto* group = new QGroupBox(PageText(titleId), this);
  group->setLayout(inner);
  return group;
}

QLineEdit* SessionPageBase::AddTextRow(QFormLayout* form, uint32_t labelId,
                                       std::u16string_view name) {
  auto* edit = BindText(new QLineEdit(this), name);
  form->addRow(PageText(labelId), edit);
  return edit;
}

QSpinBox* SessionPageBase::AddSpinRow(QFormLayout* form, uint32_t labelId,
                                      std::u16string_view name, int min, int max) {
  auto* spin = BindSpin(new QSpinBox(this), name, min, max);
  form->addRow(PageText(labelId), spin);
  return spin;
}

QComboBox* SessionPageBase::AddNumberComboRow(
    QFormLayout* form, uint32_t labelId, std::u16string_view name,
    std::initializer_list<std::pair<uint32_t, int>> entries) {
  auto* combo = new QComboBox(this);
  for (const auto& [textId, number] : entries) combo->addItem(PageText(textId), number);
  BindComboNumber(combo, name);
  form->addRow(PageText(labelId), combo);
  return combo;
}

void SessionPageBase::AddFieldRow(QFormLayout* form, uint32_t labelId, QWidget* field,
                                  std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addWidget(field, 1);
  for (QPushButton* button : buttons) row->addWidget(button);
  form->addRow(PageText(labelId), row);
  if (auto* label = qobject_cast<QLabel*>(form->labelForField(row))) label->setBuddy(field);
}

QLineEdit* SessionPageBase::AddFolderRow(QFormLayout* form, uint32_t labelId, uint32_t browseId,
                                         std::u16string_view name) {
  QLineEdit* edit = BindText(new QLineEdit(this), name);
  auto* browse = new QPushButton(PageText(browseId), this);
  AddFieldRow(form, labelId, edit, {browse});
  AddAutoComplete(edit, true);
  connect(browse, &QPushButton::clicked, this,
          [edit] { OnBrowseLocalFolderHelper(edit, PageText(session_page_text::kSelectFolder)); });
  return edit;
}

QLineEdit* SessionPageBase::AddCheckedText(QFormLayout* form, uint32_t checkId,
                                           std::u16string_view checkName,
                                           std::u16string_view textName, QCheckBox** box) {
  QCheckBox* check = NewCheck(checkId, checkName);
  auto* edit = BindText(new QLineEdit(this), textName);
  form->addRow(check, edit);
  Depend(check, edit);
  if (box) *box = check;
  return edit;
}
