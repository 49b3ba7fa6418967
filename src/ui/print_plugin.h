// The printer panel that the Printing pages of the Session Options and Global Options dialogs
// embed: the margins (checked against the printer the configuration uses), the font, Print
// Setup, the pass-through options and the port, black on white and, on the global page, the
// Print Screen key.
#pragma once

#include <memory>

#include <QWidget>

#include "config/parts/printer_config.h"
#include "environment/printer_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QtPrinterPlatform;

namespace print_ui {
constexpr uint32_t kMarginsGroup = 0x61390F00;
constexpr uint32_t kLeftLabel = 0x61390F01;
constexpr uint32_t kRightLabel = 0x61390F02;
constexpr uint32_t kTopLabel = 0x61390F03;
constexpr uint32_t kBottomLabel = 0x61390F04;
constexpr uint32_t kFontText = 0x61390F05;  // %1!s!: face, %2!d!: points
constexpr uint32_t kPrintSetup = 0x61390F06;
constexpr uint32_t kDisablePassThrough = 0x61390F07;
constexpr uint32_t kBufferPassThrough = 0x61390F08;
constexpr uint32_t kRawMode = 0x61390F09;
constexpr uint32_t kUsePort = 0x61390F0A;
constexpr uint32_t kBlackOnWhite = 0x61390F0B;
constexpr uint32_t kPrintScreenKey = 0x61390F0C;
constexpr uint32_t kModifyMargins = 0xE1390F0D;  // %1: the advice
constexpr uint32_t kSaveToReenable = 0x61390F0E;
constexpr uint32_t kPrinterText = 0x61390F0F;  // %1: the printer
constexpr uint32_t kDefaultPrinter = 0x61390F10;
}  // namespace print_ui

class PrintPlugin : public QWidget {
  Q_OBJECT

 public:
  enum class Page { Session, Global };

  // `platform` may be null (no Print Setup then).
  PrintPlugin(Page page, PrinterState& state, std::shared_ptr<QtPrinterPlatform> platform,
              QWidget* parent = nullptr);

  void Load(const PrinterConfig& config, bool printScreenKey = false);
  // The global page, when printing was off in the saved configuration and has been switched
  // back on: nothing here can be changed until that is saved.
  void SetAwaitingReenable(bool awaiting);
  // False when a margin is refused: the message has been shown and the focus is on the field.
  bool Save(PrinterConfig& config, bool* printScreenKey = nullptr);
  // What leaving a margin field does; true when the value is acceptable.
  bool CheckMarginField(MarginSide side);
  void RunPrintSetup();

  QLineEdit* MarginField(MarginSide side) const { return margins_[static_cast<int>(side)]; }
  QLabel* FontLabel() const { return fontLabel_; }
  QLabel* PrinterLabel() const { return printerLabel_; }
  QLabel* ReenableLabel() const { return reenableLabel_; }

 private:
  bool ReadMargins(VMarginData& margins);
  void ShowPrinter();
  void UpdateEnabling();
  // Checks against the printer this configuration names, which is made the current one.
  void SelectPanelPrinter();

  Page page_;
  PrinterState& state_;
  std::shared_ptr<QtPrinterPlatform> platform_;
  PrinterSelection selection_;
  QLineEdit* margins_[4] = {};
  QLabel* fontLabel_ = nullptr;
  QLabel* printerLabel_ = nullptr;
  QLabel* reenableLabel_ = nullptr;
  QPushButton* setupButton_ = nullptr;
  QCheckBox* disablePassThrough_ = nullptr;
  QCheckBox* bufferPassThrough_ = nullptr;
  QCheckBox* rawMode_ = nullptr;
  QCheckBox* usePort_ = nullptr;
  QComboBox* port_ = nullptr;
  QCheckBox* blackOnWhite_ = nullptr;
  QCheckBox* printScreenKey_ = nullptr;
  QWidget* body_ = nullptr;
  bool awaitingReenable_ = false;
};
