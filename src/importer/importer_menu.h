#pragma once

#include <optional>

#include "importer/import_outcome.h"

namespace quort {

struct ImportTables;
class ImportUi;

inline constexpr const char* kImporterTitle = "Untis-/Selvox-Import 3.3";
inline constexpr const char* kMenuPrompt = "Grunddaten > G   Plandaten > P     Kopplungen > K     Ende > E";

// The console program: start screen, KIVO.INI, then the menu until "E" or Escape.
class ImporterMenu {
 public:
  ImporterMenu(ImportTables& tables, ImportUi& ui) : m_tables(tables), m_ui(ui) {}

  void run();

  // The Untis directory (from a chosen GPU file) and the base-data name (from a chosen
  // or typed .GD name); std::nullopt when either choice was cancelled.
  std::optional<ImportSource> chooseSource();

 private:
  // Acts on one menu key; false when the program ends.
  bool handleKey(char key);
  // "K": year group, achievement-data export and target, then the course-choice file.
  void importCourseChoices();

  ImportTables& m_tables;
  ImportUi& m_ui;
};

}  // namespace quort
