#include "editors/entity_list_editing.h"

#include <algorithm>
#include <numeric>

#include "data/base_data.h"
#include "data/base_data_format.h"
#include "data/number_text.h"
#include "timetable/lesson_grid.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const MessageStyle kListRefusal{Icon::Exclamation, kProgramTitle, true};

std::string upperCase1252(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 'a' && byte <= 'z') c = static_cast<char>(byte - 0x20);
    if (byte >= 0xE0 && byte != 0xF7 && byte != 0xFF) c = static_cast<char>(byte - 0x20);
  }
  return text;
}

std::string withoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

// Calls f with the list of that kind; all four hold a line and a code.
template <typename F>
decltype(auto) withList(BaseData& base, EntityKind kind, F&& f) {
  switch (kind) {
    case EntityKind::Teacher:
      return f(base.teachers);
    case EntityKind::Subject:
      return f(base.subjects);
    case EntityKind::Room:
      return f(base.rooms);
    case EntityKind::Class:
      break;
  }
  return f(base.classes);
}

template <typename F>
decltype(auto) withList(const BaseData& base, EntityKind kind, F&& f) {
  return withList(const_cast<BaseData&>(base), kind, std::forward<F>(f));
}

bool hasSentinel(EntityKind kind) { return kind == EntityKind::Teacher || kind == EntityKind::Subject; }

std::string codeOfLine(EntityKind kind, const std::string& line) {
  return hasSentinel(kind) ? teacherOrSubjectCode(line) : classOrRoomCode(line);
}

// A new line keeps the entity lists as they were; only its own fields are checked here.
std::optional<std::string> fieldRefusal(EntityKind kind, const EntityFields& fields) {
  for (const std::string& field : fields) {
    if (field.find_first_of(",\"\r\n\t\x1A") != std::string::npos) {
      return "Unzul\xE4ssiges Zeichen (Komma, Anf\xFChrungszeichen, Tabulator oder Zeilenumbruch)!";
    }
    // The loader cuts teacher lines at "@".
    if (kind == EntityKind::Teacher && field.find('@') != std::string::npos) return "Unzul\xE4ssiges Zeichen: @!";
  }
  const std::string code = fields.empty() ? std::string() : withoutBlanks(fields[0]);
  if (code.empty() || withoutBlanks(codeOfLine(kind, upperCase1252(code))).empty()) return "K\xFCrzel fehlt!";
  // "*" marks deleted entries and the sentinel, "~" the placeholders of the file, "." is "none".
  if (code[0] == '*' || code[0] == '~' || code[0] == '.') return "Unzul\xE4ssiges K\xFCrzel!";
  if (kind == EntityKind::Subject && fields.size() > 2 && withoutBlanks(fields[2]).starts_with("-")) {
    return "Unzul\xE4ssige Raumzahl!";
  }
  // The file knows the kind by its place: without a room field it would read as one.
  if (kind == EntityKind::Subject && fields.size() > 3 && withoutBlanks(fields[2]).empty() &&
      !buildEntityLine(kind, {"X", "X", "1", fields[3]}).ends_with(" 1")) {
    return "Raumzahl/-Bezug fehlt!";
  }
  return std::nullopt;
}

bool codeTaken(const BaseData& base, EntityKind kind, const std::string& code, int except) {
  return withList(base, kind, [&](const auto& list) {
    for (size_t i = 1; i < list.size(); ++i) {
      if (static_cast<int>(i) != except && list[i].code == code) return true;
    }
    return false;
  });
}

std::optional<std::string> lineRefusal(const Workspace& ws, EntityKind kind, const EntityFields& fields,
                                       int replacing) {
  if (auto refusal = fieldRefusal(kind, fields)) return refusal;
  const std::string code = codeOfLine(kind, buildEntityLine(kind, fields));
  if (codeTaken(ws.base, kind, code, replacing)) return "K\xFCrzel bereits vorhanden!";
  return std::nullopt;
}

bool refuse(Ui& ui, const std::string& text) {
  ui.message(text, kListRefusal);
  return false;
}

bool checkLine(const Workspace& ws, Ui& ui, EntityKind kind, const EntityFields& fields, int replacing) {
  const auto refusal = lineRefusal(ws, kind, fields, replacing);
  return !refusal || refuse(ui, *refusal);
}

bool checkCapacity(const Workspace& ws, Ui& ui, EntityKind kind) {
  if (editableCount(ws.base, kind) < entityCapacity(kind)) return true;
  return refuse(ui,
                "Zu viele Eintr\xE4ge (h\xF6"
                "chstens " +
                    std::to_string(entityCapacity(kind)) + " " + entityListName(kind) + ")!");
}

bool checkSelection(const Workspace& ws, Ui& ui, EntityKind kind, int index) {
  if (index >= 1 && index <= editableCount(ws.base, kind)) return true;
  return refuse(ui, "Keine Daten ausgew\xE4hlt!");
}

// The new list: order[i] is the old index of new entry i (0: a new entry), lines[i] its
// line. Entries keep what the plan tables own of them; the derived fields are rebuilt and
// the plan follows its entities.
void commitList(Workspace& ws, EntityKind kind, const std::vector<int>& order, const std::vector<std::string>& lines) {
  const int oldCount = withList(ws.base, kind, [](const auto& list) { return static_cast<int>(list.size()) - 1; });
  EntityRemap remap{kind, std::vector<int>(static_cast<size_t>(oldCount + 1), 0)};
  withList(ws.base, kind, [&](auto& list) {
    auto rearranged = list;
    rearranged.resize(order.size());
    for (size_t i = 1; i < order.size(); ++i) {
      using Entry = typename std::decay_t<decltype(list)>::value_type;
      rearranged[i] = order[i] > 0 ? list[static_cast<size_t>(order[i])] : Entry{};
      rearranged[i].line = lines[i];
      if (order[i] > 0) remap.newIndexOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    list = std::move(rearranged);
  });
  deriveEntityFields(ws.base);
  remapEntityIndexes(ws, remap);
}

std::vector<int> currentOrder(const BaseData& base, EntityKind kind) {
  return unchangedIndexes(withList(base, kind, [](const auto& list) { return static_cast<int>(list.size()) - 1; }));
}

std::vector<std::string> currentLines(const BaseData& base, EntityKind kind) {
  return withList(base, kind, [](const auto& list) {
    std::vector<std::string> lines;
    for (const auto& entry : list) lines.push_back(entry.line);
    return lines;
  });
}

// Puts a new line at position at (1-based) of the list.
void insertAt(Workspace& ws, EntityKind kind, int at, const std::string& line) {
  std::vector<int> order = currentOrder(ws.base, kind);
  std::vector<std::string> lines = currentLines(ws.base, kind);
  order.insert(order.begin() + at, 0);
  lines.insert(lines.begin() + at, line);
  commitList(ws, kind, order, lines);
}

// Lines sort by code; classes by their grade first, so that 5A comes before 10A.
bool sortsBefore(EntityKind kind, const std::string& a, const std::string& b) {
  const bool deletedA = !a.empty() && a[0] == '*';
  const bool deletedB = !b.empty() && b[0] == '*';
  if (deletedA != deletedB) return deletedB;
  const std::string codeA = codeOfLine(kind, a);
  const std::string codeB = codeOfLine(kind, b);
  if (kind == EntityKind::Class && numericValue(codeA) != numericValue(codeB)) {
    return numericValue(codeA) < numericValue(codeB);
  }
  return codeA < codeB;
}

}  // namespace

std::optional<EntityKind> entityKindOfLetter(char letter) {
  switch (letter) {
    case 'K':
      return EntityKind::Class;
    case 'L':
      return EntityKind::Teacher;
    case 'F':
      return EntityKind::Subject;
    case 'R':
      return EntityKind::Room;
    default:
      return std::nullopt;
  }
}

std::string entityListName(EntityKind kind) {
  switch (kind) {
    case EntityKind::Teacher:
      return "Lehrer";
    case EntityKind::Subject:
      return "F\xE4"
             "cher";
    case EntityKind::Room:
      return "R\xE4ume";
    case EntityKind::Class:
      break;
  }
  return "Klassen";
}

std::vector<std::string> entityFieldNames(EntityKind kind) {
  switch (kind) {
    case EntityKind::Teacher:
      return {"Name", "Entlastung", "Stundenzahl"};
    case EntityKind::Subject:
      return {"Fach", "Raumzahl/-Bezug", "Art", "Stat.-K\xFCrzel"};
    case EntityKind::Room:
      return {"zugeordnetes Fach/Klasse"};
    case EntityKind::Class:
      break;
  }
  return {"Klassenlehrer", "Stat.-Bez."};
}

int entityCapacity(EntityKind kind) {
  switch (kind) {
    case EntityKind::Teacher:
      return kMaxTeachers;
    case EntityKind::Subject:
      return kMaxSubjects;
    case EntityKind::Room:
      return kMaxRooms;
    case EntityKind::Class:
      break;
  }
  return kMaxClasses;
}

std::string buildEntityLine(EntityKind kind, const EntityFields& fields) {
  std::vector<std::string> parts;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string part = withoutBlanks(fields[i]);
    if (i != 1) part = upperCase1252(part);
    parts.push_back(part);
  }
  // The statistics designation is the last field of classes and subjects.
  const size_t statistics = kind == EntityKind::Class ? 2 : kind == EntityKind::Subject ? 4 : 99;
  if (kind == EntityKind::Subject && parts.size() > 3) {
    const std::string& art = parts[3];
    parts[3] = art.starts_with("D") || art.starts_with("2")   ? "D"
               : art.starts_with("T") || art.starts_with("3") ? "T"
                                                              : "";
  }
  std::string line;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string part = parts[i];
    if (i == statistics) {
      while (part.starts_with(">")) part.erase(0, 1);
      if (!part.empty()) part = ">" + part;
    }
    if (part.empty()) continue;
    if (!line.empty()) line += ' ';
    line += part;
  }
  return line;
}

EntityFields splitEntityLine(EntityKind kind, const std::string& line) {
  EntityFields fields(entityFieldNames(kind).size() + 1);
  std::vector<std::string> words;
  for (int n = 1; !lineField(line, n).empty(); ++n) words.push_back(lineField(line, n));
  const size_t statistics = kind == EntityKind::Class ? 2 : kind == EntityKind::Subject ? 4 : 99;
  size_t next = 0;
  for (const std::string& word : words) {
    if (statistics < fields.size() && word.starts_with(">")) {
      fields[statistics] = word.substr(1);
      continue;
    }
    // A subject's kind letter stands in the fourth field; with no room field it comes third.
    if (kind == EntityKind::Subject && next >= 2 && (word == "D" || word == "T") && next <= 3) next = 3;
    if (next < fields.size()) fields[next++] += word;
  }
  return fields;
}

std::vector<std::string> entityLines(const BaseData& base, EntityKind kind) {
  std::vector<std::string> lines;
  for (int i = 1; i <= editableCount(base, kind); ++i) {
    withList(base, kind, [&](const auto& list) { lines.push_back(list[static_cast<size_t>(i)].line); });
  }
  return lines;
}

int editableCount(const BaseData& base, EntityKind kind) {
  const int count = withList(base, kind, [](const auto& list) { return static_cast<int>(list.size()) - 1; });
  return std::max(0, hasSentinel(kind) ? count - 1 : count);
}

bool entityDeleted(const BaseData& base, EntityKind kind, int index) {
  if (!hasSentinel(kind) || index < 1 || index > editableCount(base, kind)) return false;
  return withList(base, kind, [&](const auto& list) { return list[static_cast<size_t>(index)].line.starts_with("*"); });
}

void ensureEntityLists(BaseData& base) {
  if (base.classes.empty()) base.classes.resize(1);
  if (base.rooms.empty()) base.rooms.resize(1);
  if (base.teachers.size() < 2) base.teachers.assign(2, Teacher{});
  if (base.subjects.size() < 2) base.subjects.assign(2, Subject{});
  base.teachers.back().line = "*";
  base.subjects.back().line = "*";
  deriveEntityFields(base);
  base.classes[0].code = ".  ";
  base.teachers[0].code = ". ";
  base.subjects[0].code = ". ";
  base.rooms[0].code = ".  ";
}

bool addEntity(Workspace& ws, Ui& ui, EntityKind kind, const EntityFields& fields) {
  ensureEntityLists(ws.base);
  if (!checkCapacity(ws, ui, kind) || !checkLine(ws, ui, kind, fields, 0)) return false;
  // Teachers and subjects: the sentinel stays last, so the new one goes before it.
  insertAt(ws, kind, editableCount(ws.base, kind) + 1, buildEntityLine(kind, fields));
  return true;
}

bool insertEntity(Workspace& ws, Ui& ui, EntityKind kind, int before, const EntityFields& fields) {
  ensureEntityLists(ws.base);
  if (!checkSelection(ws, ui, kind, before) || !checkCapacity(ws, ui, kind) || !checkLine(ws, ui, kind, fields, 0)) {
    return false;
  }
  insertAt(ws, kind, before, buildEntityLine(kind, fields));
  return true;
}

bool replaceEntity(Workspace& ws, Ui& ui, EntityKind kind, int index, const EntityFields& fields) {
  ensureEntityLists(ws.base);
  if (!checkSelection(ws, ui, kind, index) || !checkLine(ws, ui, kind, fields, index)) return false;
  std::vector<std::string> lines = currentLines(ws.base, kind);
  lines[static_cast<size_t>(index)] = buildEntityLine(kind, fields);
  commitList(ws, kind, currentOrder(ws.base, kind), lines);
  return true;
}

bool deleteEntity(Workspace& ws, Ui& ui, EntityKind kind, int index) {
  ensureEntityLists(ws.base);
  if (!checkSelection(ws, ui, kind, index)) return false;
  if (entityDeleted(ws.base, kind, index)) return refuse(ui, "Eintrag bereits gel\xF6scht!");
  if (!ui.askYesNo("Planverlust! Dennoch l\xF6schen?", MessageStyle{Icon::Question})) return false;
  std::vector<int> order = currentOrder(ws.base, kind);
  std::vector<std::string> lines = currentLines(ws.base, kind);
  if (hasSentinel(kind)) {
    // The plan and the file refer to teachers and subjects by index: the entry stays, with
    // nothing left of its weight, room rule or kind, as the file's placeholder reads back.
    std::string code = codeOfLine(kind, lines[static_cast<size_t>(index)]);
    code.erase(code.find_last_not_of(' ') + 1);
    lines[static_cast<size_t>(index)] = "*" + code;
  } else {
    order.erase(order.begin() + index);
    lines.erase(lines.begin() + index);
  }
  commitList(ws, kind, order, lines);
  return true;
}

bool sortEntities(Workspace& ws, Ui& ui, EntityKind kind) {
  ensureEntityLists(ws.base);
  if (!ui.askYesNo("Planverlust! Dennoch sortieren?", MessageStyle{Icon::Question})) return false;
  std::vector<int> order = currentOrder(ws.base, kind);
  const std::vector<std::string> old = currentLines(ws.base, kind);
  const auto last = order.begin() + 1 + editableCount(ws.base, kind);
  std::stable_sort(order.begin() + 1, last, [&](int a, int b) {
    return sortsBefore(kind, old[static_cast<size_t>(a)], old[static_cast<size_t>(b)]);
  });
  std::vector<std::string> lines(order.size());
  for (size_t i = 0; i < order.size(); ++i) lines[i] = old[static_cast<size_t>(order[i])];
  commitList(ws, kind, order, lines);
  return true;
}

bool toggleRoomLock(Workspace& ws, Ui& ui, int room) {
  if (!checkSelection(ws, ui, EntityKind::Room, room)) return false;
  const std::string& line = ws.base.rooms[static_cast<size_t>(room)].line;
  const std::string code = lineField(line, 1);
  std::string owner = lineField(line, 2);
  // The owner stays behind the "#", so that unlocking gives the room back to it.
  owner = owner.starts_with("#") ? owner.substr(1) : "#" + owner;
  std::vector<std::string> lines = currentLines(ws.base, EntityKind::Room);
  lines[static_cast<size_t>(room)] = owner.empty() ? code : code + " " + owner;
  commitList(ws, EntityKind::Room, currentOrder(ws.base, EntityKind::Room), lines);
  return true;
}

}  // namespace quort
