#include "ui/global_options/global_settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"

GlobalSettingsPage::GlobalSettingsPage(uint32_t titleId, GlobalConfig& config,
                                       std::vector<BoundSetting> settings, QWidget* parent)
    : VPropertyTreePage(CatalogueText(titleId), parent), config_(config) {
  for (BoundSetting& bound : settings) rows_.push_back(Row{std::move(bound)});
  // The rows are made at once, not at first showing: the dialog's checks and the tests look at
  // the controls of pages never shown, and a page of a few dozen controls is cheap.
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  for (size_t i = 0; i < rows_.size(); ++i) MakeRow(rows_[i], grid, static_cast<int>(i));
  extra_ = new QVBoxLayout;
  layout->addLayout(extra_);
  layout->addStretch(1);
}

void GlobalSettingsPage::MakeRow(Row& row, QGridLayout* grid, int line) {
  const BoundSetting& bound = row.bound;
  QString label = CatalogueText(bound.labelId);
  if (bound.kind == SettingControlKind::Check) {
    auto* box = new QCheckBox(label, this);
    row.control = box;
    grid->addWidget(box, line, 0, 1, 3);
    return;
  }
  auto* text = new QLabel(label, this);
  row.label = text;
  grid->addWidget(text, line, 0);
  if (bound.kind == SettingControlKind::Choice) {
    auto* combo = new QComboBox(this);
    for (const SettingChoice& choice : bound.choices)
      combo->addItem(CatalogueText(choice.labelId, nullptr, {VGetAppName()}),
                     QVariant::fromValue<qlonglong>(choice.value));
    row.control = combo;
  } else {
    auto* edit = new QLineEdit(this);
    row.control = edit;
    if (bound.kind == SettingControlKind::File || bound.kind == SettingControlKind::Folder) {
      AddAutoComplete(edit, bound.kind == SettingControlKind::Folder);
      // Only the first browse button of a page has the mnemonic: the others are reached from
      // their fields, whose labels have mnemonics of their own.
      QString browse = CatalogueText(ui_messages::kBrowse);
      if (hasBrowse_) browse.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
      hasBrowse_ = true;
      row.browse = new QPushButton(browse, this);
      connect(row.browse, &QPushButton::clicked, this, [this, &row] { Browse(row); });
      grid->addWidget(row.browse, line, 2);
    }
  }
  text->setBuddy(row.control);
  grid->addWidget(row.control, line, 1, 1, row.browse ? 1 : 2);
}

void GlobalSettingsPage::OnInitDialog() {
  for (Row& row : rows_) Load(row);
  InitPage();
}

void GlobalSettingsPage::Load(Row& row) {
  const BoundSetting& bound = row.bound;
  switch (bound.kind) {
    case SettingControlKind::Check: {
      int64_t value = 0;
      ReadGlobalNumber(config_, bound.key, value);
      static_cast<QCheckBox*>(row.control)->setChecked(value != 0);
      break;
    }
    case SettingControlKind::Number: {
      ReadGlobalNumber(config_, bound.key, row.number);
      static_cast<QLineEdit*>(row.control)->setText(QString::number(row.number));
      break;
    }
    case SettingControlKind::Choice: {
      int64_t value = 0;
      ReadGlobalNumber(config_, bound.key, value);
      auto* combo = static_cast<QComboBox*>(row.control);
      // A stored value this page has no entry for shows none and is kept as it is.
      combo->setCurrentIndex(combo->findData(QVariant::fromValue<qlonglong>(value)));
      break;
    }
    default: {
      VUnicodeString value;
      ReadGlobalText(config_, bound.key, value);
      static_cast<QLineEdit*>(row.control)->setText(ToQString(value));
    }
  }
}

void GlobalSettingsPage::Browse(Row& row) {
  auto* edit = static_cast<QLineEdit*>(row.control);
  const BoundSetting& bound = row.bound;
  QString title = bound.browseTitleId ? CatalogueText(bound.browseTitleId, nullptr,
                                                     {FromQString(PlainLabel(bound.labelId))})
                                     : PlainLabel(bound.labelId);
  if (bound.kind == SettingControlKind::Folder) {
    OnBrowseLocalFolderHelper(edit, title);
    return;
  }
  QStringList filters;
  if (bound.filterId)
    filters << VFileFilter(CatalogueText(bound.filterId), QString::fromUtf8(bound.pattern));
  OnBrowseHelper(edit, title, bound.defaultName ? QString::fromUtf8(bound.defaultName) : QString(),
                 VGetFileFilters(filters));
}

bool GlobalSettingsPage::OnKillActive() {
  for (Row& row : rows_) {
    if (row.bound.kind != SettingControlKind::Number || row.control->isHidden()) continue;
    VReportMessageParams error;
    if (!ParseSettingNumber(static_cast<QLineEdit*>(row.control)->text(), row.bound, row.number,
                            error))
      return FailValidation(row.control, error);
  }
  return CheckPage();
}

void GlobalSettingsPage::OnApply() {
  for (Row& row : rows_) {
    const BoundSetting& bound = row.bound;
    switch (bound.kind) {
      case SettingControlKind::Check:
        WriteGlobalNumber(config_, bound.key, static_cast<QCheckBox*>(row.control)->isChecked());
        break;
      case SettingControlKind::Number:
        WriteGlobalNumber(config_, bound.key, row.number);
        break;
      case SettingControlKind::Choice: {
        auto* combo = static_cast<QComboBox*>(row.control);
        if (combo->currentIndex() >= 0)
          WriteGlobalNumber(config_, bound.key, combo->currentData().toLongLong());
        break;
      }
      default:
        WriteGlobalText(config_, bound.key,
                        FromQString(static_cast<QLineEdit*>(row.control)->text().trimmed()));
    }
  }
  ApplyPage();
}

const GlobalSettingsPage::Row* GlobalSettingsPage::FindRow(std::u16string_view key) const {
  for (const Row& row : rows_)
    if (std::u16string_view(row.bound.key) == key) return &row;
  return nullptr;
}

QWidget* GlobalSettingsPage::Control(std::u16string_view key) const {
  const Row* row = FindRow(key);
  return row ? row->control : nullptr;
}
QCheckBox* GlobalSettingsPage::Check(std::u16string_view key) const {
  return qobject_cast<QCheckBox*>(Control(key));
}
QLineEdit* GlobalSettingsPage::Edit(std::u16string_view key) const {
  return qobject_cast<QLineEdit*>(Control(key));
}
QComboBox* GlobalSettingsPage::Combo(std::u16string_view key) const {
  return qobject_cast<QComboBox*>(Control(key));
}
QPushButton* GlobalSettingsPage::BrowseButton(std::u16string_view key) const {
  const Row* row = FindRow(key);
  return row ? row->browse : nullptr;
}

void GlobalSettingsPage::HideSetting(std::u16string_view key) {
  const Row* row = FindRow(key);
  if (!row) return;
  for (QWidget* widget : {row->label, row->control, static_cast<QWidget*>(row->browse)})
    if (widget) widget->hide();
}

int64_t GlobalSettingsPage::NumberOf(std::u16string_view key) const {
  const Row* row = FindRow(key);
  return row ? row->number : 0;
}
