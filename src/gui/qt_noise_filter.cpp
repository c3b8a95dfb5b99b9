#include "gui/qt_noise_filter.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace quort {

namespace {

// Writes what Qt's own handler writes on the console (QT_MESSAGE_PATTERN included). Qt's
// handler takes no context pointer, so this one keeps no state to chain to.
void filteringHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type <= QtWarningMsg && isQtNoise(message)) return;
  const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
  std::fprintf(stderr, "%s\n", line.constData());
  std::fflush(stderr);
}

}  // namespace

bool isQtNoise(const QString& message) {
  return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
         message == QLatin1String("This plugin does not support propagateSizeHints()");
}

void installQtNoiseFilter() { qInstallMessageHandler(filteringHandler); }

}  // namespace quort
