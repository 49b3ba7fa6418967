#include "marrowby/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "platform/app_info.h"

namespace {

VMessageBoxHandler& Handler() {
  static VMessageBoxHandler handler;
  return handler;
}

QMessageBox::Icon IconOf(uint32_t style) {
  switch (style & 0xF0) {
    case kMbIconError: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconWarning: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

void VSetMessageBoxHandler(VMessageBoxHandler handler) { Handler() = std::move(handler); }

int VMessageBox(QWidget* owner, const QString& text, uint32_t style, const QString& caption) {
  QString title = caption.isEmpty() ? ToQString(VGetAppName()) : caption;
  if (Handler()) return Handler()({owner, text, title, style});

  QMessageBox box(IconOf(style), title, text, QMessageBox::NoButton, owner);
  struct Choice {
    uint32_t id;
    QMessageBox::ButtonRole role;
    int result;
  };
  std::vector<Choice> choices;
  switch (style & 0xF) {
    case kMbOkCancel:
      choices = {{ui_messages::kOk, QMessageBox::AcceptRole, kIdOk},
                 {ui_messages::kCancel, QMessageBox::RejectRole, kIdCancel}};
      break;
    case kMbYesNo:
      choices = {{ui_messages::kYes, QMessageBox::YesRole, kIdYes},
                 {ui_messages::kNo, QMessageBox::NoRole, kIdNo}};
      break;
    default:
      choices = {{ui_messages::kOk, QMessageBox::AcceptRole, kIdOk}};
      break;
  }
  std::vector<std::pair<QAbstractButton*, int>> buttons;
  for (const Choice& choice : choices)
    buttons.emplace_back(box.addButton(CatalogueText(choice.id), choice.role), choice.result);
  size_t defaultIndex = (style & kMbDefButton2) && buttons.size() > 1 ? 1 : 0;
  box.setDefaultButton(static_cast<QPushButton*>(buttons[defaultIndex].first));
  // Escape gives the last button (Cancel or No); a box with only OK closes with OK.
  box.setEscapeButton(buttons.back().first);
  box.exec();
  for (const auto& [button, result] : buttons)
    if (box.clickedButton() == button) return result;
  return buttons.back().second;
}

int VMessageBox(QWidget* owner, IReportMessageParams& message, uint32_t style) {
  if ((style & 0xF0) == 0 && (message.GetMessageId() >> 30) == 3) style |= kMbIconError;
  return VMessageBox(owner, MessageText(message), style);
}
