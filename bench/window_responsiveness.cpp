// Whether the window stays responsive while a command runs on a large
// clipboard (default 10 MB): for each command, the longest the window went
// without handling events or repainting while it ran (a timer asks for a
// repaint every 10 ms and records the gaps), and how long Quit took to
// close the window when pressed in the middle of a command. A measurement,
// not a test; the goal is 100 ms.
//
//   window_responsiveness [KB]      under the offscreen platform
//   QT_QPA_PLATFORM=xcb xvfb-run -a window_responsiveness
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/corpus.h"
#include "platform/platform.h"
#include "ui/main_window.h"

namespace {

using tf::ui::Command;
using tf::ui::MainWindow;

std::u16string Clipboard(size_t kilobytes) {
  const size_t units = kilobytes * 512;
  std::u16string text = tf::bench::References(units * 2 / 5);
  text += tf::bench::LetterSpaced(units / 10);
  text += tf::bench::References(units / 2, 3);
  return text;
}

struct Responsiveness {
  double commandMs = 0;     // from the click until the outcome is shown whole
  double longestGapMs = 0;  // the longest time without a timer tick and its repaint
  int ticks = 0;
};

// Runs `command` and watches the event loop while it runs.
Responsiveness Watch(MainWindow& w, Command command) {
  Responsiveness r;
  QElapsedTimer clock, sinceTick;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    w.repaint();
    r.longestGapMs = std::max(r.longestGapMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
    ++r.ticks;
    sinceTick.restart();
  });
  clock.start();
  sinceTick.start();
  ticker.start();
  w.ButtonFor(command)->click();
  // Done when the outcome is shown whole: the boxes filled too.
  const auto done = [&w] {
    return w.Idle() && !w.WorkingText()->Loading() && !w.AuthorsText()->Loading() && !w.TitleText()->Loading();
  };
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  r.longestGapMs = std::max(r.longestGapMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
  r.commandMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  ticker.stop();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const size_t kilobytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10240;
  QApplication app(argc, argv);
  const std::u16string text = Clipboard(kilobytes);
  tf::platform::SetClipboardText(text);

  MainWindow w({{false, {}}, std::nullopt});
  QElapsedTimer start;
  start.start();
  w.StartUp();
  const double shownMs = static_cast<double>(start.nsecsElapsed()) / 1e6;
  while (!w.Idle()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  std::printf("%zu KB clipboard: window shown after %.1f ms, ready after %.1f ms\n", kilobytes, shownMs,
              static_cast<double>(start.nsecsElapsed()) / 1e6);

  const std::pair<Command, const char*> commands[] = {
      {Command::Refresh, "Refresh from Clipboard"}, {Command::JoinLines, "Just strip Line Breaks"},
      {Command::JoinParagraphs, "2"}, {Command::Squish, "Squish"}, {Command::Copy, "Copy to Clipboard"}};
  std::printf("%-24s %12s %16s %8s\n", "command", "runs (ms)", "longest gap (ms)", "ticks");
  for (const auto& [command, name] : commands) {
    tf::platform::SetClipboardText(text);
    const Responsiveness r = Watch(w, command);
    std::printf("%-24s %12.1f %16.1f %8d\n", name, r.commandMs, r.longestGapMs, r.ticks);
  }

  // Quit pressed 30 ms into a join: how long until the window is gone.
  tf::platform::SetClipboardText(text);
  QElapsedTimer quit;
  w.ButtonFor(Command::JoinLines)->click();
  QTimer::singleShot(30, [&] {
    quit.start();
    w.ButtonFor(Command::Quit)->click();
  });
  while (w.isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  std::printf("Quit during a join: window closed after %.1f ms\n", static_cast<double>(quit.nsecsElapsed()) / 1e6);
  while (!w.Idle()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  return 0;
}
