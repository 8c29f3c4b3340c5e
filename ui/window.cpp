#include "ui/window.h"

#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/form1.h"

namespace tf::ui {
namespace {

// While the application object is being made, Qt reports a missing display
// with warnings and then a fatal message that aborts. Turn that into one
// line and exit status 1.
bool g_starting = false;

void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "titlefixer: cannot open the window: no usable display (%s)\n",
                 qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(1);
  }
  if (!g_starting) std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool HaveDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int RunWindow(int argc, char** argv) {
  if (!HaveDisplay()) {
    std::fputs("titlefixer: cannot open the window: no display (DISPLAY is not set); "
               "see 'titlefixer --help' for the command line\n",
               stderr);
    return 1;
  }
  g_starting = true;
  const QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
  QApplication app(argc, argv);
  g_starting = false;
  qInstallMessageHandler(previous);
  QApplication::setApplicationName(QStringLiteral("titlefixer"));
  QApplication::setApplicationVersion(QStringLiteral(TF_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("titlefixer"));

  QCommandLineParser parser;
  const QCommandLineOption wordList(QStringLiteral("wordlist"), QString(), QStringLiteral("PATH"));
  const QCommandLineOption noWordList(QStringLiteral("no-wordlist"), QString());
  parser.addOptions({wordList, noWordList});
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "titlefixer: %s\nTry 'titlefixer --help'.\n",
                 qPrintable(parser.errorText()));
    return 2;
  }
  WordListChoice choice;
  choice.useFile = !parser.isSet(noWordList);
  if (parser.isSet(wordList)) {
    const std::string path = parser.value(wordList).toStdString();
    if (::access(path.c_str(), F_OK) != 0) {
      std::fprintf(stderr, "titlefixer: %s: No such file or directory\n", path.c_str());
      return 1;
    }
    choice.path = path;
  }

  Form1 form(choice);
  form.Form_Load();
  if (platform::Ending()) return 0;
  return QApplication::exec();
}

}  // namespace tf::ui
