#include "ui/keywords/filter_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "config/database/session_database.h"
#include "config/database/session_database_instance.h"
#include "config/highlight/filter_config.h"
#include "config/highlight/filter_store.h"
#include "config/highlight/highlight_messages.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "storage/model/key_name.h"
#include "ui/keywords/keyword_texts.h"

namespace {

SessionDatabase& Database(SessionDatabase& local) {
  SessionDatabase* host = GetSessionDatabase();
  return host ? *host : local;
}

QLabel* Label(uint32_t id, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(CatalogueText(id), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

FilterPropertiesDialog::FilterPropertiesDialog(FilterConfig& filter, bool isNew, QWidget* parent)
    : VDialog(parent), filter_(filter), isNew_(isNew) {
  setWindowTitle(CatalogueText(keyword_texts::kFilterTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = new QLineEdit(ToQString(filter.GetItemName()), this);
  name_->setReadOnly(!isNew);
  form->addRow(Label(keyword_texts::kNameLabel, name_, this), name_);
  type_ = new QComboBox(this);
  type_->addItem(CatalogueText(keyword_texts::kFilterInclude), 0);
  type_->addItem(CatalogueText(keyword_texts::kFilterExclude), 1);
  int index = type_->findData(filter.filterType.current);
  if (index < 0) {
    // A type this release does not know is kept until another is chosen.
    type_->addItem(QString::number(filter.filterType.current), filter.filterType.current);
    index = type_->count() - 1;
  }
  type_->setCurrentIndex(index);
  form->addRow(Label(keyword_texts::kFilterType, type_, this), type_);
  criteria_ = new QLineEdit(ToQString(filter.GetCriteriaText()), this);
  criteria_->setMinimumWidth(320);
  auto* criteriaLabel = Label(keyword_texts::kFilterCriteria, criteria_, this);
  form->addRow(criteriaLabel);
  form->addRow(criteria_);
  matchCase_ = new QCheckBox(CatalogueText(keyword_texts::kMatchCase), this);
  matchCase_->setChecked(filter.matchFilterCase.current);
  form->addRow(matchCase_);
  folders_ = new QCheckBox(CatalogueText(keyword_texts::kFilterFolders), this);
  folders_->setChecked(filter.applyToFolders.current);
  form->addRow(folders_);
  layout->addLayout(form);
  AddOkCancel(layout);
  if (!isNew) criteria_->setFocus(Qt::OtherFocusReason);
}

bool FilterPropertiesDialog::OnOK() {
  VReportMessageParams error;
  VUnicodeString name = FromQString(name_->text());
  if (isNew_) {
    SessionDatabase local;
    bool taken = FilterStore(Database(local)).Exists(name);
    if (!ValidateKeyName(u"", name.c_str(), true, u"filter", taken, error))
      return FailValidation(name_, error);
  }
  VUnicodeString text = FromQString(criteria_->text());
  VStringArray patterns = FilterConfig::SplitCriteria(text);
  if (patterns.IsEmpty()) {
    error = VReportMessageParams(kMsgFilterNoCriteria);
    error.AddInsert(text);
    return FailValidation(criteria_, error);
  }
  if (isNew_) filter_.SetItemName(name);
  filter_.filterType = type_->currentData().toInt();
  filter_.filterCriteria = patterns;
  filter_.matchFilterCase = matchCase_->isChecked();
  filter_.applyToFolders = folders_->isChecked();
  return true;
}

bool LaunchFilterPropertiesDialog(FilterConfig* filter, bool isNew, QWidget* parent) {
  if (!filter) return false;
  FilterPropertiesDialog dialog(*filter, isNew, parent);
  return dialog.DoModal() == kIdOk;
}

bool EditFilterInDatabase(const VUnicodeString& name, QWidget* parent) {
  SessionDatabase local;
  FilterStore store(Database(local));
  VRef<FilterConfig> filter;
  if (!name.empty()) filter = store.Open(name);
  bool isNew = !filter;
  if (isNew) {
    filter = VRef<FilterConfig>(new FilterConfig(name));
    filter->Load(nullptr);
  }
  if (!LaunchFilterPropertiesDialog(filter.Get(), isNew, parent)) return false;
  VReportMessageParams error;
  if (store.Save(*filter.Get(), false, error)) return true;
  VMessageBox(parent, error, kMbOk | kMbIconError);
  return false;
}
