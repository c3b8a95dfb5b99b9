#include "editors/assignment_composer.h"

#include "editors/assignment_entry.h"

namespace quort {

namespace {

std::string padded(std::string code, size_t width) {
  if (code.size() < width) code.resize(width, ' ');
  return code;
}

}  // namespace

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
  return padded(m_teacher, 2) + m_marker + padded(m_subject, 2) + " " + padded(m_class, 3) + " " + periods;
}

}  // namespace quort
