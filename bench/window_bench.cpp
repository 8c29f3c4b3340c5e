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
#include "text/text.h"
#include "ui/form1.h"

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
  tf::ui::Form1 form({true, list});
  form.Form_Load();
  std::printf("start-up (window shown, then %zu words loaded): %lld ms\n", form.Words().NumWords(),
              static_cast<long long>(clock.elapsed()));

  const char* names[] = {"Copy to Clipboard", "Refresh from Clipboard", "Just strip Line Breaks",
                         "Quit", "Copy Authors", "Copy Title", "More/Less", "Squish", "2"};
  for (int index : {0, 1, 2, 4, 5, 6, 7, 8}) {
    std::vector<double> ms;
    for (int run = 0; run < 7; ++run) {
      tf::platform::SetClipboardText(text);
      if (index == 7) form.Command1_Click(1);  // squish a fresh title-cased text
      clock.restart();
      form.Command1_Click(index);
      ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("button %d %-24s median %7.2f ms  max %7.2f ms\n", index, names[index], ms[3],
                ms.back());
  }
  return 0;
}
