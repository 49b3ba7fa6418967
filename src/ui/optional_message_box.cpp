#include "ui/optional_message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"

namespace {
constexpr uint32_t kDoNotDisplayAgain = 0x61380008;
}  // namespace

OptionalMessageBox::OptionalMessageBox(QWidget* owner, const QString& text,
                                       const QString& checkText, VProfile<int>& setting,
                                       const QString& okText, bool showCancel, VOptionalIcon icon,
                                       int defaultButton)
    : VDialog(owner), setting_(setting) {
  setWindowTitle(ToQString(VGetAppName()));
  QStyle::StandardPixmap pixmap = icon == VOptionalIcon::Information ? QStyle::SP_MessageBoxInformation
                                  : icon == VOptionalIcon::Question  ? QStyle::SP_MessageBoxQuestion
                                                                     : QStyle::SP_MessageBoxWarning;
  auto* iconLabel = new QLabel(this);
  int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  iconLabel->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(size, size));
  iconLabel->setAlignment(Qt::AlignTop);
  iconLabel->setObjectName(QStringLiteral("icon"));
  iconLabel->setProperty("iconKind", static_cast<int>(icon));

  // The label wraps and grows with its text; the dialog's layout grows with it, the check box
  // staying below.
  message_ = new QLabel(text, this);
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->setMinimumWidth(fontMetrics().averageCharWidth() * 45);

  check_ = new QCheckBox(checkText.isEmpty()
                             ? CatalogueText(kDoNotDisplayAgain, VGetLibraryMessageModule())
                             : checkText,
                         this);
  check_->setChecked(setting.current != 0);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(CatalogueText(ui_messages::kCancel), QDialogButtonBox::RejectRole);
  cancel_->setVisible(showCancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &VDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &VDialog::reject);
  bool cancelDefault = showCancel && defaultButton == kOptionalDefaultCancel;
  ok->setAutoDefault(!cancelDefault);
  ok->setDefault(!cancelDefault);
  cancel_->setAutoDefault(cancelDefault);
  cancel_->setDefault(cancelDefault);
  (cancelDefault ? static_cast<QWidget*>(cancel_) : ok)->setFocus();
  ok->setObjectName(QStringLiteral("ok"));

  auto* top = new QHBoxLayout;
  top->addWidget(iconLabel);
  top->addWidget(message_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(check_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool OptionalMessageBox::OnOK() {
  setting_.current = check_->isChecked() ? 1 : 0;
  return true;
}

int ShowOptionalMessageBox(QWidget* owner, const QString& text, const QString& checkText,
                           VProfile<int>& setting, const QString& okText, bool showCancel,
                           int iconKind, int defaultButton) {
  VOptionalIcon icon = iconKind == 1   ? VOptionalIcon::Information
                       : iconKind == 2 ? VOptionalIcon::Question
                                       : VOptionalIcon::Warning;
  OptionalMessageBox box(owner, text, checkText, setting, okText, showCancel, icon, defaultButton);
  return box.DoModal();
}

int ShowOptionalMessageBoxUnlessSuppressed(QWidget* owner, const QString& text,
                                           const QString& checkText, VProfile<int>& setting,
                                           const QString& okText, bool showCancel, int iconKind,
                                           int defaultButton) {
  if (setting.current != 0) return kIdOk;
  return ShowOptionalMessageBox(owner, text, checkText, setting, okText, showCancel, iconKind,
                                defaultButton);
}
