#pragma once

namespace quort {

class Application;
class BatchRunner;
class ExamDayActions;

// Script keywords of the exam plans and the exams of a substitution day:
// "exam output [print|save|upload DATE [DAYS]]" ("Ausgabe von Klausurenplänen"; without
// an action the dialog, answered by the script) and "exams read|apply" ("Klausuren:"
// "einlesen" and "vorgeben" for the day set by "date").
void addExamOutputKeywords(BatchRunner& runner);

// "Klausuren:" of the "Vertretungen" dialog: "einlesen" and "vorgeben" of the exams.
const ExamDayActions& examDayActions();

// Menu item 144 (Ausgabe › Klausuren): the exam plan output. false for other items.
bool runExamOutputMenuItem(Application& app, int id);

}  // namespace quort
