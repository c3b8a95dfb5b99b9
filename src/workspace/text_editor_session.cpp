#include "workspace/text_editor_session.h"

#include "data/calendar.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "workspace/clock.h"
#include "workspace/print_job.h"
#include "workspace/text_files.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kSeparator = "  -  ";

// The edit field works with LF; the files have CR LF.
std::string withCrLf(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    if (text[i] == '\n') result += '\r';
    result += text[i];
  }
  return result;
}

// The substitution files (termin.x, s<WD>.x, t<WD>.x, prot.x) are written in the Windows
// code page by the program itself, so the editor must neither convert nor mark them.
bool isWindowsTextFile(const std::string& fileName) {
  return fileName.size() > 2 && (fileName.ends_with(".x") || fileName.ends_with(".X"));
}

}  // namespace

std::vector<TextEditorEntry> parseTextEditorFiles(const std::string& fileList) {
  std::vector<TextEditorEntry> entries;
  std::string list = fileList;
  if (!list.empty() && list.back() != '|') list += '|';
  list += std::string("*.*") + kSeparator + "alle Dateien|";
  size_t start = 0;
  for (size_t bar = list.find('|'); bar != std::string::npos; bar = list.find('|', start)) {
    const std::string caption = list.substr(start, bar - start);
    start = bar + 1;
    if (caption.empty()) continue;
    const size_t separator = caption.find(kSeparator);
    TextEditorEntry entry;
    entry.caption = caption;
    entry.fileName = caption.substr(0, separator);
    if (separator != std::string::npos) entry.description = caption.substr(separator + 5);
    entries.push_back(entry);
  }
  return entries;
}

TextEditorSession::TextEditorSession(Workspace& ws, Ui& ui, const std::string& fileList)
    : m_ws(ws), m_ui(ui), m_entries(parseTextEditorFiles(fileList)) {}

std::string TextEditorSession::title(size_t entry) const {
  return std::string(kProgramTitle) + " - " + (entry < m_entries.size() ? m_entries[entry].caption : std::string());
}

bool TextEditorSession::open(size_t entry, std::string& fileName, std::string& text) {
  fileName = entry < m_entries.size() ? m_entries[entry].fileName : std::string();
  if (!isWindowsTextFile(fileName)) return ReadTextFile(m_ws, m_ui, fileName, text);
  text.clear();
  if (!readWholeFile(fileName, text)) {
    m_ui.message("Lesefehler in " + fileName, MessageStyle{Icon::Exclamation});
    return false;
  }
  if (const size_t end = text.find('\x1A'); end != std::string::npos) text.resize(end);
  return true;
}

bool TextEditorSession::save(const std::string& fileName, const std::string& text) {
  if (fileName.empty() || fileName.find_first_of("*?") != std::string::npos) {
    m_ui.message("Dateifehler!", MessageStyle{Icon::Exclamation});
    return false;
  }
  const std::string lines = withCrLf(text);
  if (!writeFileAtomically(fileName, isWindowsTextFile(fileName) ? lines : ToDosText(lines))) {
    m_ui.message("Fehler beim Speichern!", MessageStyle{Icon::Stop});
    return false;
  }
  return true;
}

bool TextEditorSession::mayClose(bool modified) {
  return !modified || m_ui.askYesNo("Text nicht gespeichert, dennoch beenden?", MessageStyle{Icon::Question});
}

bool TextEditorSession::fits(const std::string& text) {
  if (text.size() <= kCapacity) return true;
  m_ui.message("Text zu gro\xDF!Einf\xFCgen gesperrt!", MessageStyle{Icon::Exclamation});
  return false;
}

std::string dayTextFiles(const Workspace& ws) {
  std::string date = ws.dialogs.currentDate;
  if (Weekday(date) <= 0) date = workspaceToday(ws);
  const std::string day = DayAbbrev(Weekday(date));
  return "s" + day + ".x" + kSeparator + "Vertretungsplan|t" + day + ".x" + kSeparator + "Vertretungstexte";
}

void TextEditorSession::print(const std::string& text) { PrintWithSetup(m_ws, m_ui, "Texteingabe", text); }

void TextEditor(Workspace& ws, Ui& ui, const std::string& fileList) {
  TextEditorSession session(ws, ui, fileList);
  ui.textEditor(session);
}

}  // namespace quort
