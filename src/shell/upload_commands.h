#pragma once

namespace quort {

class BatchRunner;

// Script keyword "upload FILE[,FILE...]": publishes working-directory files through the
// dialog "Daten übertragen", which takes the script's answers ("$" fields, then "OK").
// The line fails unless every file reached every target.
void addUploadKeywords(BatchRunner& runner);

}  // namespace quort
