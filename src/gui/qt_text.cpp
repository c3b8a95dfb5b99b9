#include "gui/qt_text.h"

#include <QFontDatabase>

#include "data/codepage.h"

namespace quort {

QString toQString(const std::string& cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

std::string fromQString(const QString& text) { return utf8ToCp1252(text.toStdString()); }

QString displayText(const std::string& cp1252) {
  QString text = toQString(cp1252);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QFont fixedFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(10);
  return font;
}

}  // namespace quort
