#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

namespace CandidateFlag {
inline constexpr int kAdjacent = 0x80;  // free, few lessons that day, a lesson next to the gap
inline constexpr int kFree = 0x40;
inline constexpr int kLocked = 0x20;
inline constexpr int kOwesOther = 0x10;
inline constexpr int kOwesThisDay = 0x08;
inline constexpr int kClassAtEdge = 0x04;  // teaches the class in period 1 or at the afternoon start
inline constexpr int kClass = 0x02;        // (with reverse: the subject)
inline constexpr int kSubject = 0x01;      // (with reverse: the class)
}  // namespace CandidateFlag

struct CandidateScore {
  int flags = 0;
  std::string note;    // "st. " + class padded to 3 + weekday of the teacher's freed lesson
  int moveDay = 0;     // a lesson of the teacher with the class that could fill the gap
  int movePeriod = 0;  // internal
};

struct CandidateQuery {
  int day = 0;
  int period = 0;  // internal
  int teacher = 0;
  int schoolClass = 0;
  int subject = 0;
  bool reverse = false;  // subject before class (the automatic run outside the upper school)
};
CandidateScore scoreCandidate(const Workspace& ws, const CandidateQuery& query);

// Teachers whose code holds "~" never substitute.
bool excludedFromSubstitution(const Workspace& ws, int teacher);

struct TeacherCandidate {
  int teacher = 0;
  int flags = 0;
  std::string line;
  std::string note;
};
struct RoomCandidate {
  int room = 0;
  int holder = 0;  // class using the room, 0 = free
  std::string line;
};
struct CandidateLists {
  std::vector<TeacherCandidate> teachers;  // best first
  std::vector<RoomCandidate> rooms;        // free rooms first
};
// The lists of the "Vertretung" dialog for the gap of the class.
CandidateLists candidateList(const Workspace& ws, int day, int period, int schoolClass, int subject);

// The entry text choosing a teacher line puts into the dialog: the teacher code and the
// remark, " (st. ...)" for the freed lesson or the class the teacher is taken from,
// " (*)" otherwise.
std::string candidateEntryText(const Workspace& ws, const TeacherCandidate& candidate, int room, int subject);

struct AutoSubstituteOptions {
  std::string date;
  bool clearFirst = false;    // "Vertretungsplan löschen"
  bool releaseEdge = false;   // "Randstunden freigeben"
  bool releaseUpper = false;  // "Oberstufenstunden freigeben"
  bool moveLessons = false;   // "Planstunden verschieben"
};
// "Vertretungen - Vorgaben": sets the best free teacher for every open lesson of the day,
// in passes until a pass sets nothing. The number of lessons set; -1 when cancelled.
int autoSubstitute(Workspace& ws, Ui& ui, const AutoSubstituteOptions& options);

}  // namespace quort
