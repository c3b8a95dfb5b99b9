#pragma once

namespace quort {

class Application;
class BatchRunner;

// The course-choice items of the menu: 145 and 153 open the course choice editor, 137
// "Kurse importieren" reads a course-choice file into it and opens it, 146 "Kurse
// abgleichen" compares it with another file, 138 the student plans. false for other items.
bool runCourseMenuItem(Application& app, int id);

// Script keyword "courses" with the editor's operations (see the README).
void addCourseKeywords(BatchRunner& runner);

}  // namespace quort
