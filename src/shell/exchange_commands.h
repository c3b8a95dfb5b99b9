#pragma once

namespace quort {

class Application;
class BatchRunner;

// "DIF-Import/Export:" (menu 152): import of base data or a plan from an exchange table,
// or export of the plan. An import that replaced the tables ends the program.
void runExchangeMenu(Application& app);

// Script keywords of the exchange table:
//   exchange export FILE [;]              the plan as table, "," or ";" between fields
//   exchange import-base FILE [OFFSET]    new base data (answers for the new name, "Plan
//   exchange import-plan FILE [OFFSET]    erzeugen?" and the plan name are queued first)
// "UVD.TXT erzeugen" (menu 136): the statistics export.
void runDistributionMenu(Application& app);

void addExchangeKeywords(BatchRunner& runner);

}  // namespace quort
