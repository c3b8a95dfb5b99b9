#pragma once

namespace quort {

class Application;
class BatchRunner;

// The printing items of the "Ausgabe" menu; false for any other item.
bool runPrintMenuItem(Application& app, int id);

// Script keywords of printing:
//   print-to FILE.pdf | FILE.txt | -   every job goes to that file (- : the printer again)
//   printer CONFIG [fett]             sets the printer configuration ("10F0:PDF-Datei")
//   print text FILE                   prints a text file like "Drucken" of the text viewer
// and "menu N" for the printing items.
void addPrintKeywords(BatchRunner& runner);

}  // namespace quort
