#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quort {

inline constexpr const char* kProgramTitle = "QUORT-Plan";

enum class Icon { None, Information, Exclamation, Stop, Question };

struct MessageStyle {
  Icon icon = Icon::Exclamation;
  std::string title = kProgramTitle;
  bool taskModal = false;
};

// One row of a choice box, parsed from its "|"-separated item string.
struct ChoiceItem {
  enum class Kind { Button, CheckBox, TextField };
  Kind kind = Kind::Button;
  std::string label;
  std::string value;    // check box: "0"/"1"; text field: its text
  bool masked = false;  // text field whose input is not shown (a password)
  // Text field: what a list beside it offers; "Hinzufügen" and "Entfernen" edit the field.
  std::vector<std::string> choices;
  // Text field that only shows: nothing can be typed into it. With follows set it shows
  // what follows makes of the text field before it, kept current while that is edited.
  bool readOnly = false;
  std::function<std::string(const std::string&)> follows = {};
};

struct ChoiceBoxRequest {
  std::string prompt;
  std::string title = kProgramTitle;
  bool helpButton = true;  // a first button "Hilfen", unless the items began with "#"
  std::string helpFile;    // what "Hilfen" shows: the help file name, "~" and the topic
  std::vector<ChoiceItem> items;
};

struct ChoiceOutcome {
  int choiceResult = 0;      // 1-based number of the button over all items; 0 = closed otherwise
  std::string choiceValues;  // every check box state and text field text, each followed by "|"

  // The values one by one, in the order of the items; with count > 0 exactly that many
  // (missing ones empty).
  std::vector<std::string> values(size_t count = 0) const {
    std::vector<std::string> result;
    size_t start = 0;
    for (size_t bar = choiceValues.find('|'); bar != std::string::npos; bar = choiceValues.find('|', start)) {
      result.push_back(choiceValues.substr(start, bar - start));
      start = bar + 1;
    }
    if (count > 0) result.resize(count);
    return result;
  }
};

class TextEditorSession;
class DialogSession;

// A pick list: one entry per line, the current one preselected.
struct ListChoiceRequest {
  std::string title;
  std::vector<std::string> entries;
  int current = 0;  // 0-based
};

// A modeless editor the main window opens: "Deputateingabe" (view 1 a teacher's
// assignments, 2 a class's, 0 the buffer), "Eingabe von Kopplung", "Eingabe von Block ",
// the tool panel that is open in the workspace (locks, fixing, indexing) and the course
// choice editor ("Kurswahlen").
enum class EditorKind { Assignments, Coupling, Block, ToolPanel, Courses };
struct EditorRequest {
  EditorKind kind = EditorKind::Assignments;
  int viewMode = 0;
  int number = 0;  // coupling or block; 0 for a new one
};

// The fields of "Druckereinstellungen"; the dialog edits them and answers whether the
// user pressed "Anwenden".
struct PrinterSetupRequest {
  std::vector<std::string> printers;  // what "Drucker:" offers
  std::string printerName;
  int fontSize = 10;       // 8 to 16
  std::string callerText;  // what is about to be printed
  bool emphasis = true;    // "Schriftauszeichnung"
  bool bold = false;       // "Fettschrift"
  bool landscape = false;  // "Breitformat"
};

struct FileChooserRequest {
  std::string title;
  std::string mode;  // "R": the chosen file must exist
  std::string pattern;
  std::string proposedName;
};

// The only way the core talks to a person. Texts are Windows-1252 bytes; the front end
// converts them at its edge. Every question has a safe answer that a front end without a
// person (the batch runner) gives when nothing else was arranged.
class Ui {
 public:
  virtual ~Ui() = default;

  virtual void message(const std::string& text, const MessageStyle& style) = 0;
  // true for "Ja"
  virtual bool askYesNo(const std::string& text, const MessageStyle& style) = 0;
  // true for "OK"
  virtual bool askOkCancel(const std::string& text, const MessageStyle& style) = 0;
  virtual ChoiceOutcome choiceBox(const ChoiceBoxRequest& request) = 0;
  // The edited text, or false when cancelled ("Abbruch").
  virtual bool textPrompt(const std::string& title, std::string& text) = 0;
  // Shows date in an editable field with day stepping; false when cancelled.
  virtual bool editDate(const std::string& title, std::string& date) = 0;
  // The chosen full name; empty or without "." when cancelled.
  virtual std::string chooseFile(const FileChooserRequest& request) = 0;
  virtual void showText(const std::string& title, const std::string& text) = 0;
  // The "Texteingabe" window over the session's files. Without a person nothing is edited.
  virtual void textEditor(TextEditorSession& session) { (void)session; }
  // A numbered list the user may pick a line from: the window offers it as a pick list and
  // returns the chosen line (0-based); without a person it is shown as text and -1 returned.
  virtual int showPickList(const std::string& title, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    showText(title, text);
    return -1;
  }
  // The 0-based entry chosen from a pick list; -1 when closed without a choice.
  virtual int chooseFromList(const ListChoiceRequest& request) {
    (void)request;
    return -1;
  }

  // "Druckereinstellungen": true for "Anwenden". Without a person nothing is applied.
  virtual bool printerSetup(PrinterSetupRequest& request) {
    (void)request;
    return false;
  }

  // Opens (or reopens) the editor beside the main window. Without a window nothing opens.
  virtual void openEditor(const EditorRequest& request) { (void)request; }

  // Shows a dialog whose buttons work while it stays open, until one of them closes it.
  virtual void runDialog(DialogSession& session) = 0;

  virtual void progressOpen() = 0;
  // The title of the open progress window.
  virtual void progressTitle(const std::string& title) { (void)title; }
  virtual void progressShow(const std::string& text) = 0;
  // Whether a key was pressed since the last poll.
  virtual bool progressKeyPending() = 0;
  virtual void progressClose() = 0;

  void message(const std::string& text) { message(text, MessageStyle{}); }
};

}  // namespace quort
