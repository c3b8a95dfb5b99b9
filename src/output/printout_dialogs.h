#pragma once

namespace quort {

struct Workspace;
class Ui;

// The printouts of the "Ausgabe" menu, by menu item: 120 to 122 class, teacher and room
// plans, 129 and 130 the assignments per class and per teacher, 127 couplings and blocks,
// 131 the base data. Each asks what to print and offers "Drucken", "Textdatei" (the DOS
// text copy: klassen.txt, lehrer.txt, raum.txt, ...), "Druckerkonfiguration" and "Abbruch".
// false for any other item.
bool runPrintoutDialog(Workspace& ws, Ui& ui, int menuId);

}  // namespace quort
