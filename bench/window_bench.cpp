// How long the window's start-up and each of its buttons take, with a
// 30,000-word list, on a clipboard of the given size (default 100 KB).
// Prints the median of a few runs of each; a measurement, not a test.
//
//   window_bench [KB]          under the offscreen platform
//   QT_QPA_PLATFORM=xcb xvfb-run -a window_bench 10240
//                              a 10 MB clipboard on a real (virtual) X server
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "bench/corpus.h"
#include "io/encoding.h"
#include "platform/platform.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const size_t kilobytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const std::string list = dir.filePath("wordlist.txt").toStdString();
  std::ofstream(list, std::ios::binary) << tf::EncodeUtf8(tf::bench::WordListText(30000));

  // References with line breaks, a letter-spaced stretch in the middle (in
  // UTF-16 units, two bytes each).
  const size_t units = kilobytes * 512;
  std::u16string text = tf::bench::References(units * 2 / 5);
  text += tf::bench::LetterSpaced(units / 10);
  text += tf::bench::References(units / 2, 3);
  tf::platform::SetClipboardText(text);
  const int runs = kilobytes > 1000 ? 3 : 7;

  QElapsedTimer clock;
  clock.start();
  tf::ui::MainWindow window({{true, list}, std::nullopt});
  window.StartUp();
  while (!window.Idle()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  std::printf("%zu KB clipboard; start-up (window shown, then %zu words loaded): %lld ms\n", kilobytes,
              window.Words().ClassicWords().NumWords(), static_cast<long long>(clock.elapsed()));

  using tf::ui::Command;
  const std::pair<Command, const char*> buttons[] = {
      {Command::Copy, "Copy to Clipboard"}, {Command::Refresh, "Refresh from Clipboard"},
      {Command::JoinLines, "Just strip Line Breaks"}, {Command::CopyAuthors, "Copy Authors"},
      {Command::CopyTitle, "Copy Title"}, {Command::MoreLess, "More/Less"},
      {Command::Squish, "Squish"}, {Command::JoinParagraphs, "2"}};
  for (const auto& [command, name] : buttons) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
      tf::platform::SetClipboardText(text);
      if (command == Command::Squish) {
        window.Request(Command::Refresh);  // a fresh title-cased text
        while (!window.Idle()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
      }
      clock.restart();
      window.Request(command);
      while (!window.Idle()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
      QApplication::processEvents();  // and drawn
      ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-24s median %8.2f ms  max %8.2f ms\n", name, ms[ms.size() / 2], ms.back());
  }
  return 0;
}
