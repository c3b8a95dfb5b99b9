#include "timetable/plan_deletion.h"

#include "timetable/assignment_list.h"
#include "timetable/lesson_removal.h"
#include "timetable/room_setting.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

enum class Scope { Class, Teacher, All };

std::string classCaption(const Workspace& ws) {
  return "Klasse " + trimmedCode(ws.base.classes[static_cast<size_t>(ws.shell.currentClass)].code);
}

// Whether the lesson the class has at the slot falls under the deletion.
int classToClear(const Workspace& ws, Scope scope, int c, Slot slot) {
  if (scope == Scope::Teacher) {
    const int teacher = ws.shell.currentTeacher;
    return hasTeacherGrid(ws.base, teacher) ? ws.plan.timetable.teacher.at(teacher, slot.period, slot.day) >> 8 : 0;
  }
  if (scope == Scope::Class && c != ws.shell.currentClass) return 0;
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, slot.period, slot.day);
  return lesson != 0 && lesson != classLockWord(ws.base) ? c : 0;
}

void deleteTimetable(Workspace& ws, Ui& ui, Scope scope, int mode) {
  const int classes = scope == Scope::Teacher ? 1 : ws.base.nClasses();
  for (int c = 1; c <= classes; ++c) {
    for (int day = 1; day <= ws.base.days; ++day) {
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
        if (const int target = classToClear(ws, scope, c, Slot{day, p})) {
          removeLesson(ws, ui, Slot{day, p}, target, mode, ws.plan.assignments);
        }
      }
    }
  }
}

bool deleteTimetableDialog(Workspace& ws, Ui& ui) {
  const std::string teacher =
      "Lehrer " + trimmedCode(ws.base.teachers[static_cast<size_t>(ws.shell.currentTeacher)].code);
  const ChoiceOutcome choice =
      ChoiceBox(ws, ui, "Stundenplan l\xF6schen",
                "#?gekoppelte und fixierte Stunden|" + classCaption(ws) + "|" + teacher + "|alle Klassen|Abbruch",
                "Stundenplan l\xF6schen");
  if (choice.choiceResult < 2 || choice.choiceResult > 4) return false;
  const bool protectedToo = choice.choiceValues.rfind('1', 0) == 0;
  BackupPlanRecords(ws, ui);
  deleteTimetable(ws, ui, static_cast<Scope>(choice.choiceResult - 2),
                  protectedToo ? RemoveMode::kUnprotected : RemoveMode::kRefuse);
  return true;
}

bool deleteRoomPlanDialog(Workspace& ws, Ui& ui) {
  const ChoiceOutcome choice =
      ChoiceBox(ws, ui, "Raumplan l\xF6schen", "#" + classCaption(ws) + "|alle Klassen|Abbruch", "Raumplan l\xF6schen");
  if (choice.choiceResult != 1 && choice.choiceResult != 2) return false;
  BackupPlanRecords(ws, ui);
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    if (choice.choiceResult == 1 && c != ws.shell.currentClass) continue;
    for (int day = 1; day <= ws.base.days; ++day) {
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) clearRoom(ws, c, Slot{day, p});
    }
  }
  return true;
}

}  // namespace

bool deleteLessonsToPlace(Workspace& ws, Ui& ui) {
  if (!ui.askYesNo("Alle zu setzende Stunden l\xF6schen?", MessageStyle{Icon::Question})) return false;
  BackupPlanRecords(ws, ui);
  ws.plan.assignments.clear();
  ws.plan.modifiedPlan = true;
  return true;
}

bool deletePlan(Workspace& ws, Ui& ui) {
  if (ws.shell.workMode <= 1) return deleteTimetableDialog(ws, ui);
  if (ws.shell.workMode == 2) return deleteRoomPlanDialog(ws, ui);
  return false;
}

}  // namespace quort
