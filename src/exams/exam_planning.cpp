#include "exams/exam_planning.h"

#include "courses/course_file.h"
#include "exams/exam_text.h"
#include "substitution/absence_register.h"
#include "substitution/dialog_support.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kPresetsTitle = "QUORT-Plan - Klausurenvorgaben";

// "|" separates the parts of the preset text, so a field must not carry one.
std::string fieldText(const std::string& value) {
  std::string text = trimmedOf(value);
  std::erase(text, '|');
  return upperCasedOf(text);
}

struct PresetFields {
  std::string grade;
  std::string selection;
  std::string term;
  std::string day;
  std::string from;
  std::string to;
};

PresetFields presetFields(const Workspace& ws) {
  PresetFields fields;
  fields.grade = ws.exams.courses.yearGroup.substr(0, 2);
  if (const auto exam = currentExam(ws)) {
    fields.selection = exam->selection;
    fields.term = exam->term;
    fields.day = exam->term.substr(0, 2);
    fields.from = std::to_string(exam->firstShown);
    fields.to = std::to_string(exam->lastShown);
  }
  return fields;
}

ChoiceBoxRequest presetsForm(const Workspace& ws, const PresetFields& fields) {
  ChoiceBoxRequest request;
  request.title = kPresetsTitle;
  request.prompt = "Kursdatei: " + ws.exams.courses.fileName;
  request.helpFile = substitutionHelp(ws, "klausin");
  const auto field = [&](const char* label, const std::string& value, std::vector<std::string> choices = {}) {
    request.items.push_back({ChoiceItem::Kind::TextField, label, value, false, std::move(choices)});
  };
  std::vector<std::string> courses;
  for (const Course& course : ws.exams.courses.courses) courses.push_back(trimmedOf(course.name));
  field("Stufe:", fields.grade);
  field("Kurse:", fields.selection, courses);
  field("Termin:", fields.term);
  field("Tag:", fields.day);
  field("von:", fields.from);
  field("bis:", fields.to);
  request.items.push_back({ChoiceItem::Kind::Button, "Auswerten", {}, false, {}});
  request.items.push_back({ChoiceItem::Kind::Button, "Abbruch", {}, false, {}});
  return request;
}

}  // namespace

std::optional<ExamPreset> currentExam(const Workspace& ws) {
  if (ws.exams.presetText.empty()) return std::nullopt;
  return parseExamPreset(ws.exams.presetText, lastShownPeriod(ws.base));
}

bool setExamPreset(Workspace& ws, Ui& ui, const std::string& text) {
  const auto preset = parseExamPreset(text, lastShownPeriod(ws.base));
  if (!preset) {
    ui.message("Eingabefehler!");
    return false;
  }
  const std::string normalised = examPresetText(*preset);
  // Rooms and supervisions of another exam must not be saved with this one.
  if (!ws.exams.presetText.empty() && ws.exams.presetText != normalised) {
    ws.exams.rooms.clear();
    ws.exams.supervisions.clear();
    ws.exams.roomChanges.clear();
    ws.exams.freed.clear();
  }
  ws.exams.presetText = normalised;
  return true;
}

bool loadExamCourses(Workspace& ws, Ui& ui, const std::string& fileName) {
  CourseBook book;
  CourseFileNotes notes;
  if (readCourseFile(fileName, book, notes) != CourseFileStatus::Ok) {
    ui.message(kExamFileError);
    return false;
  }
  book.fileName = fileName;
  ws.exams.courses = std::move(book);
  if (!notes.empty()) ui.message(notesText(fileName, notes), MessageStyle{Icon::Information});
  return true;
}

ExamEvaluation evaluateCurrentExam(const Workspace& ws, const ExamPreset& preset) {
  return evaluateExam(ExamSource{ws.base, ws.plan, ws.exams.courses}, preset);
}

std::vector<std::string> examMainViewLines(const Workspace& ws) {
  const auto exam = currentExam(ws);
  if (!exam) return {};
  return examViewLines(evaluateCurrentExam(ws, *exam));
}

bool ExamPresets(Workspace& ws, Ui& ui) {
  FileChooserRequest chooser{"Kursdatei", "R", "*.bk", ws.exams.courses.fileName};
  const std::string name = ui.chooseFile(chooser);
  if (name.find('.') == std::string::npos) return false;
  if (!loadExamCourses(ws, ui, name)) return false;
  const ChoiceBoxRequest request = presetsForm(ws, presetFields(ws));
  const ChoiceOutcome outcome = ui.choiceBox(request);
  if (outcome.choiceResult < 1 || request.items[static_cast<size_t>(outcome.choiceResult - 1)].label != "Auswerten") {
    return false;
  }
  const std::vector<std::string> values = outcome.values(6);
  std::string term = fieldText(values[2]);
  if (term.empty()) term = fieldText(values[3]) + fieldText(values[4]) + "-" + fieldText(values[5]);
  return setExamPreset(ws, ui, term + "|" + fieldText(values[0]) + "|" + fieldText(values[1]));
}

}  // namespace quort
