#pragma once

#include <ctime>
#include <string>

#include "data/calendar.h"
#include "workspace/workspace.h"

namespace quort {

// "Today" as the workspace sees it: the date set for scripts and tests, else the system's.
inline std::string workspaceToday(const Workspace& ws) {
  return Weekday(ws.substitution.clockDate) > 0 ? ws.substitution.clockDate : TodayText();
}

// The time of day "HH:MM" that outputs print: the scripted one, else the system's.
inline std::string workspaceTime(const Workspace& ws) {
  if (ws.substitution.clockTime.size() == 5) return ws.substitution.clockTime;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[8];
  std::strftime(text, sizeof text, "%H:%M", &local);
  return text;
}

}  // namespace quort
