#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QPlainTextEdit;

namespace quort {

class Ui;
class TextEditorSession;

// Shows a text read-only in the fixed-pitch font, with "Drucken" and "Ende".
class TextViewerDialog : public QDialog {
  Q_OBJECT

 public:
  // print runs when "Drucken" is pressed.
  TextViewerDialog(const std::string& title, const std::string& text, std::function<void()> print,
                   QWidget* parent = nullptr);
  QPlainTextEdit* textView() const { return m_text; }

 private:
  QPlainTextEdit* m_text;
};

// "Texteingabe": "Dateipfad:" with the session's files, the edit field and "Öffnen",
// "Speichern", "Drucken", "Ende".
class TextEditorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TextEditorDialog(TextEditorSession& session, QWidget* parent = nullptr);

  QComboBox* fileList() const { return m_files; }
  QPlainTextEdit* editor() const { return m_editor; }
  void openChosen();
  void saveText();
  void reject() override;

 private:
  void entryChanged(int index);
  void textChanged();

  TextEditorSession& m_session;
  QComboBox* m_files;
  QPlainTextEdit* m_editor;
  std::string m_fileName;
  QString m_lastFitting;
};

}  // namespace quort
