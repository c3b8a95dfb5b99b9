#include "importer/generated_school.h"

#include <fstream>
#include <map>
#include <set>

namespace quort::test {

namespace {

constexpr int kDays = 5;
constexpr int kPeriods = 8;

// Fills a week slot by slot; a double period never crosses a day.
class WeekCursor {
 public:
  // The day and period of the next hours (1 or 2 consecutive ones).
  std::pair<int, int> take(int hours) {
    if (m_period + hours - 1 > kPeriods) {
      ++m_day;
      m_period = 1;
    }
    const std::pair<int, int> slot{m_day, m_period};
    m_period += hours;
    if (m_period > kPeriods) {
      ++m_day;
      m_period = 1;
    }
    return slot;
  }
  bool full() const { return m_day > kDays; }

 private:
  int m_day = 1;
  int m_period = 1;
};

struct Lesson {
  const char* subject;
  int hours;
  bool doubles;
};

const Lesson kLowerLessons[] = {{"D", 4, false},  {"M", 4, false},  {"E", 3, false}, {"BI", 2, true},
                                {"EK", 2, false}, {"GE", 2, false}, {"SP", 2, true}, {"MU", 2, false},
                                {"KU", 2, true},  {"PH", 2, false}, {"F", 3, false}};

class Builder {
 public:
  GeneratedSchool build() {
    makeTeachers();
    for (int year = 5; year <= 10; ++year) {
      const int parallel = year <= 6 ? 4 : 3;
      for (int c = 0; c < parallel; ++c) addLowerClass(std::to_string(year) + static_cast<char>('A' + c));
    }
    addReligionCoupling();
    addUpperSchool("Q1", "11");
    addUpperSchool("Q2", "12");
    m_school.subjects = {"D", "M", "E", "F", "BI", "CH", "PH", "EK", "GE", "SP", "MU", "KU", "ER", "KR", "IF"};
    for (const auto& [name, room] : m_school.classes) m_school.rooms.push_back(room);
    for (const char* room : {"PH1", "CH1", "BI1", "MU1", "KU1", "TH1", "TH2", "AULA"}) m_school.rooms.push_back(room);
    return m_school;
  }

 private:
  void makeTeachers() {
    for (char first = 'A'; first <= 'Z' && m_school.twoLetterTeachers.size() < 44; first += 2) {
      for (char second : {'B', 'E', 'K', 'R'}) m_school.twoLetterTeachers.push_back(std::string{first, second});
    }
    m_school.twoLetterTeachers.push_back("M\xDC");  // MÜ
  }

  std::string teacherFor(int serial) const {
    if (serial % 17 == 5) return "MEY";      // external, three letters
    if (serial % 23 == 7) return "Sch\xF6";  // external, four letters with an umlaut
    const auto& pool = m_school.twoLetterTeachers;
    return pool[static_cast<size_t>(serial) % pool.size()];
  }

  std::string roomFor(const std::string& subject, const std::string& schoolClass) const {
    if (subject == "SP") return "TH" + std::to_string(1 + m_nextLesson % 2);
    if (subject == "PH" || subject == "BI" || subject == "MU" || subject == "KU") return subject + "1";
    return m_homeRooms.at(schoolClass);
  }

  void addLine(long number, const std::string& schoolClass, const std::string& teacher, const std::string& subject,
               const std::string& room, std::pair<int, int> slot, const std::string& placed) {
    m_school.lines.push_back({number, schoolClass, teacher, subject, room, slot.first, slot.second, placed});
  }

  void addClass(const std::string& name) {
    const size_t number = m_homeRooms.size() + 1;
    m_homeRooms[name] = (number < 10 ? "R0" : "R") + std::to_string(number);
    m_school.classes.emplace_back(name, m_homeRooms[name]);
  }

  void addLowerClass(const std::string& name) {
    addClass(name);
    WeekCursor& week = m_weeks[name];
    for (const Lesson& lesson : kLowerLessons) {
      const long number = m_nextLesson++;
      const std::string teacher = teacherFor(static_cast<int>(number));
      for (int hour = 0; hour < lesson.hours;) {
        const int run = (lesson.doubles && lesson.hours - hour >= 2) ? 2 : 1;
        const auto slot = week.take(run);
        for (int i = 0; i < run; ++i) {
          addLine(number, name, teacher, lesson.subject, roomFor(lesson.subject, name), {slot.first, slot.second + i},
                  name);
        }
        hour += run;
      }
    }
  }

  // Religion of 5A and 5B in one lesson number: every line folds into 5A, the class of
  // the first piece, and the two pieces make a coupling.
  void addReligionCoupling() {
    const long number = m_nextLesson++;
    const auto slotA = m_weeks["5A"].take(1);
    m_weeks["5B"].take(1);
    for (const char* subject : {"ER", "KR"}) {
      const std::string teacher = subject[0] == 'E' ? "AB" : "CE";
      for (const char* schoolClass : {"5A", "5B"}) {
        addLine(number, schoolClass, teacher, subject, m_homeRooms.at(schoolClass), slotA, "5A");
      }
    }
    ++m_school.couplings;
  }

  // Courses of one year in blocks: each block is one lesson number whose pieces become
  // the pseudo-classes <year>A, <year>B, ... in the order of their lines.
  void addUpperSchool(const std::string& exportName, const std::string& year) {
    for (char letter : {'A', 'B', 'C'}) addClass(year + letter);
    const std::vector<std::vector<const char*>> blocks = {
        {"D L", "M L", "E L"}, {"BIG", "CHG", "PHG"}, {"GEG", "EKG", "IFG"}, {"M", "D"}};
    WeekCursor week;
    for (size_t b = 0; b < blocks.size(); ++b) {
      const long number = m_nextUpper++;
      std::vector<std::string> teachers;
      for (size_t p = 0; p < blocks[b].size(); ++p) teachers.push_back(teacherFor(static_cast<int>(number + p)));
      for (int hour = 0; hour < 3; ++hour) {
        const auto slot = week.take(1);
        for (size_t p = 0; p < blocks[b].size(); ++p) {
          const std::string placed = year + static_cast<char>('A' + p);
          addLine(number, exportName, teachers[p], blocks[b][p], m_homeRooms.at(placed), slot, placed);
        }
      }
      ++m_school.couplings;
    }
    for (char letter : {'A', 'B', 'C'}) {
      const std::string name = year + letter;
      const long number = m_nextLesson++;
      const auto slot = week.take(2);
      for (int i = 0; i < 2; ++i) {
        addLine(number, name, teacherFor(static_cast<int>(number)), "SP", "TH1", {slot.first, slot.second + i}, name);
      }
    }
  }

  GeneratedSchool m_school;
  std::map<std::string, std::string> m_homeRooms;
  std::map<std::string, WeekCursor> m_weeks;
  long m_nextLesson = 1;
  long m_nextUpper = 1001;
};

std::string quoted(const std::string& text) { return '"' + text + '"'; }

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

GeneratedSchool makeGymnasium() { return Builder().build(); }

void GeneratedSchool::writeTo(const std::filesystem::path& directory) const {
  std::string gpu001;
  std::string gpu002;
  std::set<std::tuple<long, std::string, std::string>> lessonLines;
  for (const Line& line : lines) {
    gpu001 += std::to_string(line.lessonNumber) + ',' + quoted(line.schoolClass) + ',' + quoted(line.teacher) + ',' +
              quoted(line.subject) + ',' + quoted(line.room) + ',' + std::to_string(line.day) + ',' +
              std::to_string(line.period) + ",,\r\n";
    // One GPU002 line per class and teacher of a lesson: coupled lessons repeat their number.
    if (lessonLines.insert({line.lessonNumber, line.schoolClass, line.teacher}).second) {
      gpu002 += std::to_string(line.lessonNumber) + ",2,2,2," + quoted(line.schoolClass) + ',' + quoted(line.teacher) +
                ',' + quoted(line.subject) + ',' + quoted(line.room) + ",,0,2.00000,,,,\r\n";
    }
  }
  std::string gpu003;
  for (const auto& [name, homeRoom] : classes) {
    gpu003 += quoted(name) + ",\"Kl. " + name + "\",," + quoted(homeRoom) + ",,\r\n";
  }
  std::string gpu004 = "\"AB\",\"Abel, Anna\",,,\r\n";
  for (const std::string& teacher : twoLetterTeachers)
    gpu004 += quoted(teacher) + ",\"Lehrkraft " + teacher + "\",,,\r\n";
  gpu004 += "\"MEY\",\"Meyer\",,,\r\n\"Sch\xF6\",\"Sch\xF6ne\",,,\r\n";
  std::string gpu005;
  for (const std::string& room : rooms) gpu005 += quoted(room) + ",\"Raum " + room + "\",,,\r\n";
  std::string gpu006;
  const std::map<std::string, std::string> subjectRooms = {{"PH", "PH1"}, {"CH", "CH1"}, {"BI", "BI1"},
                                                           {"MU", "MU1"}, {"KU", "KU1"}, {"SP", "TH1"}};
  for (const std::string& subject : subjects) {
    const auto room = subjectRooms.find(subject);
    gpu006 += quoted(subject) + ",\"Fach " + subject + "\",," + quoted(room == subjectRooms.end() ? "" : room->second) +
              ",,\r\n";
  }
  gpu006 += "\"D LK\",\"Deutsch Leistungskurs\",,,\r\n";
  writeFile(directory / "GPU001.TXT", gpu001);
  writeFile(directory / "GPU002.TXT", gpu002);
  writeFile(directory / "GPU003.TXT", gpu003);
  writeFile(directory / "GPU004.TXT", gpu004);
  writeFile(directory / "GPU005.TXT", gpu005);
  writeFile(directory / "GPU006.TXT", gpu006);
}

}  // namespace quort::test
