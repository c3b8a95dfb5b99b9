#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace quort {

// Program text is Windows-1252; Qt wants Unicode. These are the only crossings.
QString toQString(const std::string& cp1252);
std::string fromQString(const QString& text);
// For labels and message boxes: CR LF and single CRs become line breaks.
QString displayText(const std::string& cp1252);

// The fixed-pitch screen font of lists, the text viewer and the editor.
QFont fixedFont();

}  // namespace quort
