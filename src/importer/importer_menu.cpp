#include "importer/importer_menu.h"

#include "data/file_access.h"
#include "importer/base_data_import.h"
#include "importer/course_choice_import.h"
#include "importer/file_chooser_model.h"
#include "importer/import_tables.h"
#include "importer/import_text.h"
#include "importer/import_ui.h"
#include "importer/kivo_list.h"
#include "importer/plan_import.h"

namespace quort {

namespace {

// The chosen name up to its first "." (the importer appends ".GD" and ".PL" itself).
std::string baseNameOf(const std::string& chosen) { return stemOf(chosen); }

}  // namespace

void ImporterMenu::run() {
  m_ui.showStartScreen();
  if (!LoadKivoIni(findExistingFile("kivo.ini").value_or("kivo.ini"), m_tables.kivoLines)) {
    m_ui.ShowMessage("Datei KIVO.INI fehlerhaft!", 2);
  }
  for (;;) {
    m_ui.showMenuScreen();
    if (!handleKey(m_ui.ChoicePrompt(kMenuPrompt))) return;
  }
}

bool ImporterMenu::handleKey(char key) {
  switch (key) {
    case 'G':
      if (const auto source = chooseSource()) ImportBaseData(m_tables, m_ui, *source);
      return true;
    case 'P':
      if (const auto source = chooseSource()) ImportPlan(m_tables, m_ui, *source);
      return true;
    case 'K':
      importCourseChoices();
      return true;
    case 'E':
    case kEscapeKey:
      return false;
    default:
      return true;
  }
}

void ImporterMenu::importCourseChoices() {
  CourseImportRequest request;
  request.yearGroup = m_ui.ValuePrompt("Klasse", "");
  if (leadingNumber(request.yearGroup) <= 0) return;
  request.sourceFile = m_ui.ConsoleFileChooser("*.dat", "Leistungsdaten");
  if (request.sourceFile.empty()) return;
  request.month = currentMonth();
  CourseBook book;
  if (!readCourseChoices(m_ui, m_tables.kivoLines, request, book)) return;
  const std::string target = m_ui.ConsoleFileChooser("*.bk", "Kopplungsdaten");
  if (target.empty()) return;
  writeCourseChoices(m_ui, book, target);
}

std::optional<ImportSource> ImporterMenu::chooseSource() {
  const std::string untisFile = m_ui.ConsoleFileChooser("GPU*.TXT", "UNTIS-Dateien");
  if (untisFile.empty()) return std::nullopt;
  ImportSource source;
  source.untisDirectory = directoryPart(untisFile);
  const std::string baseFile = m_ui.ConsoleFileChooser(source.untisDirectory + "*.GD", "TAVIN-Grunddaten");
  if (baseFile.empty()) return std::nullopt;
  source.baseDataName = baseNameOf(baseFile);
  return source;
}

}  // namespace quort
