#pragma once

#include <string>
#include <vector>

#include "workspace/ui.h"

namespace quort {

// A dialog that stays open while its buttons work ("Vertretungen", "Vertretung", the exam
// dialog): the core owns what the buttons do, the front end only shows it. A window shows
// the dialog of its kind; a front end without a person drives the same session through its
// form, the fields and boxes of a choice box.
class DialogSession {
 public:
  enum class Kind { AbsenceDay, SubstituteLesson, Exam };

  virtual ~DialogSession() = default;

  virtual Kind kind() const = 0;
  // Text fields and check boxes with their current values, then the buttons.
  virtual ChoiceBoxRequest form() const = 0;
  // The button (1-based over form().items) was pressed with the values of the fields and
  // boxes, in form order. true when the dialog closes.
  virtual bool press(int button, const std::vector<std::string>& values) = 0;
};

}  // namespace quort
