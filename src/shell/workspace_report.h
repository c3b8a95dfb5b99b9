#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quort {

struct Workspace;

// Plain-text views of the workspace for scripts and tests: "key: value" lines.
std::vector<std::string> workspaceInfo(const Workspace& ws);

// The entity's line and derived fields; std::nullopt when kind or code is unknown.
// kind: "class", "teacher", "subject" or "room".
std::optional<std::vector<std::string>> describeEntity(const Workspace& ws, const std::string& kind,
                                                       const std::string& code);

}  // namespace quort
