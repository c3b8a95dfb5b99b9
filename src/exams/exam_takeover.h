#pragma once

#include <string>
#include <vector>

#include "exams/exam_log.h"

namespace quort {

struct Workspace;
class Ui;

// The lines the day's notes (t<WD>.x, under "Aufsichten:") get for the exams: per exam
// room "Klausur 12 in A01: 3.MR,4.KS", per room change "Klausur 12: 3.Std. 11A R12->R20".
std::vector<std::string> examNoteLines(const std::vector<ExamOfDay>& exams);

// The absences the exams make: each supervisor for the periods of the supervisions, each
// class whose lessons the exam drops for those periods; neither counts against anyone
// ("n"). Items "MR:3-4n(Klausuraufsicht)", "12A:3-4n(Klausur)".
std::vector<std::string> examAbsenceItems(const Workspace& ws, const std::vector<ExamOfDay>& exams);

// "Klausuren: einlesen": the exams of the date from klausauf.x join the day's absence
// list and the notes under "Aufsichten:". false when none was found or a file failed.
bool readExamsIntoDay(Workspace& ws, Ui& ui, const std::string& date);

// "Klausuren: vorgeben": the exams of the date take their periods over: classes move to
// the rooms of the room changes, the dropped lessons are set "frei", each supervisor is
// set with the sentinel subject into the exam room for a class of the grade (a lesson the
// supervisor leaves becomes open; a class moved while its teacher supervises keeps its
// lesson open in the new room), and the notes are written. Reports "Klausuren in " +
// grades + " übernommen!", and what could not be set. false when none was found, a
// supervision could not be set or a file failed.
bool takeOverExams(Workspace& ws, Ui& ui, const std::string& date);

}  // namespace quort
