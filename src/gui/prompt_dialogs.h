#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QScrollBar;

namespace quort {

// A title, one edit field, "Ok" and "Abbruch".
class TextPromptDialog : public QDialog {
  Q_OBJECT

 public:
  TextPromptDialog(const std::string& title, const std::string& text, QWidget* parent = nullptr);
  std::string text() const;
  QLineEdit* field() const { return m_field; }

 private:
  QLineEdit* m_field;
};

// "Datum (TT.MM.JJJJ):" with a scroll bar beside the field: one step up is one day later,
// one step down one day earlier; a page is a week. Only a real date is accepted.
class DatePromptDialog : public QDialog {
  Q_OBJECT

 public:
  DatePromptDialog(const std::string& title, const std::string& date, QWidget* parent = nullptr);
  std::string date() const;
  QLineEdit* field() const { return m_field; }
  QScrollBar* scrollBar() const { return m_scrollBar; }
  void stepDays(int days);

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void scrolled(int action);

  QLineEdit* m_field;
  QScrollBar* m_scrollBar;
};

}  // namespace quort
