#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

struct Workspace;
struct BaseData;
struct PlanTables;
class Ui;

// What STAT.INI configures: code rules under keys "[ s, n]", the header of UVD.TXT and
// the subjects of adjustment courses as ",M,E,".
struct StatisticsConfig {
  std::map<std::string, std::string> codeRules;
  std::string header;
  std::string adjustmentCourses;
};

inline constexpr size_t kMaxStatisticsKeys = 100;

// false when the file holds more code keys than the export keeps.
bool parseStatIni(std::string_view text, StatisticsConfig& config);

// The code a rule list of section and number gives for code; the code itself when no
// rule applies. Code lists match whole elements only.
std::string MapCode(const StatisticsConfig& config, const std::string& code, int section, int rule);

// The courses of the upper school's course-choice files as the course editor lists them:
// the year group padded to three characters, the six-character course name (subject, kind
// letter, mark position, number) and what follows it in the list. A distribution record
// has the same layout in its first nine characters, so the two compare by position.
using CourseEntries = std::vector<std::string>;
using CourseFileLoader = std::function<bool(const std::string& fileName, CourseEntries& courses)>;
// Reads no course file at all: the export then works without course kinds.
bool noCourseFiles(const std::string& fileName, CourseEntries& courses);
// Reads a .BK into tables of its own (the course editor's year group stays untouched) and
// gives its courses as the editor lists them ("11 MAL*1 ").
bool courseLinesOfFile(const std::string& fileName, CourseEntries& courses);

// One line of the teaching distribution: group key (3), subject or course text with mark
// and teacher (6), the six characters after the course in the course list (6), weekly count (2).
struct DistributionRecord {
  std::string text;
  int count = 1;
};

std::vector<DistributionRecord> distributionRecords(const BaseData& base, const PlanTables& plan,
                                                    const CourseEntries& courses);
std::string KindCode(const BaseData& base, const StatisticsConfig& config, const CourseEntries& courses,
                     const DistributionRecord& record);
// UVD.TXT as written: header line, then the records of groups below 14 and kinds but "T".
std::string formatDistribution(const BaseData& base, const StatisticsConfig& config, const CourseEntries& courses,
                               const std::vector<DistributionRecord>& records);

// The export dialog's list of course files (one full name per line, CR LF) after the file
// chooser gave name: the full name (directory, which ends in "/", and name, a doubled
// separator made one) goes on a new line unless the list holds it already. Leading line
// breaks and blanks of the list go.
std::string addCourseFile(const std::string& list, const std::string& directory, const std::string& name);

// "UVD.TXT erzeugen": the .BK files named in courseFiles (separated by CR LF) supply the
// course kinds. true when UVD.TXT was written.
bool ExportDistribution(Workspace& ws, Ui& ui, const std::string& courseFiles,
                        const CourseFileLoader& loadCourses = courseLinesOfFile);

}  // namespace quort
