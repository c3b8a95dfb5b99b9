#include "editors/assignment_composer.h"

#include "data/number_text.h"
#include "editors/assignment_entry.h"

namespace quort {

namespace {}  // namespace

void AssignmentComposer::setTeacher(const std::string& code) {
  m_teacher = code;
  m_coupling = 0;
}

void AssignmentComposer::setSubject(const std::string& code) {
  m_subject = code;
  m_coupling = 0;
}

void AssignmentComposer::setClass(const std::string& code) {
  m_class = code;
  m_coupling = 0;
}

void AssignmentComposer::setCoupling(int number) {
  m_coupling = number;
  m_teacher.clear();
  m_subject.clear();
  m_class.clear();
}

void AssignmentComposer::setPeriods(int periods) { m_periods = periods; }

void AssignmentComposer::setKind(char letter) {
  m_kind = letter;
  m_marker = letter == 'L' ? kMarkerL : letter == 'H' ? kMarkerH : ' ';
}

std::string AssignmentComposer::line() const {
  const std::string periods = m_periods > 0 ? std::to_string(m_periods) : std::string();
  if (m_coupling > 0) {
    std::string text = "#" + std::to_string(m_coupling) + ":" + periods;
    if (m_marker != ' ') text += m_marker;
    if (m_kind != 0) text += m_kind;
    return text;
  }
  if (m_teacher.empty() && m_subject.empty() && m_class.empty() && periods.empty()) return {};
  return padRight(m_teacher, 2) + m_marker + padRight(m_subject, 2) + " " + padRight(m_class, 3) + " " + periods;
}

}  // namespace quort
