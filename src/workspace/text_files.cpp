#include "workspace/text_files.h"

#include "data/codepage.h"
#include "data/file_access.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr char kEndOfFile = '\x1A';

bool hasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// A topic header is "~" + topic standing on its own, not the start of a longer topic name.
size_t findTopic(const std::string& text, const std::string& topic) {
  const std::string marker = "~" + topic;
  for (size_t pos = text.find(marker); pos != std::string::npos; pos = text.find(marker, pos + 1)) {
    const size_t end = pos + marker.size();
    if (end == text.size() || text[end] == '\r' || text[end] == '\n' || text[end] == ' ' || text[end] == '~') {
      return end;
    }
  }
  return std::string::npos;
}

std::string withoutLeadingLineBreaks(const std::string& text) {
  const size_t first = text.find_first_not_of("\r\n");
  return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

bool ReadTextFile(Workspace& ws, Ui& ui, std::string& name, std::string& text) {
  text.clear();
  if (name.empty() || hasWildcard(name)) {
    name = FileChooser(ws, ui, {"Textdateien", "R", "*.*", name});
    if (name.find('.') == std::string::npos) name.clear();
  }
  std::string raw;
  const bool ok = !name.empty() && readWholeFile(name, raw);
  const size_t end = raw.find(kEndOfFile);
  if (end != std::string::npos) raw.resize(end);
  int position = 0;
  text = ToWindowsText(StripPrinterPrefix(raw, position));
  if (!ok) ui.message("Lesefehler in " + name, MessageStyle{Icon::Exclamation});
  return ok;
}

std::string helpSection(const std::string& text, const std::string& topic) {
  if (topic.empty()) return text;
  const size_t start = findTopic(text, topic);
  if (start == std::string::npos) return text;
  const size_t end = text.find('~', start);
  std::string section = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  while (!section.empty() && (section.back() == '\r' || section.back() == '\n')) section.pop_back();
  return withoutLeadingLineBreaks(section);
}

void TextViewer(Workspace& ws, Ui& ui, const std::string& argument, bool isFile) {
  if (!isFile) {
    ui.showText(kProgramTitle, argument);
    return;
  }
  const size_t tilde = argument.find('~');
  std::string name = argument.substr(0, tilde);
  const std::string topic = tilde == std::string::npos ? std::string() : argument.substr(tilde + 1);
  std::string text;
  ReadTextFile(ws, ui, name, text);
  const bool isHelp = name.size() >= 9 && name.compare(name.size() - 9, 9, kHelpFileName) == 0;
  const std::string title = std::string(kProgramTitle) + (isHelp ? " - Hilfen" : " - " + name);
  ui.showText(title, helpSection(text, topic));
}

std::string helpReference(const Workspace& ws) {
  const std::string& topic = ws.shell.helpTopic;
  const size_t tilde = topic.find('~');
  std::string file = topic.substr(0, tilde);
  if (file.empty()) file = kHelpFileName;
  std::string directory = ws.shell.programDirectory;
  if (!findExistingFile(directory + file) && !ws.shell.installDirectory.empty() &&
      findExistingFile(ws.shell.installDirectory + file)) {
    directory = ws.shell.installDirectory;
  }
  return directory + file + (tilde == std::string::npos ? std::string() : topic.substr(tilde));
}

std::string helpText(Workspace& ws, Ui& ui) {
  const std::string reference = helpReference(ws);
  const size_t tilde = reference.find('~');
  std::string name = reference.substr(0, tilde);
  std::string text;
  ReadTextFile(ws, ui, name, text);
  return tilde == std::string::npos ? text : helpSection(text, reference.substr(tilde + 1));
}

void ShowHelp(Workspace& ws, Ui& ui) { TextViewer(ws, ui, helpReference(ws), true); }

}  // namespace quort
