#pragma once

#include <string>
#include <vector>

#include "data/course_records.h"

namespace quort {

struct Workspace;
class Ui;

// Course-by-course student counts: the diagonal holds each course's size, the other cells
// how many students chose both. Courses with overlap 0 can share a block.
class OverlapMatrix {
 public:
  OverlapMatrix(const CourseBook& book, bool onlyWritten);
  int at(int a, int b) const { return m_cells[static_cast<size_t>((a - 1) * m_n + (b - 1))]; }
  int size(int course) const { return at(course, course); }

 private:
  int m_n = 0;
  std::vector<int> m_cells;
};

// Parallel courses (same subject, kind and mark: the first four characters) in name order;
// each course names the next one, 0 at the end.
struct CourseChains {
  std::vector<int> next;    // [course]
  std::vector<int> head;    // [course]: the first course of its chain
  std::vector<int> length;  // [course]: courses in its chain
};
CourseChains buildChains(const CourseBook& book);

struct BlockingState {
  double tolerance = 0.98;
  std::vector<int> attempts;  // [course]
  std::vector<bool> placed;   // [course]
};

struct NextCourseResult {
  int course = 0;    // 0: nothing left to place
  int required = 0;  // free students the course needs in a block
};

// `NextCourse`: the unplaced course with students that heads the unplaced part of its chain
// and scores highest, max(size - 2 * attempts, 0) / length²; ties go to the lower number.
// Courses scoring 0 are given up.
NextCourseResult NextCourse(const CourseBook& book, const OverlapMatrix& overlap, const CourseChains& chains,
                            const BlockingState& state);

struct BlockFitResult {
  int block = 0;  // the best candidate, 0 when no block has room
  int free = 0;
};
// `BlockFit`: per block the course's size less its overlaps with the block's courses (not
// below 0); the block with the largest free count above 0 wins, ties the lower number.
BlockFitResult BlockFit(const CourseBook& book, const OverlapMatrix& overlap, int course);

// The tolerance after one relaxation: 0.2 less, never below 0.2.
double relaxedTolerance(double tolerance);

struct AutoBlockParameters {
  int maxBlocks = 12;
  double overlapMeasure = 0.02;
  bool onlyWritten = false;
};

struct AutoBlockResult {
  std::vector<int> unplaced;
  bool aborted = false;
};

// "aut. Blocken" without its form: places every course that is in no block yet.
AutoBlockResult AutoBlockCourses(Workspace& ws, Ui& ui, const AutoBlockParameters& parameters);
// The form "Restliche Kurse automatisch blocken:", then the run. false when cancelled.
bool AutoBlockDialog(Workspace& ws, Ui& ui);

// "Ausgleichen": parallel courses whose sizes differ by more than 3 students are evened
// out; a student moves only into a course whose blocks hold none of the student's other
// courses. The number of students moved.
int BalanceCourses(Workspace& ws, Ui& ui);

}  // namespace quort
