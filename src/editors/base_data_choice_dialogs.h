#pragma once

#include "editors/base_data_editor.h"

namespace quort {

// The editor's dialogs as choice boxes of the Ui, one round per button: a script answers
// them like any choice box ("$" answers fill the fields in order, "?1"/"?0" the check box,
// then the button's caption). Without an answer a dialog closes.
//
// "Stundenzahl": "Zahl der Tage", "Stunden pro Tag", "Mittagsanfang", the check box
// "Wochenwechsel"; "Anwenden", "Abbruch". A refused value asks again.
// "Planoptionen": the eleven option fields; "Zurücksetzen", "Anwenden", "Abbruch".
// "Grunddatenaufnahme - Klassen" (and the other lists): the list in the prompt, the field
// "Nr." (the line the buttons work on, as a click in the list chooses it), "Kürzel" and the
// list's fields; "Hinzufügen", "Einfügen", "Ersetzen", "Löschen", "Liste sortieren", for rooms
// "Raum sperren" (which unlocks a locked room), "Ende". The fields keep their values from
// round to round; choosing a line with "Nr." alone fills nothing in.
class ChoiceBaseDataDialogs : public BaseDataDialogs {
 public:
  void daysAndPeriods(BaseDataEditor& editor) override;
  void planOptions(BaseDataEditor& editor) override;
  void entityList(BaseDataEditor& editor, EntityKind kind) override;
};

}  // namespace quort
