#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quort {

struct BaseData;
class Ui;

inline constexpr char kMarkerL = '\xB9';  // "¹", lesson kind "L", bit 4 of the period byte
inline constexpr char kMarkerH = '\xB2';  // "²", lesson kind "H", bit 5
inline constexpr const char* kKindLetters = "EDTHL";

// The two text forms of an assignment entry.
//   long:  "MR¹D  5A  4" (teacher, marker, subject, class, periods), "#12:3D" for a coupling
//   short: "MRD 5A:4", the same "#12:3D" for a coupling
std::string assignmentLongLine(const BaseData& base, std::string_view entry);
std::string assignmentShortLine(const BaseData& base, std::string_view entry);

// What a line may refer to besides the base data.
struct AssignmentParseContext {
  const BaseData& base;
  int nCouplings = 0;
  Ui* report = nullptr;  // receives the refusals; nullptr parses quietly
};

// The 4 bytes of the entry a typed or composed line stands for; std::nullopt (after the
// refusal was reported) when the line is not a valid entry.
std::optional<std::string> parseAssignmentLine(const AssignmentParseContext& context, std::string_view line);

}  // namespace quort
