// The whole automatic generation: the demo school and a school at the program's capacity
// (100 classes, 99 teachers, 49 subjects, 100 rooms, about 3,000 weekly periods with
// upper-school couplings). One run each after a fresh start, as the user sees it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/plan_records.h"
#include "shell/application.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"
#include "timetable/generation_filter.h"
#include "timetable/plan_generator.h"

namespace {

using namespace quort;

int openPeriods(const Workspace& ws) {
  int periods = 0;
  for (size_t i = 0; i < recordCount(ws.plan.assignments, 4); ++i)
    periods += AssignmentView(ws.plan.assignments, i).periods();
  return periods;
}

// Free periods between a teacher's first and last lesson of a day, over all teachers.
int teacherGaps(const Workspace& ws) {
  int gaps = 0;
  for (int t = 1; t < ws.base.nTeachers(); ++t) {
    for (int day = 1; day <= kGridDays; ++day) {
      int first = 0;
      int last = 0;
      int lessons = 0;
      for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
        if (ws.plan.timetable.teacher.at(t, p, day) < 256) continue;
        if (first == 0) first = p;
        last = p;
        ++lessons;
      }
      if (first != 0) gaps += last - first + 1 - lessons;
    }
  }
  return gaps;
}

void runGeneration(benchmark::State& state, Workspace& ws, Ui& ui) {
  GenerationFilter filter;
  filter.couplings = true;
  const int before = openPeriods(ws);
  const std::string workList = buildWorkList(ws, filter);
  const int attempts = generateWorkList(ws, ui, workList, GenerationSwitches{true, true, false});
  const int after = openPeriods(ws);
  state.counters["attempts"] = attempts;
  state.counters["placed"] = before - after;
  state.counters["unplaced"] = after;
  state.counters["teacherGaps"] = teacherGaps(ws);
}

// Safety copies go into a directory of their own.
struct ScratchDirectory {
  ScratchDirectory() : previous(std::filesystem::current_path()) {
    dir = std::filesystem::temp_directory_path() / "quort-generator-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
  }
  ~ScratchDirectory() {
    std::filesystem::current_path(previous);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path previous;
  std::filesystem::path dir;
};

void generateDemoSchool(benchmark::State& state) {
  const ScratchDirectory scratch;
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    ScriptedUi ui;
    Application app(ws, ui);
    app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD");
    app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL");
    state.ResumeTiming();
    runGeneration(state, ws, ui);
  }
}
BENCHMARK(generateDemoSchool)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Grades 5-10 with 14 classes each, grades 11-13 with 5 or 6 tutor groups whose courses are
// coupled across the grade.
void buildCapacitySchool(Workspace& ws) {
  BaseData& base = ws.base;
  base.days = 5;
  base.periodsPerDay = 10;
  base.afternoonStart = 7;
  base.planOptions.maxTeacherLessonsPerDay = 7;
  base.classes.assign(1, SchoolClass{});
  for (int grade = 5; grade <= 13; ++grade) {
    const int count = grade <= 10 ? 14 : (grade == 11 ? 6 : 5);
    for (int k = 0; k < count; ++k) {
      SchoolClass c;
      c.code = padCode(std::to_string(grade) + static_cast<char>('A' + k), 3);
      c.line = c.code;
      base.classes.push_back(c);
    }
  }
  base.teachers.assign(1, Teacher{});
  for (int t = 0; t < 99; ++t) {
    Teacher teacher;
    teacher.code = std::string{static_cast<char>('A' + t / 26), static_cast<char>('A' + t % 26)};
    teacher.line = teacher.code;
    base.teachers.push_back(teacher);
  }
  base.teachers.push_back(Teacher{"*", "* ", 1.0F});
  base.subjects.assign(1, Subject{});
  for (int s = 0; s < 49; ++s) {
    Subject subject;
    subject.code = std::string{static_cast<char>('A' + s / 10), static_cast<char>('0' + s % 10)};
    subject.line = subject.code;
    subject.lessonKind = s % 5 == 4 ? 1 : 0;
    subject.roomSpec = s % 7 == 3 ? 9 : 0;  // some subjects need one of nine special rooms
    base.subjects.push_back(subject);
  }
  base.subjects.push_back(Subject{"*", "* ", 1.0F, 0, 0, 0});
  base.rooms.assign(1, Room{});
  for (int r = 0; r < 100; ++r) {
    Room room;
    room.code = padCode("R" + std::to_string(r + 1), 3);
    room.line = room.code;
    base.rooms.push_back(room);
  }
  ws.plan.reset(base);

  std::vector<int> load(100, 0);
  int nextTeacher = 1;
  const auto teacherFor = [&](int periods) {
    for (int tries = 0; tries < 99; ++tries) {
      const int t = nextTeacher;
      nextTeacher = nextTeacher % 99 + 1;
      if (load[static_cast<size_t>(t)] + periods <= 32) {
        load[static_cast<size_t>(t)] += periods;
        return t;
      }
    }
    return 1;
  };
  // Lower school: 13 subjects, 30 periods a week.
  const int lowerSubjects[13][2] = {{1, 4}, {2, 4}, {3, 4},  {4, 3},  {5, 2},  {6, 2}, {7, 2},
                                    {8, 2}, {9, 2}, {10, 2}, {11, 1}, {12, 1}, {15, 1}};
  for (int c = 1; c <= base.nClasses(); ++c) {
    const int grade = static_cast<int>(std::stoi(base.classes[static_cast<size_t>(c)].code));
    if (grade <= 10) {
      for (const auto& [subject, periods] : lowerSubjects)
        ws.plan.assignments += makeAssignment(teacherFor(periods), c, subject, periods);
    } else {
      for (const int subject : {1, 2, 3}) ws.plan.assignments += makeAssignment(teacherFor(3), c, subject, 3);
    }
  }
  // Upper school: per grade seven coupled course blocks of three periods, one course per
  // tutor group, each with a subject of its own.
  ws.plan.couplings.assign(1, std::string());
  int firstClass = 85;
  for (int grade = 11; grade <= 13; ++grade) {
    const int count = grade == 11 ? 6 : 5;
    for (int block = 0; block < 7; ++block) {
      std::string members;
      for (int k = 0; k < count; ++k) {
        const int subject = 16 + (block * 5 + k) % 33;
        members += makeCouplingMember(teacherFor(3), firstClass + k, subject, ' ');
      }
      ws.plan.couplings.push_back(members);
      ws.plan.assignments += makeAssignment(0, block % 3 == 0 ? 1 : 0, ws.plan.nCouplings(), 3);
    }
    firstClass += count;
  }
}

void generateCapacitySchool(benchmark::State& state) {
  const ScratchDirectory scratch;
  for (auto _ : state) {
    state.PauseTiming();
    Workspace ws;
    ScriptedUi ui;
    buildCapacitySchool(ws);
    state.ResumeTiming();
    runGeneration(state, ws, ui);
  }
}
BENCHMARK(generateCapacitySchool)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
