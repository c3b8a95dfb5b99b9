#include "gui/gui_main.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "data/codepage.h"
#include "data/file_access.h"
#include "gui/main_window.h"
#include "gui/qt_noise_filter.h"
#include "gui/qt_print_device.h"
#include "gui/qt_text.h"
#include "gui/qt_ui.h"
#include "shell/application.h"
#include "shell/failure_messages.h"
#include "shell/main_view_model.h"
#include "shell/menu_actions.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

bool displayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Opens what the command line names; false when something named could not be shown.
bool openAtStart(Application& app, const WindowOptions& options) {
  Workspace& ws = app.workspace();
  bool complete = true;
  if (!options.base.empty() && app.loadBase(utf8ToCp1252(options.base)) == LoadStatus::Loaded) {
    if (!options.plan.empty()) complete = app.openPlanByName(utf8ToCp1252(options.plan));
  } else if (!options.base.empty()) {
    complete = false;
  }
  if (options.workMode >= 0) app.setWorkMode(options.workMode);
  if (!options.classCode.empty()) {
    const int index = ws.base.findClass(utf8ToCp1252(options.classCode));
    if (index > 0) {
      selectEntity(ws, PlanEntity::Class, index);
    } else {
      std::cerr << "Klasse nicht gefunden: " << options.classCode << '\n';
      complete = false;
    }
  }
  return complete;
}

int renderScreenshot(const WindowOptions& options) {
  Workspace ws;
  ws.shell.installDirectory = textFromPath(QCoreApplication::applicationDirPath().toStdString()) + "/";
  ScriptedUi ui;
  ui.setListener([](const std::string& line) { std::cerr << cp1252ToUtf8(line) << '\n'; });
  Application app(ws, ui);
  // A picture of a school that did not load would pass for the real one: nothing is written.
  const bool opened = openAtStart(app, options);
  const bool refused = std::any_of(ui.records().begin(), ui.records().end(), [](const ScriptedUi::Record& r) {
    return r.kind == "message" && reportsFailure(r.text);
  });
  if (!opened || refused || app.endRequested()) {
    std::cerr << "Bild nicht geschrieben: " << options.screenshot << '\n';
    return 1;
  }
  MainWindow window(app);
  window.refresh();
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromStdString(options.screenshot), "PNG")) {
    std::cerr << "Bild nicht geschrieben: " << options.screenshot << '\n';
    return 1;
  }
  return 0;
}

int runInteractive(const WindowOptions& options) {
  Workspace ws;
  ws.shell.installDirectory = textFromPath(QCoreApplication::applicationDirPath().toStdString()) + "/";
  ws.printing.provider = makeQtPrintProvider();
  QtUi ui(ws);
  Application app(ws, ui);
  MainWindow window(app);
  ui.setParentWidget(&window);
  ui.setEditorOpener([&window](const EditorRequest& request) { window.openEditor(request); });
  window.show();
  QTimer::singleShot(0, &window, [&] {
    ui.message(versionInfoText(), MessageStyle{Icon::Information, kProgramTitle, true});
    openAtStart(app, options);
    window.refresh();
    if (app.endRequested()) window.close();
  });
  return QApplication::exec();
}

}  // namespace

int runWindowProgram(int argc, char** argv, const WindowOptions& options) {
  if (!options.screenshot.empty() && !displayAvailable()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!displayAvailable()) {
    std::cerr << "planner: Kein Bildschirm (DISPLAY/WAYLAND_DISPLAY nicht gesetzt). "
                 "Ohne Fenster: planner --batch SKRIPT\n";
    return 2;
  }
  installQtNoiseFilter();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QUORT-Plan"));
  if (!options.screenshot.empty()) return renderScreenshot(options);
  return runInteractive(options);
}

}  // namespace quort
