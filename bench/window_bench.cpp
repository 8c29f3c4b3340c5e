// How long each button of the window takes on a 100 KB clipboard text with a
// 30,000-word list, under the offscreen platform. Prints the median of a few
// runs of each; a measurement, not a test.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "bench/corpus.h"
#include "platform/platform.h"
#include "io/encoding.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const std::string list = dir.filePath("wordlist.txt").toStdString();
  std::ofstream(list, std::ios::binary) << tf::EncodeUtf8(tf::bench::WordListText(30000));

  // 100 KB: references with line breaks, a letter-spaced stretch in the middle.
  std::u16string text = tf::bench::References(40'000);
  text += tf::bench::LetterSpaced(10'000);
  text += tf::bench::References(50'000, 3);
  tf::platform::SetClipboardText(text);

  QElapsedTimer clock;
  clock.start();
  tf::ui::MainWindow window({true, list});
  window.StartUp();
  std::printf("start-up (window shown, then %zu words loaded): %lld ms\n",
              window.Words().vocabulary.NumWords(), static_cast<long long>(clock.elapsed()));

  using tf::ui::Command;
  const std::pair<Command, const char*> buttons[] = {
      {Command::Copy, "Copy to Clipboard"}, {Command::Refresh, "Refresh from Clipboard"},
      {Command::JoinLines, "Just strip Line Breaks"}, {Command::CopyAuthors, "Copy Authors"},
      {Command::CopyTitle, "Copy Title"}, {Command::MoreLess, "More/Less"},
      {Command::Squish, "Squish"}, {Command::JoinParagraphs, "2"}};
  for (const auto& [command, name] : buttons) {
    std::vector<double> ms;
    for (int run = 0; run < 7; ++run) {
      tf::platform::SetClipboardText(text);
      if (command == Command::Squish) window.Request(Command::Refresh);  // a fresh title-cased text
      clock.restart();
      window.Request(command);
      ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-24s median %7.2f ms  max %7.2f ms\n", name, ms[3], ms.back());
  }
  return 0;
}
