#include "courses/course_blocking.h"

#include <algorithm>
#include <cmath>

#include "courses/course_editing.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// Removals a run may offer: each one changes the courses, so a run that keeps removing
// would never end.
constexpr int kRemovalAllowance = 10;
constexpr int kBalanceGap = 3;

std::string shownName(const CourseBook& book, int course) {
  std::string name = book.course(course).name;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

bool counts(const CourseChoice& choice, bool onlyWritten) {
  return !onlyWritten || (choice.markCode >= 2 && choice.markCode <= 5);
}

BlockingState freshState(const CourseBook& book, double tolerance) {
  BlockingState state;
  state.tolerance = tolerance;
  state.attempts.assign(static_cast<size_t>(book.nCourses() + 1), 0);
  state.placed.assign(static_cast<size_t>(book.nCourses() + 1), false);
  for (const std::vector<int>& members : book.blocks) {
    for (int course : members) state.placed[static_cast<size_t>(course)] = true;
  }
  return state;
}

bool headsUnplacedChain(const CourseChains& chains, const BlockingState& state, int course) {
  for (int c = chains.head[static_cast<size_t>(course)]; c != 0 && c != course;
       c = chains.next[static_cast<size_t>(c)]) {
    if (!state.placed[static_cast<size_t>(c)]) return false;
  }
  return true;
}

int requiredFree(int size, int length, double tolerance) {
  if (tolerance >= 1.0) return size;
  return static_cast<int>(std::lround(static_cast<double>(size) / length * tolerance));
}

// A placed course whose leaving would let course fit, and whose students all have a
// parallel course to go to without a clash; 0 when there is none. The smallest such
// course is offered, so the fewest students move.
int courseToRemove(const CourseBook& book, const OverlapMatrix& overlap, int course, int required) {
  int best = 0;
  for (int b = 1; b <= book.nBlocks(); ++b) {
    int free = overlap.size(course);
    for (int member : book.block(b)) free -= overlap.at(member, course);
    for (int member : book.block(b)) {
      if (member == course || std::max(free + overlap.at(member, course), 0) < std::max(required, 1)) continue;
      if (best != 0 && overlap.size(member) >= overlap.size(best)) continue;
      if (parallelCourses(book, member).empty()) continue;
      CourseBook trial = book;
      const bool allMove = std::all_of(trial.students.begin(), trial.students.end(), [&](Student& student) {
        return !student.chose(member) || moveToParallel(trial, student, member);
      });
      if (allMove) best = member;
    }
  }
  return best;
}

struct RunStep {
  bool stop = false;
};

// No block takes the course and no new one may be opened: offer a removal, else ask.
RunStep handleNoFit(Workspace& ws, Ui& ui, const OverlapMatrix& overlap, BlockingState& state, int course, int required,
                    int& removals) {
  CourseBook& book = ws.courses;
  const int candidate = removals < kRemovalAllowance ? courseToRemove(book, overlap, course, required) : 0;
  if (candidate != 0 && ui.askYesNo(shownName(book, candidate) + " entfernen?", MessageStyle{Icon::Question})) {
    ++removals;
    for (Student& student : book.students) {
      if (student.chose(candidate)) moveToParallel(book, student, candidate);
    }
    eraseCourse(book, candidate);
    state.tolerance = relaxedTolerance(state.tolerance);
    return {};
  }
  if (ui.askYesNo("Kein geeigneter Block f\xFCr " + shownName(book, course) + " ! Abbruch?",
                  MessageStyle{Icon::Question}))
    return {true};
  state.tolerance = relaxedTolerance(state.tolerance);
  return {};
}

std::vector<int> unplacedCourses(const CourseBook& book) {
  std::vector<int> result;
  for (int c = 1; c <= book.nCourses(); ++c) {
    if (book.sizeOf(c) > 0 && book.blocksOf(c).empty()) result.push_back(c);
  }
  return result;
}

void reportEnd(Ui& ui, const CourseBook& book, const AutoBlockResult& result) {
  if (result.aborted) {
    ui.message("Abbruch!");
  } else if (result.unplaced.empty()) {
    ui.message("Alle Kurse gesetzt!", MessageStyle{Icon::Information});
  } else {
    std::string text = "Nicht gesetzte Kurse:";
    for (int course : result.unplaced) text += " " + shownName(book, course);
    ui.message(text, MessageStyle{Icon::Information});
  }
}

// Moves students of over-full courses of one chain into the chain's small courses.
int balanceChain(CourseBook& book, const std::vector<int>& chain) {
  int total = 0;
  for (int course : chain) total += book.sizeOf(course);
  const int average = total / static_cast<int>(chain.size());
  int moved = 0;
  for (int from : chain) {
    for (Student& student : book.students) {
      if (book.sizeOf(from) <= average) break;
      if (!student.chose(from)) continue;
      for (int to : chain) {
        if (to == from || book.sizeOf(to) >= average || student.chose(to)) continue;
        if (clashesInBlocksOf(book, student, to, from)) continue;
        for (CourseChoice& choice : student.choices) {
          if (choice.course == from) choice.course = to;
        }
        ++moved;
        break;
      }
    }
  }
  return moved;
}

}  // namespace

OverlapMatrix::OverlapMatrix(const CourseBook& book, bool onlyWritten)
    : m_n(book.nCourses()), m_cells(static_cast<size_t>(m_n * m_n), 0) {
  for (const Student& student : book.students) {
    std::vector<int> chosen;
    for (const CourseChoice& choice : student.choices) {
      if (choice.course >= 1 && choice.course <= m_n && counts(choice, onlyWritten) &&
          std::find(chosen.begin(), chosen.end(), choice.course) == chosen.end())
        chosen.push_back(choice.course);
    }
    for (int a : chosen) {
      for (int b : chosen) ++m_cells[static_cast<size_t>((a - 1) * m_n + (b - 1))];
    }
  }
}

CourseChains buildChains(const CourseBook& book) {
  const auto n = static_cast<size_t>(book.nCourses() + 1);
  CourseChains chains{std::vector<int>(n, 0), std::vector<int>(n, 0), std::vector<int>(n, 1)};
  std::vector<int> order;
  for (int c = 1; c <= book.nCourses(); ++c) order.push_back(c);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return book.course(a).name < book.course(b).name; });
  for (size_t i = 0; i < order.size(); ++i) {
    const int course = order[i];
    const bool continues =
        i > 0 && book.course(order[i - 1]).name.substr(0, 4) == book.course(course).name.substr(0, 4);
    chains.head[static_cast<size_t>(course)] = continues ? chains.head[static_cast<size_t>(order[i - 1])] : course;
    if (continues) chains.next[static_cast<size_t>(order[i - 1])] = course;
  }
  for (int c = 1; c <= book.nCourses(); ++c) {
    int length = 0;
    for (int m = chains.head[static_cast<size_t>(c)]; m != 0; m = chains.next[static_cast<size_t>(m)]) ++length;
    chains.length[static_cast<size_t>(c)] = length;
  }
  return chains;
}

NextCourseResult NextCourse(const CourseBook& book, const OverlapMatrix& overlap, const CourseChains& chains,
                            const BlockingState& state) {
  NextCourseResult best;
  double bestScore = 0.0;
  for (int c = 1; c <= book.nCourses(); ++c) {
    const int size = overlap.size(c);
    if (size == 0 || state.placed[static_cast<size_t>(c)] || !headsUnplacedChain(chains, state, c)) continue;
    const int length = chains.length[static_cast<size_t>(c)];
    const double score =
        std::max(size - 2 * state.attempts[static_cast<size_t>(c)], 0) / static_cast<double>(length * length);
    if (score > bestScore) {
      bestScore = score;
      best = {c, requiredFree(size, length, state.tolerance)};
    }
  }
  return best;
}

BlockFitResult BlockFit(const CourseBook& book, const OverlapMatrix& overlap, int course) {
  BlockFitResult best;
  for (int b = 1; b <= book.nBlocks(); ++b) {
    int free = overlap.size(course);
    for (int member : book.block(b)) {
      if (member != course) free = std::max(free - overlap.at(member, course), 0);
    }
    if (free > best.free) best = {b, free};
  }
  return best;
}

double relaxedTolerance(double tolerance) { return std::max(tolerance - 0.2, 0.2); }

AutoBlockResult AutoBlockCourses(Workspace& ws, Ui& ui, const AutoBlockParameters& parameters) {
  CourseBook& book = ws.courses;
  const double start = parameters.onlyWritten ? 1.0 : std::max(1.0 - parameters.overlapMeasure, 0.0);
  BlockingState state = freshState(book, start);
  AutoBlockResult result;
  int removals = 0;
  ProgressOpen(ws, ui);
  for (;;) {
    const OverlapMatrix overlap(book, parameters.onlyWritten);
    const CourseChains chains = buildChains(book);
    const NextCourseResult next = NextCourse(book, overlap, chains, state);
    if (next.course == 0) break;
    ++state.attempts[static_cast<size_t>(next.course)];
    ProgressPoll(ws, ui, shownName(book, next.course) + " -" + std::to_string(unplacedCourses(book).size()) + " Kurse");
    if (ws.dialogs.abortRequested) {
      result.aborted = true;
      break;
    }
    const BlockFitResult fit = BlockFit(book, overlap, next.course);
    if (fit.block != 0 && fit.free >= next.required) {
      book.block(fit.block).push_back(next.course);
    } else if (book.nBlocks() < std::min(parameters.maxBlocks, CourseBook::kMaxBlocks)) {
      book.blocks.push_back({next.course});
    } else {
      const int before = book.nCourses();
      if (handleNoFit(ws, ui, overlap, state, next.course, next.required, removals).stop) {
        result.aborted = true;
        break;
      }
      // A removal renumbers the courses behind it; the attempts start again, which the
      // removal allowance keeps finite.
      if (book.nCourses() != before) state = freshState(book, state.tolerance);
      continue;
    }
    state.placed[static_cast<size_t>(next.course)] = true;
  }
  ProgressClose(ui);
  result.unplaced = unplacedCourses(book);
  reportEnd(ui, book, result);
  return result;
}

bool AutoBlockDialog(Workspace& ws, Ui& ui) {
  const ChoiceOutcome outcome =
      ChoiceBox(ws, ui, "Restliche Kurse automatisch blocken:",
                "#$max. Blockzahl:12|$\xDC"
                "berschneidungsma\xDF:0.02|?nur Mitglieder mit Klausuren auswerten|Blocken|Abbruch");
  // The two fields and the check box count before the buttons.
  if (outcome.choiceResult != 4) return false;
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t bar; (bar = outcome.choiceValues.find('|', start)) != std::string::npos; start = bar + 1)
    values.push_back(outcome.choiceValues.substr(start, bar - start));
  values.resize(3);
  AutoBlockParameters parameters;
  parameters.maxBlocks = std::clamp(std::atoi(values[0].c_str()), 1, CourseBook::kMaxBlocks);
  std::string measure = values[1];
  std::replace(measure.begin(), measure.end(), ',', '.');
  parameters.overlapMeasure = std::clamp(std::atof(measure.c_str()), 0.0, 1.0);
  parameters.onlyWritten = values[2] == "1";
  AutoBlockCourses(ws, ui, parameters);
  return true;
}

int BalanceCourses(Workspace& ws, Ui& ui) {
  CourseBook& book = ws.courses;
  const CourseChains chains = buildChains(book);
  int moved = 0;
  ProgressOpen(ws, ui);
  for (int c = 1; c <= book.nCourses(); ++c) {
    if (chains.head[static_cast<size_t>(c)] != c || chains.length[static_cast<size_t>(c)] < 2) continue;
    std::vector<int> chain;
    for (int m = c; m != 0; m = chains.next[static_cast<size_t>(m)]) chain.push_back(m);
    int smallest = book.sizeOf(chain[0]);
    int largest = smallest;
    for (int m : chain) {
      smallest = std::min(smallest, book.sizeOf(m));
      largest = std::max(largest, book.sizeOf(m));
    }
    if (largest - smallest <= kBalanceGap) continue;
    ProgressPoll(ws, ui, shownName(book, c) + " umverteilen");
    if (ws.dialogs.abortRequested) break;
    moved += balanceChain(book, chain);
  }
  ProgressClose(ui);
  ui.message("Ausgleichen beendet", MessageStyle{Icon::Information});
  return moved;
}

}  // namespace quort
