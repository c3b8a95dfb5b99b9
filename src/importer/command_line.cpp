#include "importer/command_line.h"

#include <map>
#include <optional>
#include <ostream>

#include "data/codepage.h"
#include "data/file_access.h"
#include "importer/answering_console.h"
#include "importer/base_data_import.h"
#include "importer/course_choice_import.h"
#include "importer/import_tables.h"
#include "importer/import_text.h"
#include "importer/kivo_list.h"
#include "importer/plan_import.h"

namespace quort {

namespace {

// Option name -> the prompt it answers, and whether its value is a number or ja/nein.
struct OptionRule {
  const char* prompt;
  bool yesNo;
};

const std::map<std::string, OptionRule> kBaseDataOptions = {
    {"--tage", {"Tageszahl", false}},           {"--stunden", {"Stundenzahl", false}},
    {"--mittag", {"Mittagspause", false}},      {"--wochenwechsel", {"Wochenwechsel", true}},
    {"--sortieren", {"Daten sortieren", true}},
};

const std::map<std::string, OptionRule> kPlanOptions = {
    {"--versatz", {"Stundenversatz", false}},
};

bool isNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

struct Command {
  ImportSource source;
  std::map<std::string, std::string> answers;  // prompt start -> answer
};

// std::nullopt, with the reason written to err, when the arguments do not fit.
std::optional<Command> parseCommand(const std::vector<std::string>& arguments,
                                    const std::map<std::string, OptionRule>& rules, std::ostream& err) {
  Command command;
  for (size_t i = 1; i < arguments.size(); i += 2) {
    const std::string& option = arguments[i];
    if (i + 1 >= arguments.size()) {
      err << "Wert fehlt: " << option << '\n';
      return std::nullopt;
    }
    const std::string& value = arguments[i + 1];
    if (option == "--untis") {
      command.source.untisDirectory = utf8ToCp1252(value);
    } else if (option == "--ziel") {
      command.source.baseDataName = stemOf(utf8ToCp1252(value));
    } else if (const auto rule = rules.find(option); rule != rules.end()) {
      const bool valid = rule->second.yesNo ? (value == "ja" || value == "nein") : isNumber(value);
      if (!valid) {
        err << "Ung\xC3\xBCltiger Wert f\xC3\xBCr " << option << ": " << value << '\n';
        return std::nullopt;
      }
      command.answers[rule->second.prompt] = rule->second.yesNo ? (value == "ja" ? "J" : "N") : value;
    } else {
      err << "Unbekannte Option: " << option << '\n';
      return std::nullopt;
    }
  }
  if (command.source.untisDirectory.empty() || command.source.baseDataName.empty()) {
    err << "--untis und --ziel sind n\xC3\xB6tig\n";
    return std::nullopt;
  }
  return command;
}

bool inRange(const std::string& text, int low, int high) {
  return isNumber(text) && text.size() <= 3 && std::stoi(text) >= low && std::stoi(text) <= high;
}

struct CourseChoiceCommand {
  CourseImportRequest request;
  std::map<std::string, std::string> blockAnswers;  // prompt start -> block number
};

bool parseBlockOption(const std::string& value, CourseChoiceCommand& command, std::ostream& err) {
  const size_t equals = value.rfind('=');
  const std::string course = equals == std::string::npos ? std::string() : utf8ToCp1252(value.substr(0, equals));
  const std::string block = equals == std::string::npos ? value : value.substr(equals + 1);
  if (!inRange(block, 0, CourseBook::kMaxBlocks) || course.size() > 6) {
    err << "Ung\xC3\xBCltiger Wert f\xC3\xBCr --block: " << value << '\n';
    return false;
  }
  command.blockAnswers["Blocknummer von " + course] = block;
  return true;
}

std::optional<CourseChoiceCommand> parseCourseChoiceCommand(const std::vector<std::string>& arguments,
                                                            std::ostream& err) {
  CourseChoiceCommand command;
  command.request.month = currentMonth();
  for (size_t i = 1; i < arguments.size(); i += 2) {
    const std::string& option = arguments[i];
    if (i + 1 >= arguments.size()) {
      err << "Wert fehlt: " << option << '\n';
      return std::nullopt;
    }
    const std::string& value = arguments[i + 1];
    bool valid = true;
    if (option == "--leistungsdaten") {
      command.request.sourceFile = utf8ToCp1252(value);
    } else if (option == "--klasse") {
      command.request.yearGroup = utf8ToCp1252(value);
      valid = leadingNumber(command.request.yearGroup) > 0;
    } else if (option == "--ziel") {
      command.request.targetName = utf8ToCp1252(value);
    } else if (option == "--monat") {
      valid = inRange(value, 1, 12);
      if (valid) command.request.month = std::stoi(value);
    } else if (option == "--bloecke") {
      valid = parseBlockOption(value, command, err);
    } else if (option == "--block") {
      valid = value.find('=') != std::string::npos && parseBlockOption(value, command, err);
    } else {
      err << "Unbekannte Option: " << option << '\n';
      return std::nullopt;
    }
    if (!valid) {
      err << "Ung\xC3\xBCltiger Wert f\xC3\xBCr " << option << ": " << value << '\n';
      return std::nullopt;
    }
  }
  if (command.request.sourceFile.empty() || command.request.yearGroup.empty() || command.request.targetName.empty()) {
    err << "--leistungsdaten, --klasse und --ziel sind n\xC3\xB6tig\n";
    return std::nullopt;
  }
  return command;
}

int runCourseChoiceCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const auto command = parseCourseChoiceCommand(arguments, err);
  if (!command) {
    err << importerUsage();
    return 2;
  }
  AnsweringConsole console(out);
  // Blocks named for single courses would never be asked after the first course's "0".
  if (!command->blockAnswers.empty()) console.setAnswer("Blocknummer von ", "1");
  for (const auto& [prompt, answer] : command->blockAnswers) console.setAnswer(prompt, answer);
  std::vector<std::string> kivoLines;
  if (!LoadKivoIni(findExistingFile("kivo.ini").value_or("kivo.ini"), kivoLines)) {
    console.ShowMessage("Datei KIVO.INI fehlerhaft!", 2);
  }
  const ImportOutcome outcome = ImportCourseChoices(console, kivoLines, command->request);
  out.flush();
  return outcome.succeeded() ? 0 : 1;
}

}  // namespace

std::string importerUsage() {
  return "Aufruf: importer                 (Men\xC3\xBC auf der Konsole)\n"
         "        importer grunddaten --untis VERZEICHNIS --ziel NAME [--tage 6] [--stunden 9]\n"
         "                 [--mittag 7] [--wochenwechsel ja|nein] [--sortieren ja|nein]\n"
         "        importer plandaten --untis VERZEICHNIS --ziel NAME [--versatz 0]\n"
         "        importer kurswahlen --leistungsdaten DATEI --klasse 11 --ziel NAME [--monat 1..12]\n"
         "                 [--bloecke N] [--block KURS=N ...]\n";
}

int runImporterCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const std::string function = arguments.empty() ? std::string() : arguments[0];
  if (function == "--help") {
    out << importerUsage();
    return 0;
  }
  if (function == "kurswahlen") return runCourseChoiceCommand(arguments, out, err);
  const bool baseData = function == "grunddaten";
  if (!baseData && function != "plandaten") {
    err << importerUsage();
    return 2;
  }
  const auto command = parseCommand(arguments, baseData ? kBaseDataOptions : kPlanOptions, err);
  if (!command) {
    err << importerUsage();
    return 2;
  }
  AnsweringConsole console(out);
  for (const auto& [prompt, answer] : command->answers) console.setAnswer(prompt, answer);
  ImportTables tables;
  const ImportOutcome outcome =
      baseData ? ImportBaseData(tables, console, command->source) : ImportPlan(tables, console, command->source);
  out.flush();
  return outcome.succeeded() ? 0 : 1;
}

}  // namespace quort
