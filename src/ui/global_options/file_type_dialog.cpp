#include "ui/global_options/file_type_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "report/report_message_params.h"
#include "ui/global_options/global_messages.h"

using namespace global_ui;

namespace {

VReportMessageParams UiError(uint32_t id) { return VReportMessageParams(id, VGetUiMessageModule()); }

QLabel* Label(QWidget* parent, uint32_t id, QWidget* buddy) {
  auto* label = new QLabel(CatalogueText(id), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

VStringArray SplitFileTypeNames(const QString& text) {
  static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
  VStringArray names;
  for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
    VUnicodeString name = FromQString(part);
    bool repeated = false;
    for (const VUnicodeString& kept : names) repeated = repeated || vtext::EqualsNoCase(kept, name);
    if (!repeated) names.Add(name);
  }
  return names;
}

QString JoinFileTypeNames(const VStringArray& names) {
  QStringList parts;
  for (const VUnicodeString& name : names) parts << ToQString(name);
  return parts.join(QLatin1Char(' '));
}

bool SameFileTypeDefinition(const FileTypeDefinition& a, const FileTypeDefinition& b) {
  return a.name == b.name && a.extensions == b.extensions && a.fileNames == b.fileNames &&
         a.transfer == b.transfer && a.openWith == b.openWith && a.icon == b.icon;
}

FileTypeDialog::FileTypeDialog(FileTypeDefinition& definition, NameTaken nameTaken,
                               QWidget* parent)
    : VDialog(parent), definition_(definition), nameTaken_(std::move(nameTaken)) {
  setWindowTitle(CatalogueText(kFileTypeTitle));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  name_ = new QLineEdit(ToQString(definition.name), this);
  form->addRow(Label(this, kFileTypeName, name_), name_);
  extensions_ = new QLineEdit(JoinFileTypeNames(definition.extensions), this);
  form->addRow(Label(this, kFileTypeExtensions, extensions_), extensions_);
  fileNames_ = new QLineEdit(JoinFileTypeNames(definition.fileNames), this);
  form->addRow(Label(this, kFileTypeFileNames, fileNames_), fileNames_);
  transfer_ = new QComboBox(this);
  // The items' data are the stored transfer numbers, in the order the definition keeps them.
  transfer_->addItem(CatalogueText(kFtAscii), int(FileTypeTransfer::Ascii));
  transfer_->addItem(CatalogueText(kFtBinary), int(FileTypeTransfer::Binary));
  transfer_->addItem(CatalogueText(kFileTypeUnknownAsk), int(FileTypeTransfer::AskUser));
  transfer_->addItem(CatalogueText(kFileTypeUnknownGlobal), int(FileTypeTransfer::GlobalType));
  transfer_->setCurrentIndex(std::max(0, transfer_->findData(int(definition.transfer))));
  form->addRow(Label(this, kFileTypeTransfer, transfer_), transfer_);
  auto* openRow = new QHBoxLayout;
  openWith_ = new QLineEdit(ToQString(definition.openWith), this);
  browse_ = new QPushButton(CatalogueText(ui_messages::kBrowse), this);
  openRow->addWidget(openWith_, 1);
  openRow->addWidget(browse_);
  form->addRow(Label(this, kFileTypeOpenWith, openWith_), openRow);
  AddAutoComplete(openWith_);
  connect(browse_, &QPushButton::clicked, this, [this] {
    OnBrowseHelper(openWith_, CatalogueText(kFileTypeOpenWith).remove(QLatin1Char('&')).remove(QLatin1Char(':')),
                   QString(), VGetFileFilters({}));
  });
  layout->addLayout(form);
  AddOkCancel(layout);
  name_->setFocus();
  setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

bool FileTypeDialog::OnOK() {
  VUnicodeString name = FromQString(name_->text().trimmed());
  if (name.empty()) {
    VReportMessageParams error = UiError(kFileTypeNameEmpty);
    return FailValidation(name_, error);
  }
  if (nameTaken_ && nameTaken_(name)) {
    VReportMessageParams error = UiError(kFileTypeExists);
    return FailValidation(name_, error);
  }
  definition_.name = name;
  definition_.extensions = SplitFileTypeNames(extensions_->text());
  definition_.fileNames = SplitFileTypeNames(fileNames_->text());
  definition_.transfer = FileTypeTransfer(transfer_->currentData().toInt());
  definition_.openWith = FromQString(openWith_->text().trimmed());
  return true;
}
