#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exams/exam_evaluation.h"
#include "exams/exam_preset.h"

namespace quort {

struct Workspace;
class Ui;

inline constexpr const char* kNoExamMessage = "Keine Eingaben!";
inline constexpr const char* kExamFileError = "Datei-/Druckfehler!";

// The exam kept in the workspace, if its preset text is one.
std::optional<ExamPreset> currentExam(const Workspace& ws);

// Takes "TERM|GRADE|SELECTION" as the current exam; "Eingabefehler!" and false for a term
// the grids do not have. Another exam than before starts with empty dialog fields.
bool setExamPreset(Workspace& ws, Ui& ui, const std::string& text);

// Reads the grade's course-choice file for the exam (the course editor keeps its own).
bool loadExamCourses(Workspace& ws, Ui& ui, const std::string& fileName);

// The evaluation of the current exam on the plan's grids.
ExamEvaluation evaluateCurrentExam(const Workspace& ws, const ExamPreset& preset);

// What the main view shows in the exam mode: the evaluation, or nothing without an exam.
std::vector<std::string> examMainViewLines(const Workspace& ws);

// "QUORT-Plan - Klausurenvorgaben": the course file, then grade, courses, term (or weekday
// and period range); "Auswerten" makes it the current exam. false when nothing was taken.
bool ExamPresets(Workspace& ws, Ui& ui);

}  // namespace quort
