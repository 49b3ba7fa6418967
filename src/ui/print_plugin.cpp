#include "ui/print_plugin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "report/message_formatter.h"
#include "ui/printer_platform_qt.h"

using namespace print_ui;

namespace {

constexpr MarginSide kSides[] = {MarginSide::Left, MarginSide::Right, MarginSide::Top,
                                 MarginSide::Bottom};
constexpr uint32_t kSideLabels[] = {kLeftLabel, kRightLabel, kTopLabel, kBottomLabel};
constexpr const char* kSideNames[] = {"leftMargin", "rightMargin", "topMargin", "bottomMargin"};

double& Side(VMarginData& margins, MarginSide side) {
  switch (side) {
    case MarginSide::Left: return margins.left;
    case MarginSide::Right: return margins.right;
    case MarginSide::Top: return margins.top;
    case MarginSide::Bottom: return margins.bottom;
  }
  return margins.left;
}

QString FontText(const VLogFont& font) {
  std::u16string pattern;
  VGetUiMessageModule()->Find(kFontText, VGetMessageLanguage(), pattern);
  std::vector<VFormatArg> args = {VFormatArg::Text(font.GetFaceName()),
                                  VFormatArg::Number(font.extra / 10)};
  std::u16string out;
  if (!VFormatMessageText(pattern, &args, 0, out)) out = pattern;
  while (!out.empty() && (out.back() == u'\n' || out.back() == u'\r')) out.pop_back();
  return ToQString(out);
}

}  // namespace

PrintPlugin::PrintPlugin(Page page, PrinterState& state,
                         std::shared_ptr<QtPrinterPlatform> platform, QWidget* parent)
    : QWidget(parent), page_(page), state_(state), platform_(std::move(platform)) {
  auto* outer = new QVBoxLayout(this);
  reenableLabel_ = new QLabel(CatalogueText(kSaveToReenable), this);
  reenableLabel_->setWordWrap(true);
  reenableLabel_->hide();
  outer->addWidget(reenableLabel_);
  body_ = new QWidget(this);
  outer->addWidget(body_);
  auto* layout = new QVBoxLayout(body_);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* group = new QGroupBox(CatalogueText(kMarginsGroup), body_);
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(CatalogueText(kSideLabels[i]), group);
    margins_[i] = new QLineEdit(group);
    margins_[i]->setObjectName(QString::fromLatin1(kSideNames[i]));
    label->setBuddy(margins_[i]);
    grid->addWidget(label, i / 2, (i % 2) * 2);
    grid->addWidget(margins_[i], i / 2, (i % 2) * 2 + 1);
    MarginSide side = kSides[i];
    connect(margins_[i], &QLineEdit::editingFinished, this, [this, side] {
      if (MarginField(side)->isModified()) CheckMarginField(side);
    });
  }
  layout->addWidget(group);

  printerLabel_ = new QLabel(body_);
  fontLabel_ = new QLabel(body_);
  setupButton_ = new QPushButton(CatalogueText(kPrintSetup), body_);
  setupButton_->setEnabled(platform_ != nullptr);
  connect(setupButton_, &QPushButton::clicked, this, &PrintPlugin::RunPrintSetup);
  auto* setupRow = new QHBoxLayout;
  auto* names = new QVBoxLayout;
  names->addWidget(printerLabel_);
  names->addWidget(fontLabel_);
  setupRow->addLayout(names, 1);
  setupRow->addWidget(setupButton_, 0, Qt::AlignTop);
  layout->addLayout(setupRow);

  disablePassThrough_ = new QCheckBox(CatalogueText(kDisablePassThrough), body_);
  bufferPassThrough_ = new QCheckBox(CatalogueText(kBufferPassThrough), body_);
  rawMode_ = new QCheckBox(CatalogueText(kRawMode), body_);
  usePort_ = new QCheckBox(CatalogueText(kUsePort), body_);
  port_ = new QComboBox(body_);
  port_->setEditable(true);
  port_->addItems({QStringLiteral("/dev/lp0"), QStringLiteral("/dev/usb/lp0")});
  blackOnWhite_ = new QCheckBox(CatalogueText(kBlackOnWhite), body_);
  layout->addWidget(disablePassThrough_);
  layout->addWidget(bufferPassThrough_);
  layout->addWidget(rawMode_);
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(usePort_);
  portRow->addWidget(port_, 1);
  layout->addLayout(portRow);
  layout->addWidget(blackOnWhite_);
  if (page_ == Page::Global) {
    printScreenKey_ = new QCheckBox(CatalogueText(kPrintScreenKey), body_);
    layout->addWidget(printScreenKey_);
  }
  layout->addStretch(1);
  for (QCheckBox* box : {disablePassThrough_, usePort_}) {
    connect(box, &QCheckBox::toggled, this, &PrintPlugin::UpdateEnabling);
  }
  UpdateEnabling();
}

void PrintPlugin::Load(const PrinterConfig& config, bool printScreenKey) {
  const VMarginData& margins = config.pageMargins;
  VMarginData copy = margins;
  for (int i = 0; i < 4; ++i) {
    margins_[i]->setText(ToQString(MarginText(Side(copy, kSides[i]))));
    margins_[i]->setModified(false);
  }
  fontLabel_->setText(FontText(config.printerFont));
  selection_ = PrinterSelection::From(config.printerName, u"", &config);
  disablePassThrough_->setChecked(config.disablePassThroughPrinting);
  bufferPassThrough_->setChecked(config.bufferPassThroughPrinting);
  rawMode_->setChecked(config.useRawMode);
  usePort_->setChecked(config.usePrinterPort);
  port_->setCurrentText(ToQString(static_cast<const VUnicodeString&>(config.printerPort.port)));
  blackOnWhite_->setChecked(config.forceBlackOnWhite);
  if (printScreenKey_) printScreenKey_->setChecked(printScreenKey);
  ShowPrinter();
  UpdateEnabling();
}

void PrintPlugin::SetAwaitingReenable(bool awaiting) {
  awaitingReenable_ = awaiting;
  reenableLabel_->setVisible(awaiting);
  body_->setEnabled(!awaiting);
}

void PrintPlugin::ShowPrinter() {
  QString name = selection_.name.empty() ? CatalogueText(kDefaultPrinter) : ToQString(selection_.name);
  printerLabel_->setText(CatalogueText(kPrinterText, nullptr, {FromQString(name)}));
}

void PrintPlugin::UpdateEnabling() {
  bool passThrough = !disablePassThrough_->isChecked();
  bufferPassThrough_->setEnabled(passThrough);
  rawMode_->setEnabled(passThrough);
  usePort_->setEnabled(passThrough);
  port_->setEnabled(passThrough && usePort_->isChecked());
}

void PrintPlugin::SelectPanelPrinter() {
  if (state_.HasInitializationSucceeded()) state_.SelectCurrentPrinter(selection_);
}

bool PrintPlugin::ReadMargins(VMarginData& margins) {
  for (int i = 0; i < 4; ++i) {
    VReportMessageParams error;
    if (!ParseMarginText(FromQString(margins_[i]->text()).c_str(), kSides[i],
                         Side(margins, kSides[i]), error)) {
      VMessageBox(this, error, kMbOk);
      margins_[i]->setFocus();
      margins_[i]->selectAll();
      return false;
    }
  }
  return true;
}

bool PrintPlugin::CheckMarginField(MarginSide side) {
  QLineEdit* field = MarginField(side);
  VMarginData margins;
  VReportMessageParams error;
  if (!ParseMarginText(FromQString(field->text()).c_str(), side, Side(margins, side), error)) {
    VMessageBox(this, error, kMbOk);
    return false;
  }
  field->setModified(false);
  if (!state_.HasInitializationSucceeded()) return true;
  SelectPanelPrinter();
  double minimum = 0;
  VReportMessageParams advice;
  if (state_.ValidateMargin(margins, side, minimum, advice) != MarginValidationResult::Invalid) {
    return true;
  }
  QString text = CatalogueText(kModifyMargins, nullptr,
                               {FromQString(MessageText(advice))});
  VMessageBox(this, text, kMbOk | kMbIconWarning);
  return false;
}

bool PrintPlugin::Save(PrinterConfig& config, bool* printScreenKey) {
  VMarginData margins;
  if (!ReadMargins(margins)) return false;
  if (!awaitingReenable_ && state_.HasInitializationSucceeded()) {
    SelectPanelPrinter();
    VReportMessageParams message;
    if (state_.ValidateMargins(margins, message) == MarginValidationResult::Invalid) {
      VMessageBox(this, message, kMbOk);
      margins_[0]->setFocus();
      return false;
    }
  }
  config.pageMargins = margins;
  selection_.StoreIn(config);
  config.disablePassThroughPrinting = disablePassThrough_->isChecked();
  config.bufferPassThroughPrinting = bufferPassThrough_->isChecked();
  config.useRawMode = rawMode_->isChecked();
  config.usePrinterPort = usePort_->isChecked();
  config.printerPort.port = FromQString(port_->currentText().trimmed());
  config.forceBlackOnWhite = blackOnWhite_->isChecked();
  if (printScreenKey && printScreenKey_) *printScreenKey = printScreenKey_->isChecked();
  return true;
}

void PrintPlugin::RunPrintSetup() {
  if (!platform_) return;
  PrinterConfig working;
  selection_.StoreIn(working);
  VReportMessageParams error;
  if (!platform_->RunPrintSetup(this, working, error)) {
    if (error.IsError()) VMessageBox(this, error, kMbOk);
    return;
  }
  selection_ = PrinterSelection::From(working.printerName, u"", &working);
  ShowPrinter();
}
