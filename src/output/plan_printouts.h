#pragma once

#include <string>
#include <vector>

#include "workspace/print_device.h"
#include "workspace/shell_state.h"

namespace quort {

struct Workspace;
class Ui;

// The week plan of one class, teacher or room as printed lines for a page of the given
// measure: a header with school, plan and date, the entity in bold, a grid of days across
// and periods down whose cells name subject, teacher or class and room, and the page
// number at the foot of the page. Cells take three lines, or fewer when the page is short.
std::vector<std::string> weekPlanPage(const Workspace& ws, PlanEntity kind, int entity, PageMeasure page,
                                      int pageNumber);
// The width of a week plan line for the school's days.
int weekPlanWidth(const Workspace& ws);

// Prints the plans of the entities (every one when empty), one per page; with a text-file
// name they go into that DOS text file instead. false when nothing could be printed.
bool printWeekPlans(Workspace& ws, Ui& ui, PlanEntity kind, const std::vector<int>& entities,
                    const std::string& textFileName = {});

// The lists: teaching assignments per class or per teacher (placed and still open periods),
// couplings with their blocks, and the base data.
std::vector<std::string> assignmentListLines(const Workspace& ws, PlanEntity kind, const std::vector<int>& entities);
std::vector<std::string> couplingPrintoutLines(const Workspace& ws);
std::vector<std::string> baseDataListLines(const Workspace& ws);

// The lines of a list with the header of the printouts, printed or written as text.
bool printList(Workspace& ws, Ui& ui, const std::string& title, const std::vector<std::string>& lines,
               const std::string& textFileName = {});

}  // namespace quort
