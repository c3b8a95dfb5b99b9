#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

struct Workspace;
struct BaseData;
struct PlanTables;
class Ui;

// One data row of an exchange table, normalised: codes upper case, trimmed and cut to
// their width; the class already moved to its letter class when a coupling group holds
// the class with another course.
struct ExchangeRow {
  int group = 0;  // "Nummer"; 0 for a lesson of no coupling
  std::string schoolClass;
  std::string teacher;
  std::string subject;
  char suffix = ' ';  // third character of "Fach": the course within a coupling
  std::string room;
  int day = 0;
  int period = 0;  // after the offset
};

struct ExchangeTable {
  std::vector<ExchangeRow> rows;
  int maxGroup = 0;
  bool lettersExhausted = false;  // a group holds more courses of one class than letters
};

enum class ExchangeReadStatus { Ok, MissingColumns, NoRows };

// Splits the file into rows: separator from the first line (",", ";" or a line feed),
// the column positions from its header, fields split honouring double quotes. With an
// offset o > 0 every period above o moves on by one.
ExchangeReadStatus readExchangeTable(std::string_view content, int offset, ExchangeTable& table);

// The base data the rows ask for, in fresh tables; false (with the message to show) when
// they exceed the planner's capacities.
bool buildExchangeBaseData(const ExchangeTable& table, int offset, BaseData& base, std::string& problem);

// The plan of the rows on base: class grid, couplings of the groups with more than one
// course; false (with the message to show) when a row does not fit the base data.
bool buildExchangePlan(const ExchangeTable& table, const BaseData& base, PlanTables& plan, std::string& problem);

enum class ExchangeImportMode { BaseData = 1, Plan = 2 };

// "DIF-Daten importieren": mode BaseData builds and saves new base data and, on request,
// continues with the plan; mode Plan builds the plan on the loaded base data. The loaded
// tables are replaced only once the new ones are complete. true when something was saved.
bool ImportExchange(Workspace& ws, Ui& ui, ExchangeImportMode mode);

}  // namespace quort
