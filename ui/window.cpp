#include "ui/window.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/session_bus.h"
#include "platform/worker.h"
#include "ui/main_window.h"

namespace tf::ui {
namespace {

// While the application object is being made, Qt reports a missing display
// with warnings and then a fatal message that aborts. Turn that into one
// line and exit status 1.
bool g_starting = false;

void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    engine::Complain("cannot open the window: no usable display (" +
                     message.section(QLatin1Char('\n'), 0, 0).toStdString() + ")");
    std::_Exit(1);
  }
  if (!g_starting) std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool HaveDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

int RunWindow(char* program, const WindowOptions& options) {
  if (const auto missing = engine::MissingNamedList(options.wordList)) {
    engine::Complain(*missing);
    return 1;
  }
  if (!HaveDisplay()) {
    engine::Complain(
        "cannot open the window: no display (DISPLAY is not set); see 'titlefixer --help' for the command line");
    return 1;
  }
  // A session bus that takes connections and never answers would hold the
  // window back for good: without an answer in a second, the window goes
  // without the bus (no portal shortcuts, no screen reader, no global menu).
  if (!platform::SessionBusAnswers(1000)) {
    engine::Complain("the desktop's session bus does not answer; the window opens without it");
    platform::ForgetSessionBus();
  }
  // Qt's own options are not offered: every argument was read already.
  int argc = 1;
  char* argv[] = {program, nullptr};
  int status = 0;
  {
    g_starting = true;
    const QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
    QApplication app(argc, argv);
    g_starting = false;
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("titlefixer"));
    QApplication::setApplicationVersion(QStringLiteral(TF_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("titlefixer"));

    MainWindow window(options);
    window.StartUp();
    if (!platform::Ending()) status = QApplication::exec();
  }  // the clipboard is handed to a clipboard manager here
  // A command still running when the user quit holds data the program's
  // static destructors would free under it; nothing of it is wanted now.
  if (platform::Worker::AnyLeftBehind()) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}

}  // namespace tf::ui
