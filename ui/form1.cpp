#include "ui/form1.h"

#include <QCloseEvent>
#include <QIcon>
#include <cmath>
#include <new>
#include <type_traits>

#include "squish/wordlist.h"
#include "text/text.h"

namespace tf::ui {
namespace {

namespace pf = tf::platform;

struct ButtonLayout {
  const char* caption;
  double left, top, width, height;
};

// Button n of Command1, in twips of the client area.
constexpr std::array<ButtonLayout, 9> kButtons = {{
    {"Copy to Clipboard", 120, 3120, 1932, 492},
    {"Refresh from Clipboard", 2160, 3120, 1932, 492},
    {"Just strip Line Breaks", 4200, 3120, 1932, 492},
    {"Quit", 6240, 3120, 1932, 492},
    {"Copy Authors to Clipboard", 6480, 4080, 1692, 612},
    {"Copy Title to Clipboard", 6480, 5280, 1692, 612},
    {"More", 7440, 3720, 732, 252},
    {"Squish", 6480, 3720, 732, 252},
    {"2", 5880, 3480, 372, 252},
}};

constexpr double kTextPoints = 12;

}  // namespace

Form1::Form1(WordListChoice wordList) : m_wordListChoice(std::move(wordList)) {
  setWindowTitle(QStringLiteral("Quorvel's Title Fixer Program"));
  QIcon icon;
  icon.addFile(QStringLiteral(":/titlefixer-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/titlefixer-32.png"), QSize(32, 32));
  setWindowIcon(icon);
  pf::SetWindowClientSize(this, 8256, 6360);

  // Created in tab order, so the focus chain follows it too.
  const auto place = [this](auto* control, std::u16string text, double left, double top,
                            double width, double height) {
    if constexpr (std::is_same_v<decltype(control), pf::Label*>) {
      control->SetCaption(std::move(text));
    } else {
      control->SetText(std::move(text));
    }
    pf::SetGeometry(control, left, top, width, height);
    return control;
  };
  const auto makeButton = [this](int i) {
    const auto& b = kButtons[static_cast<size_t>(i)];
    auto* button = new pf::Button(QString::fromLatin1(b.caption), this);
    pf::SetGeometry(button, b.left, b.top, b.width, b.height);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    m_command1[static_cast<size_t>(i)] = button;
  };
  m_label1 = place(new pf::Label(this), u"Label1", 120, 120, 7812, 372);
  m_label2 = place(new pf::Label(this), u"Label2", 120, 600, 8052, 732);
  m_text1 = place(new pf::TextBox(this), u"Text1", 120, 1440, 8052, 1572);
  for (int i = 0; i <= 3; ++i) makeButton(i);
  m_text2 = place(new pf::TextBox(this), u"Text2", 120, 3720, 6252, 1212);
  m_text3 = place(new pf::TextBox(this), u"Text3", 120, 5040, 6252, 1212);
  for (int i = 4; i <= 8; ++i) makeButton(i);

  QWidget* previous = m_text1;
  const auto chain = [&previous](QWidget* next) {
    QWidget::setTabOrder(previous, next);
    previous = next;
  };
  for (int i = 0; i <= 3; ++i) chain(Command1(i));
  chain(m_text2);
  chain(m_text3);
  for (int i = 4; i <= 8; ++i) chain(Command1(i));
}

void Form1::Form_Load() {
  m_label1->SetCaption(pf::ClipboardText());
  m_label2->SetCaption(CleanTitle(m_label1->Caption()));
  m_text1->SetText(m_label2->Caption());
  for (QWidget* w : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_label2),
                     static_cast<QWidget*>(m_text1), static_cast<QWidget*>(m_text2),
                     static_cast<QWidget*>(m_text3)})
    pf::SetFontSize(w, kTextPoints);
  m_text2->hide();
  m_text3->hide();
  Command1(4)->hide();
  Command1(5)->hide();
  m_moreShown = false;
  pf::SetWindowHeight(this, pf::Height(Command1(6)) * 3 + pf::Top(Command1(6)));
  // Halves first, then the absolute difference: a window larger than the
  // screen sits at half the excess instead of off the edge.
  pf::SetWindowLeft(this, std::abs(pf::ScreenWidth() / 2 - pf::WindowWidth(this) / 2));
  pf::SetWindowTop(this, std::abs(pf::ScreenHeight() / 2 - pf::WindowHeight(this) / 2));
  pf::SetHeight(m_label1, pf::Height(m_label2) + pf::Top(m_label2) - pf::Top(m_label1));
  m_label2->hide();
  show();
  try {
    // Drawn before the slow step; a click queued here runs now, with the
    // vocabulary still empty.
    pf::ProcessPendingEvents();
  } catch (const pf::EndRequested&) {
    return;
  }
  StartWords();
}

void Form1::StartWords() {
  QString warning;
  {
    pf::BusyCursor busy;
    std::u16string listText;
    std::optional<std::string> path =
        m_wordListChoice.useFile ? (m_wordListChoice.path ? m_wordListChoice.path : DefaultWordListPath())
                                 : std::nullopt;
    if (path) {
      const WordListFile file = ReadWordListFile(*path);
      if (file.status == WordListFile::Status::Loaded) {
        listText = file.text;
      } else {
        warning = QStringLiteral("The word list %1 cannot be read: %2.\nThe built-in words are used.")
                      .arg(QString::fromStdString(file.path), QString::fromStdString(file.reason));
      }
    }
    try {
      Vocabulary words = Vocabulary::StartWords(listText);
      words.Index();  // built now, so that the first squish is instant
      m_vocabulary = std::move(words);
    } catch (const std::bad_alloc&) {
      m_vocabulary = Vocabulary();
      warning = QStringLiteral("The word list is too large for this computer's memory.\n"
                               "The built-in words are used.");
    }
  }
  if (!warning.isEmpty()) pf::ShowWarning(this, warning);
}

void Form1::SquishText() {
  pf::BusyCursor busy;
  pf::ProcessPendingEvents();
  m_text1->SetText(tf::SquishText(m_text1->Text(), m_vocabulary));
  pf::ProcessPendingEvents();
}

void Form1::Command1_Click(int index) {
  try {
    pf::ProcessPendingEvents();
    RunCommand(index);
  } catch (const pf::EndRequested&) {
    // Quit was pressed while this command waited: stop here.
  } catch (const std::exception& e) {
    pf::ReportError(this, QStringLiteral("The command could not be completed: %1\n"
                                         "Your texts are unchanged from where it stopped.")
                              .arg(QString::fromLocal8Bit(e.what())));
  }
}

void Form1::RunCommand(int index) {
  switch (index) {
    case 0:
      pf::SetClipboardText(m_text1->Text());
      break;
    case 4:
      pf::SetClipboardText(m_text2->Text());
      break;
    case 5:
      pf::SetClipboardText(m_text3->Text());
      break;
    case 1: {
      m_label1->SetCaption(pf::ClipboardText());
      m_label2->SetCaption(CleanTitle(m_label1->Caption()));
      m_text1->SetText(m_label2->Caption());
      AuthorsTitle parts = GetAuthorsTitle(m_label2->Caption());
      m_text2->SetText(std::move(parts.Authors));
      m_text3->SetText(std::move(parts.Title));
      break;
    }
    case 2:
    case 8:
      m_label1->SetCaption(pf::ClipboardText());
      m_label2->SetCaption(index == 2 ? JustLineBreaks(m_label1->Caption())
                                      : JustLineBreaks2(m_label1->Caption()));
      m_text1->SetText(m_label2->Caption());
      pf::ProcessPendingEvents();  // the joined text is drawn before the squish
      SquishText();
      break;
    case 7:
      SquishText();
      break;
    case 3:
      pf::End();
      break;
    case 6:
      ToggleMore();
      break;
    default:
      break;
  }
}

void Form1::ToggleMore() {
  m_moreShown = !m_moreShown;
  QWidget* lower[] = {m_text2, m_text3, Command1(4), Command1(5)};
  for (QWidget* w : lower) w->setVisible(m_moreShown);
  pf::Button* more = Command1(6);
  if (m_moreShown) {
    pf::SetWindowHeight(this, pf::Height(m_text3) + pf::Top(m_text3) + pf::Height(more) +
                                  pf::Height(more));
    more->SetCaption(QStringLiteral("Less"));
  } else {
    pf::SetWindowHeight(this, pf::Height(more) * 3 + pf::Top(more));
    more->SetCaption(QStringLiteral("More"));
  }
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing ends the program like Quit, also when a command is waiting in
  // its event processing.
  event->accept();
  pf::End();
}

}  // namespace tf::ui
