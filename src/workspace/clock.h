#pragma once

#include <string>

#include "data/calendar.h"
#include "workspace/workspace.h"

namespace quort {

// "Today" as the workspace sees it: the date set for scripts and tests, else the system's.
inline std::string workspaceToday(const Workspace& ws) {
  return Weekday(ws.substitution.clockDate) > 0 ? ws.substitution.clockDate : TodayText();
}

}  // namespace quort
