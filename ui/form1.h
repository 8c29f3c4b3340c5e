// The window: the raw clipboard text at the top, the working text below it,
// nine buttons, and a lower part (authors and title) shown on demand.
//
// The controls are the storage of the texts being worked on: Label1 holds
// the raw clipboard text, the hidden Label2 the processed text, Text1 the
// working text, Text2 the authors and Text3 the title. Every command reads
// and writes them through platform/ and calls text/ and squish/ for the
// work; nothing else is kept but MoreShown and the vocabulary.
#pragma once

#include <QPushButton>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "squish/vocabulary.h"

namespace tf::ui {

// Which word list the window loads at start-up.
struct WordListChoice {
  bool useFile = true;                 // false with --no-wordlist
  std::optional<std::string> path;     // --wordlist PATH; else the default
};

class Form1 final : public QWidget {
 public:
  explicit Form1(WordListChoice wordList = {});

  // Start-up: fills the window from the clipboard, shapes and centres it,
  // shows it, and then builds the vocabulary.
  void Form_Load();
  // Runs the command of button `index` (0 to 8); any other index does
  // nothing.
  void Command1_Click(int index);

  bool MoreShown() const { return m_moreShown; }
  const Vocabulary& Words() const { return m_vocabulary; }
  platform::Label* Label1() const { return m_label1; }
  platform::Label* Label2() const { return m_label2; }
  platform::TextBox* Text1() const { return m_text1; }
  platform::TextBox* Text2() const { return m_text2; }
  platform::TextBox* Text3() const { return m_text3; }
  platform::Button* Command1(int index) const { return m_command1.at(static_cast<size_t>(index)); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void StartWords();
  void SquishText();
  void RunCommand(int index);
  void ToggleMore();

  platform::Label* m_label1;
  platform::Label* m_label2;
  platform::TextBox* m_text1;
  platform::TextBox* m_text2;
  platform::TextBox* m_text3;
  std::array<platform::Button*, 9> m_command1{};
  bool m_moreShown = false;
  Vocabulary m_vocabulary = Vocabulary::Empty();
  WordListChoice m_wordListChoice;
};

}  // namespace tf::ui
