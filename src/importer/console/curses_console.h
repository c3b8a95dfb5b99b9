#pragma once

#include <string>

#include "importer/file_chooser_model.h"
#include "importer/import_ui.h"

namespace quort {

// The importer's text screen on ncurses: 80 x 25 cells, rows and columns counted from 1
// as in the layout texts. Texts arrive as Windows-1252 and are drawn as UTF-8.
class CursesConsole : public ImportUi {
 public:
  CursesConsole();
  ~CursesConsole() override;
  CursesConsole(const CursesConsole&) = delete;
  CursesConsole& operator=(const CursesConsole&) = delete;

  char ChoicePrompt(const std::string& prompt) override;
  std::string ValuePrompt(const std::string& label, const std::string& defaultValue) override;
  void ShowMessage(const std::string& text, int seconds) override;
  std::string ConsoleFileChooser(const std::string& pattern, const std::string& title) override;
  void showStartScreen() override;
  void showMenuScreen() override;

 private:
  // Edits text on row from column; false when Escape cancelled.
  bool editLine(int row, int column, std::string& text);
  void drawChooserList(const std::string& title);

  ConsoleFileChooserModel m_chooser;
};

}  // namespace quort
