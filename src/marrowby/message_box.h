// Message boxes: a text with a caption (the application's name when none is given), buttons and
// an icon chosen by a style, returning the button pressed. Tests answer boxes through a handler
// instead of showing them, and see what would have been shown.
#pragma once

#include <cstdint>
#include <functional>

#include <QString>

#include "report/report_message_params.h"

class QWidget;

// Styles: one button set, one icon, optionally the second button as the default.
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbOkCancel = 0x1;
constexpr uint32_t kMbYesNo = 0x4;
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconWarning = 0x30;
constexpr uint32_t kMbIconInformation = 0x40;
constexpr uint32_t kMbDefButton2 = 0x100;

// Buttons returned.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct VMessageBoxShown {
  QWidget* owner;
  QString text;
  QString caption;
  uint32_t style;
};
// While set, boxes are not shown: the handler gets what would have been and returns the button.
using VMessageBoxHandler = std::function<int(const VMessageBoxShown&)>;
void VSetMessageBoxHandler(VMessageBoxHandler handler);

int VMessageBox(QWidget* owner, const QString& text, uint32_t style,
                const QString& caption = QString());
// The message's text; errors (severity bits 11) default to the error icon.
int VMessageBox(QWidget* owner, IReportMessageParams& message, uint32_t style);
