#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// One line of the editor's file list: "name  -  description".
struct TextEditorEntry {
  std::string fileName;
  std::string description;
  std::string caption;  // the whole entry as the drop-down shows it
};

// Parses the "|"-separated file list of the text editor and appends "*.*  -  alle Dateien".
std::vector<TextEditorEntry> parseTextEditorFiles(const std::string& fileList);

// The work behind the "Texteingabe" window; the window itself only shows the text.
class TextEditorSession {
 public:
  // The edit field takes this many characters; more gives "Text zu groß!Einfügen gesperrt!".
  static constexpr size_t kCapacity = 60000;

  TextEditorSession(Workspace& ws, Ui& ui, const std::string& fileList);

  const std::vector<TextEditorEntry>& entries() const { return m_entries; }
  std::string title(size_t entry) const;

  // "Öffnen": reads the entry's file (the "*.*" entry asks for one). fileName receives the
  // file actually read; false when it could not be read (the user has been told).
  bool open(size_t entry, std::string& fileName, std::string& text);
  // "Speichern": writes text (lines ending in LF or CR LF) as a DOS text file.
  bool save(const std::string& fileName, const std::string& text);
  // "Drucken": the printer set-up, then the text.
  void print(const std::string& text);
  // Whether the window may close; unsaved changes ask first.
  bool mayClose(bool modified);
  // Whether text still fits; tells the user when it does not.
  bool fits(const std::string& text);

  Ui& ui() { return m_ui; }

 private:
  Workspace& m_ws;
  Ui& m_ui;
  std::vector<TextEditorEntry> m_entries;
};

// Menu "Texte": the day's substitution plan and notes of the current date.
std::string dayTextFiles(const Workspace& ws);

// Opens the editor window on a file list.
void TextEditor(Workspace& ws, Ui& ui, const std::string& fileList);

}  // namespace quort
