// Dialogs for the window tests: every message is recorded instead of shown, input boxes take
// their answers from a script, and a test can act while a box "is open".
#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "common/dialogs.h"

namespace evo::test {

class ScriptedDialogs : public Dialogs {
 public:
  QStringList messages;         // every message text, in order
  QStringList prompts;          // every input prompt, in order
  std::deque<QString> answers;  // the input boxes' answers; empty text (Cancel) after them
  std::function<void(const QString&)> onMessage;  // runs while the message box would be open
  QStringList suggestedPaths;                     // where every save dialog started, in order
  std::deque<QString> savePaths;                  // the save dialogs' answers; Cancel after them
  std::deque<QString> printFiles;  // the print dialogs' answers, PDF files; Cancel after them
  QStringList printSuggestions;    // the file each print dialog offered to print to, in order

  void Message(const QString& text) override {
    messages << text;
    if (onMessage) onMessage(text);
  }

  QString Input(const QString& prompt) override {
    prompts << prompt;
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }

  QString SaveFileName(const QString&, const QString& suggestedPath, const QStringList&) override {
    suggestedPaths << suggestedPath;
    if (savePaths.empty()) return {};
    QString path = savePaths.front();
    savePaths.pop_front();
    return path;
  }

  bool ChoosePrinter(QPrinter& printer) override {
    printSuggestions << printer.outputFileName();
    if (printFiles.empty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFiles.front());
    printFiles.pop_front();
    return true;
  }
};

}  // namespace evo::test
