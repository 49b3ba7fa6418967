#include "ui_test_helpers.h"

#include <map>

#include <QLabel>

namespace uitest {

namespace {

QChar MnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i;
      continue;
    }
    return text[i + 1].toLower();
  }
  return QChar();
}

int modalPollTest = 0;

}  // namespace

int CurrentModalPollTest() { return modalPollTest; }

void EndModalPolls() { ++modalPollTest; }

std::vector<std::pair<QChar, QString>> Mnemonics(QWidget* window) {
  std::vector<std::pair<QChar, QString>> found;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(window)) continue;
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
    QChar letter = MnemonicOf(text);
    if (!letter.isNull()) found.emplace_back(letter, text);
  }
  return found;
}

void ExpectMnemonicsUnique(QWidget* window) {
  std::map<QChar, QString> first;
  for (const auto& [letter, text] : Mnemonics(window)) {
    auto [it, added] = first.emplace(letter, text);
    EXPECT_TRUE(added) << "'" << text.toStdString() << "' and '" << it->second.toStdString()
                       << "' share the mnemonic " << QString(letter).toStdString() << " in "
                       << window->windowTitle().toStdString();
  }
  for (QLabel* label : window->findChildren<QLabel*>())
    if (label->isVisibleTo(window) && !MnemonicOf(label->text()).isNull()) {
      EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString() << " has no buddy";
    }
}

}  // namespace uitest
