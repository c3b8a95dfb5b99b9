#include "importer/console/curses_console.h"

#include <ncurses.h>

#include <algorithm>

#include "data/codepage.h"
#include "data/file_access.h"
#include "importer/import_text.h"
#include "importer/importer_menu.h"

namespace quort {

namespace {

constexpr int kPromptRow = 24;
constexpr short kTimedColours = 1;  // yellow on black
constexpr short kErrorColours = 2;  // white on red
constexpr int kChooserFirstRow = 3;
constexpr int kChooserLastRow = 22;
constexpr int kChooserColumns = 4;
constexpr size_t kChooserEntryWidth = 18;

void drawAt(int row, int column, const std::string& text) { mvaddstr(row - 1, column - 1, cp1252ToUtf8(text).c_str()); }

void clearRow(int row) {
  move(row - 1, 0);
  clrtoeol();
}

// One key as Windows-1252, or a curses key code above 255 (0 for what has no byte).
int readKey() {
  wint_t key = 0;
  const int kind = get_wch(&key);
  if (kind == ERR) return -1;
  if (kind == KEY_CODE_YES) return static_cast<int>(key);
  if (key < 0x80) return static_cast<int>(key);
  std::string utf8;
  if (key < 0x800) {
    utf8 = {static_cast<char>(0xC0 | (key >> 6)), static_cast<char>(0x80 | (key & 0x3F))};
  } else {
    utf8 = {static_cast<char>(0xE0 | (key >> 12)), static_cast<char>(0x80 | ((key >> 6) & 0x3F)),
            static_cast<char>(0x80 | (key & 0x3F))};
  }
  const std::string byte = utf8ToCp1252(utf8);
  return byte.size() == 1 && byte != "?" ? static_cast<unsigned char>(byte[0]) : 0;
}

bool isEnter(int key) { return key == '\n' || key == '\r' || key == KEY_ENTER; }
bool isBackspace(int key) { return key == KEY_BACKSPACE || key == 127 || key == 8; }

}  // namespace

CursesConsole::CursesConsole() : m_chooser(currentDirectoryText()) {
  set_escdelay(25);
  initscr();
  cbreak();
  noecho();
  keypad(stdscr, TRUE);
  if (has_colors()) {
    start_color();
    init_pair(kTimedColours, COLOR_YELLOW, COLOR_BLACK);
    init_pair(kErrorColours, COLOR_WHITE, COLOR_RED);
  }
}

CursesConsole::~CursesConsole() { endwin(); }

void CursesConsole::showStartScreen() {
  clear();
  const std::string title = kImporterTitle;
  drawAt(10, 41 - static_cast<int>(title.size()) / 2, title);
  drawAt(12, 36, "QUORT-Plan");
  refresh();
  timeout(1500);
  readKey();
  timeout(-1);
}

void CursesConsole::showMenuScreen() {
  clear();
  attron(A_BOLD);
  drawAt(2, 4, "Programmfunktionen");
  attroff(A_BOLD);
  drawAt(4, 4, "Transfer von GPU001.TXT .. GPU006.TXT bzw. LEISTUNGSDATEN.TXT in TAVIN:");
  drawAt(8, 4, "Grunddaten: Generieren unter Umwandlung der Fachbezeichnung");
  drawAt(9, 4, "                       entsprechend KIVO.INI");
  drawAt(11, 4, "Plandaten:  Generieren unter Neuzuordnung der Kurse zu Klassen");
  drawAt(12, 4, "            Stundenversatz: Zur alten Stundennummer wird 1 addiert");
  drawAt(15, 4, "Kopplungen: Generieren unter Umwandlung der Fachbezeichnungen");
  drawAt(16, 4, "                       entsprechend KIVO.INI");
  refresh();
}

char CursesConsole::ChoicePrompt(const std::string& prompt) {
  clearRow(kPromptRow);
  drawAt(kPromptRow, 1, prompt + " ");
  refresh();
  for (;;) {
    const int key = readKey();
    if (key == 27) return kEscapeKey;
    if (key > 0 && key < 256) return UpperDos(std::string(1, static_cast<char>(key)))[0];
  }
}

bool CursesConsole::editLine(int row, int column, std::string& text) {
  size_t cursor = text.size();
  for (;;) {
    move(row - 1, column - 1);
    clrtoeol();
    drawAt(row, column, text);
    move(row - 1, column - 1 + static_cast<int>(cursor));
    refresh();
    const int key = readKey();
    if (isEnter(key)) return true;
    if (key == 27) return false;
    if (key == KEY_LEFT && cursor > 0) --cursor;
    if (key == KEY_RIGHT && cursor < text.size()) ++cursor;
    if (key == KEY_HOME) cursor = 0;
    if (key == KEY_END) cursor = text.size();
    if (isBackspace(key) && cursor > 0) text.erase(--cursor, 1);
    if (key == KEY_DC && cursor < text.size()) text.erase(cursor, 1);
    if (key >= ' ' && key < 256 && key != 127 && column + static_cast<int>(text.size()) < 80) {
      text.insert(cursor++, 1, static_cast<char>(key));
    }
  }
}

std::string CursesConsole::ValuePrompt(const std::string& label, const std::string& defaultValue) {
  const std::string shown = valuePromptLabel(label);
  clearRow(kPromptRow);
  drawAt(kPromptRow, 1, shown);
  std::string value = defaultValue;
  // Escape keeps what the line held: a value prompt cannot be cancelled.
  editLine(kPromptRow, static_cast<int>(shown.size()) + 1, value);
  clearRow(kPromptRow);
  return value;
}

void CursesConsole::ShowMessage(const std::string& text, int seconds) {
  clearRow(kPromptRow);
  const short colours = seconds > 0 ? kTimedColours : kErrorColours;
  if (has_colors()) attron(COLOR_PAIR(colours));
  drawAt(kPromptRow, std::max(1, 40 - static_cast<int>(text.size()) / 2), text);
  if (has_colors()) attroff(COLOR_PAIR(colours));
  curs_set(0);
  refresh();
  timeout(seconds > 0 ? seconds * 1000 : -1);
  readKey();
  timeout(-1);
  curs_set(1);
  clearRow(kPromptRow);
  refresh();
}

void CursesConsole::drawChooserList(const std::string& title) {
  clear();
  drawAt(1, 1, "Dateien in " + m_chooser.directory());
  drawAt(2, 1, title + "  (" + m_chooser.pattern() + ")");
  const auto entries = m_chooser.entries();
  const size_t visible = static_cast<size_t>(kChooserLastRow - kChooserFirstRow + 1) * kChooserColumns;
  for (size_t i = 0; i < entries.size() && i < visible; ++i) {
    std::string cell = entries[i].substr(0, kChooserEntryWidth);
    cell.resize(kChooserEntryWidth, ' ');
    drawAt(kChooserFirstRow + static_cast<int>(i / kChooserColumns),
           1 + static_cast<int>((i % kChooserColumns) * (kChooserEntryWidth + 1)), cell + ' ');
  }
  if (entries.size() > visible) {
    drawAt(kChooserLastRow + 1, 1,
           "... und " + std::to_string(entries.size() - visible) + " weitere (Muster eingeben)");
  }
}

std::string CursesConsole::ConsoleFileChooser(const std::string& pattern, const std::string& title) {
  m_chooser.start(pattern);
  for (;;) {
    drawChooserList(title);
    const std::string label = "Datei: ";
    drawAt(kPromptRow, 1, label);
    std::string input;
    if (!editLine(kPromptRow, static_cast<int>(label.size()) + 1, input)) return {};
    if (const auto chosen = m_chooser.enter(input)) return *chosen;
  }
}

}  // namespace quort
