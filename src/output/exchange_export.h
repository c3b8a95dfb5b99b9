#pragma once

#include <string>

namespace quort {

struct Workspace;
struct BaseData;
struct PlanTables;
class Ui;

// The exchange table: one row per lesson of the class grid, the header row naming the
// columns "Nummer","Klasse","Lehrer","Fach","Raum","Tag","Stunde". Spreadsheets read it as
// delimited text; German ones expect ";" rather than ",".
struct ExchangeFormat {
  char separator = ',';
};

// The whole table in the DOS code page, CR LF lines. Class locks are left out: they are
// no lessons another program could use.
std::string formatExchangeTable(const BaseData& base, const PlanTables& plan, ExchangeFormat format = {});

// "Plan exportieren (DIF)": file chooser, then the table. true when a file was written.
bool ExportExchange(Workspace& ws, Ui& ui, ExchangeFormat format = {});

}  // namespace quort
