#include "platform/clipboard_server.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "engine/engine.h"
#include "platform/platform.h"
#include "platform/session_bus.h"

namespace tf::platform {
namespace {

// Set by tests: the serving process writes its PID into this file, so that
// a test can watch it and end it by its PID.
constexpr const char* kPidFileVariable = "TITLEFIXER_CLIPBOARD_PID_FILE";
// Set by tests: milliseconds to wait between taking the clipboard and
// reporting, so that a test can end the command in between.
constexpr const char* kReportDelayVariable = "TITLEFIXER_CLIPBOARD_REPORT_DELAY_MS";

// What the serving process tells the command that started it, over a pipe:
// one status byte ('0' done, '1' failed), then a message for standard error.
class Handshake final {
 public:
  explicit Handshake(int fd) : m_fd(fd) {}
  void Send(char status, const std::string& message) {
    if (m_fd < 0) return;
    std::string bytes(1, status);
    bytes += message;
    for (size_t done = 0; done < bytes.size();) {
      const ssize_t put = ::write(m_fd, bytes.data() + done, bytes.size() - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) break;
      done += static_cast<size_t>(put);
    }
    ::close(m_fd);
    m_fd = -1;
  }

 private:
  int m_fd;
};

int g_handshakeFd = -1;

// Qt reports a display it cannot open with a fatal message that would
// abort: it goes to the waiting command instead, as one line.
void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) return;
  Handshake(g_handshakeFd)
      .Send('1', "cannot reach the clipboard: no usable display (" +
                     message.section(QLatin1Char('\n'), 0, 0).toStdString() + ")\n");
  std::_Exit(1);
}

// The serving process: away from the terminal and the caller's pipes (a
// script that reads the command's output must not wait for it), it reads
// the clipboard, puts the result there, reports, and then serves the
// clipboard until another program takes it or a clipboard manager has.
int Serve(char* program, const cli::Invocation& inv, const engine::Words& words, int fd) {
  // The command that started this process may be gone before the report
  // (ended by a signal, its terminal closed): the report then goes
  // nowhere, and the text is served all the same.
  ::signal(SIGPIPE, SIG_IGN);
  Handshake handshake(fd);
  ::setsid();
  const int null = ::open("/dev/null", O_RDWR);
  for (int stream = 0; stream <= 2; ++stream) ::dup2(null, stream);
  if (null > 2) ::close(null);
  if (fd > 3) ::close_range(3, static_cast<unsigned>(fd) - 1, 0);
  ::close_range(static_cast<unsigned>(fd) + 1, ~0u, 0);

  if (const char* pidFile = std::getenv(kPidFileVariable); pidFile != nullptr && *pidFile) {
    if (FILE* f = std::fopen(pidFile, "w")) {
      std::fprintf(f, "%d\n", static_cast<int>(::getpid()));
      std::fclose(f);
    }
  }
  // The server needs no session bus, and Qt would wait on one that never
  // answers (its accessibility bridge asks it at start).
  platform::ForgetSessionBus();
  // On a Wayland desktop the clipboard is reached through XWayland: a
  // Wayland client may own the clipboard only while it has a focused window.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  int argc = 1;
  char* argv[] = {program, nullptr};
  g_handshakeFd = fd;
  const QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
  QGuiApplication app(argc, argv);
  qInstallMessageHandler(previous);

  const std::u16string text = platform::ClipboardText();
  if (text.empty()) {
    handshake.Send('1', "the clipboard holds no text; it is left as it was\n");
    return 1;
  }
  std::u16string result;
  try {
    result = cli::Result(inv, words, text);
  } catch (...) {
    handshake.Send('1', engine::FailureOf(std::current_exception()).message + "; the clipboard is left as it was\n");
    return 1;
  }
  // Nothing came of it (no split point, only white space, no reference):
  // the user's text is worth more than an empty clipboard.
  if (result.find_first_not_of(u" \t\r\n") == std::u16string::npos) {
    handshake.Send('1', "the result is empty; the clipboard is left as it was\n");
    return 1;
  }
  platform::SetClipboardText(result);
  if (!platform::OwnsClipboard()) {
    handshake.Send('1', "cannot take the clipboard; it is left as it was\n");
    return 1;
  }
  if (const char* delay = std::getenv(kReportDelayVariable); delay != nullptr && *delay)
    ::usleep(static_cast<useconds_t>(std::atoi(delay)) * 1000);
  handshake.Send('0', "");

  // Served until another program really holds the clipboard: one that
  // copies, or a clipboard manager that takes the text over. The text is
  // never left to the hand-over at exit, which fails for a large text (sent
  // in pieces) and with a manager that refuses or never answers, after the
  // command has reported success.
  platform::WhenClipboardLost(&app, [] { QCoreApplication::quit(); });
  return QGuiApplication::exec();
}

}  // namespace

int RunOnClipboard(char* program, const cli::Invocation& inv) {
  if (const auto missing = engine::MissingNamedList(inv.wordList)) {
    engine::Complain(*missing);
    return 1;
  }
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    engine::Complain(
        "cannot reach the clipboard: no display (DISPLAY is not set; the clipboard is served through X11 or "
        "XWayland)");
    return 1;
  }
  // Every input is read before the server starts: a word list named as
  // <(...) is a pipe of this process's, which the server does not keep.
  const engine::LoadedWords loaded = cli::LoadWordsFor(inv);
  for (const auto& w : loaded.warnings) engine::Complain(w);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    engine::Complain(std::string("cannot start the clipboard server: ") + std::strerror(errno));
    return 1;
  }
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    engine::Complain(std::string("cannot start the clipboard server: ") + std::strerror(errno));
    return 1;
  }
  if (pid == 0) {
    ::close(fds[0]);
    std::_Exit(Serve(program, inv, loaded.words, fds[1]));
  }
  ::close(fds[1]);
  // Waits for the report; an end of the pipe without one means the server
  // died before the result was on the clipboard.
  std::string report;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    report.append(buffer, static_cast<size_t>(got));
  }
  ::close(fds[0]);
  if (report.empty()) {
    engine::Complain("the clipboard server ended before the result was on the clipboard");
    return 1;
  }
  const std::string message = report.substr(1);
  if (report[0] != '0') {
    // The server's message ends with its line end.
    engine::Complain(std::string_view(message).substr(0, message.size() - (message.ends_with('\n') ? 1 : 0)));
    return 1;
  }
  std::fputs(message.c_str(), stderr);
  return 0;
}

}  // namespace tf::platform
