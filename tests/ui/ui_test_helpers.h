// Driving modal dialogs from a test: an action runs once a dialog of the wanted class is the
// active modal window; message boxes are answered by a recorder that keeps what they said.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <ostream>

#include <QAbstractButton>
#include <QString>
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "marrowby/message_box.h"

// Test failures show Qt's strings as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace uitest {

// The test that polls for modal windows: a poll ends with the test that started it, so a window
// of a later test is never closed by a driver left behind (EndModalPolls runs after every test).
int CurrentModalPollTest();
void EndModalPolls();

// Runs `act` on the first modal window of class T that comes up within a few seconds, while the
// test that called it runs; `*seen` tells afterwards whether one did.
template <class T>
std::shared_ptr<bool> WhenModal(std::function<void(T*)> act) {
  auto seen = std::make_shared<bool>(false);
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  const int test = CurrentModalPollTest();
  *poll = [=] {
    if (test != CurrentModalPollTest()) return;
    if (T* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      *seen = true;
      act(dialog);
      return;
    }
    if (++*tries < 500) QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
  return seen;
}

// Answers every message box with `answer` while it lives and records what was shown.
class MessageBoxRecorder {
 public:
  explicit MessageBoxRecorder(int answer = kIdOk) {
    VSetMessageBoxHandler([this, answer](const VMessageBoxShown& shown) {
      shown_.push_back(shown);
      return answer;
    });
  }
  ~MessageBoxRecorder() { VSetMessageBoxHandler(nullptr); }
  const std::vector<VMessageBoxShown>& Shown() const { return shown_; }

 private:
  std::vector<VMessageBoxShown> shown_;
};

// The mnemonic letters of the visible controls of `window`, lower-cased, with the control's text.
std::vector<std::pair<QChar, QString>> Mnemonics(QWidget* window);
// Fails when two visible controls share a mnemonic, or a label's mnemonic leads nowhere.
void ExpectMnemonicsUnique(QWidget* window);

}  // namespace uitest
