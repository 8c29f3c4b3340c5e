#include "ui/main_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <array>
#include <cmath>
#include <new>

namespace tf::ui {
namespace {

namespace pf = tf::platform;

// The form as designed, in twips of the client area.
struct Place {
  double left, top, width, height;
};
constexpr double kClientWidth = 8256, kClientHeight = 6360;
constexpr Place kRawText = {120, 120, 7812, 1212};
constexpr Place kWorkingText = {120, 1440, 8052, 1572};
constexpr Place kAuthorsText = {120, 3720, 6252, 1212};
constexpr Place kTitleText = {120, 5040, 6252, 1212};

struct ButtonLayout {
  Command command;
  const char* caption;
  Place place;
};
// In the order of the Command enum.
constexpr std::array<ButtonLayout, 9> kButtons = {{
    {Command::Copy, "Copy to Clipboard", {120, 3120, 1932, 492}},
    {Command::Refresh, "Refresh from Clipboard", {2160, 3120, 1932, 492}},
    {Command::JoinLines, "Just strip Line Breaks", {4200, 3120, 1932, 492}},
    {Command::Quit, "Quit", {6240, 3120, 1932, 492}},
    {Command::CopyAuthors, "Copy Authors to Clipboard", {6480, 4080, 1692, 612}},
    {Command::CopyTitle, "Copy Title to Clipboard", {6480, 5280, 1692, 612}},
    {Command::MoreLess, "More", {7440, 3720, 732, 252}},
    {Command::Squish, "Squish", {6480, 3720, 732, 252}},
    {Command::JoinParagraphs, "2", {5880, 3480, 372, 252}},
}};

constexpr double kTextPoints = 12;

size_t IndexOf(Command c) { return static_cast<size_t>(c); }

template <typename Control>
Control* Placed(Control* control, const Place& p) {
  pf::SetGeometry(control, p.left, p.top, p.width, p.height);
  return control;
}

}  // namespace

MainWindow::MainWindow(engine::WordListChoice wordList) : m_wordListChoice(std::move(wordList)) {
  setWindowTitle(QStringLiteral("Quorvel's Title Fixer Program"));
  QIcon icon;
  icon.addFile(QStringLiteral(":/titlefixer-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/titlefixer-32.png"), QSize(32, 32));
  setWindowIcon(icon);
  pf::SetWindowClientSize(this, kClientWidth, kClientHeight);

  // Made in tab order, so the focus chain follows it.
  const auto makeButton = [this](const ButtonLayout& b) {
    auto* button = Placed(new pf::Button(QString::fromLatin1(b.caption), this), b.place);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, c = b.command] { Request(c); });
    m_buttons[IndexOf(b.command)] = button;
  };
  m_buttons.resize(kButtons.size());
  m_rawText = Placed(new pf::Label(this), kRawText);
  m_workingText = Placed(new pf::TextBox(this), kWorkingText);
  for (Command c : {Command::Copy, Command::Refresh, Command::JoinLines, Command::Quit})
    makeButton(kButtons[IndexOf(c)]);
  m_authorsText = Placed(new pf::TextBox(this), kAuthorsText);
  m_titleText = Placed(new pf::TextBox(this), kTitleText);
  m_authorsText->SetText(u"Text2");
  m_titleText->SetText(u"Text3");
  for (Command c : {Command::CopyAuthors, Command::CopyTitle, Command::MoreLess, Command::Squish,
                    Command::JoinParagraphs})
    makeButton(kButtons[IndexOf(c)]);

  QWidget* previous = m_workingText;
  const auto chain = [&previous](QWidget* next) {
    QWidget::setTabOrder(previous, next);
    previous = next;
  };
  for (Command c : {Command::Copy, Command::Refresh, Command::JoinLines, Command::Quit})
    chain(ButtonFor(c));
  chain(m_authorsText);
  chain(m_titleText);
  for (Command c : {Command::CopyAuthors, Command::CopyTitle, Command::MoreLess, Command::Squish,
                    Command::JoinParagraphs})
    chain(ButtonFor(c));
}

pf::Button* MainWindow::ButtonFor(Command command) const { return m_buttons[IndexOf(command)]; }

void MainWindow::StartUp() {
  m_running = true;
  m_session.StartUp(pf::ClipboardText());
  ShowSession();
  if (m_session.HasSplit()) ShowParts();
  for (QWidget* w : std::initializer_list<QWidget*>{m_rawText, m_workingText, m_authorsText, m_titleText})
    pf::SetFontSize(w, kTextPoints);
  for (QWidget* w : std::initializer_list<QWidget*>{m_authorsText, m_titleText, ButtonFor(Command::CopyAuthors),
                                                    ButtonFor(Command::CopyTitle)})
    w->hide();
  m_moreShown = false;
  const pf::Button* more = ButtonFor(Command::MoreLess);
  pf::SetWindowHeight(this, pf::Height(more) * 3 + pf::Top(more));
  // Halves first, then the absolute difference: a window larger than the
  // screen sits at half the excess instead of off the edge.
  pf::SetWindowLeft(this, std::abs(pf::ScreenWidth() / 2 - pf::WindowWidth(this) / 2));
  pf::SetWindowTop(this, std::abs(pf::ScreenHeight() / 2 - pf::WindowHeight(this) / 2));
  show();
  try {
    Pause();  // drawn before the slow step
    LoadWords();
  } catch (const Stop&) {
    m_running = false;
    return;
  }
  m_running = false;
  RunQueue();
}

void MainWindow::LoadWords() {
  std::vector<std::string> warnings;
  {
    pf::BusyCursor busy;
    try {
      engine::LoadedWords loaded = engine::LoadWords(m_wordListChoice);
      loaded.words.vocabulary.Index();  // built now, so that the first squish is instant
      m_words = std::move(loaded.words);
      warnings = std::move(loaded.warnings);
    } catch (const std::bad_alloc&) {
      m_words.vocabulary = Vocabulary();
      warnings.push_back("the word list is too large for this computer's memory; the built-in words are used");
    }
  }
  for (const auto& w : warnings) pf::ShowWarning(this, QString::fromStdString(w));
}

void MainWindow::Request(Command command) {
  if (pf::Ending()) return;
  if (command == Command::Quit) {
    pf::End();  // a running command stops at its next pause
    return;
  }
  m_queue.push_back(command);
  if (!m_running) RunQueue();
}

void MainWindow::RunQueue() {
  m_running = true;
  while (!m_queue.empty() && !pf::Ending()) {
    const Command command = m_queue.front();
    m_queue.pop_front();
    try {
      Run(command);
    } catch (const Stop&) {
      break;
    } catch (const std::bad_alloc&) {
      pf::ReportError(this, QStringLiteral("There is not enough memory to complete the command.\n"
                                           "Your texts are unchanged from where it stopped."));
    } catch (const std::exception& e) {
      pf::ReportError(this, QStringLiteral("The command could not be completed: %1\n"
                                           "Your texts are unchanged from where it stopped.")
                                .arg(QString::fromLocal8Bit(e.what())));
    }
  }
  m_queue.clear();
  m_running = false;
}

void MainWindow::Pause() {
  pf::ProcessPendingEvents();
  if (pf::Ending()) throw Stop{};
}

void MainWindow::Run(Command command) {
  switch (command) {
    case Command::Copy:
      pf::SetClipboardText(m_workingText->Text());
      break;
    case Command::CopyAuthors:
      pf::SetClipboardText(m_authorsText->Text());
      break;
    case Command::CopyTitle:
      pf::SetClipboardText(m_titleText->Text());
      break;
    case Command::Refresh:
      m_session.Refresh(pf::ClipboardText());
      ShowSession();
      ShowParts();
      break;
    case Command::JoinLines:
    case Command::JoinParagraphs:
      m_session.JoinLines(pf::ClipboardText(), command == Command::JoinParagraphs);
      ShowSession();
      Pause();  // the joined text is drawn before the repair
      Squish();
      break;
    case Command::Squish:
      Squish();
      break;
    case Command::MoreLess:
      ToggleMore();
      break;
    case Command::Quit:
      pf::End();
      break;
  }
}

void MainWindow::Squish() {
  pf::BusyCursor busy;
  Pause();
  m_session.SetWorking(m_workingText->Text());  // with the user's edits
  m_session.Squish();
  m_workingText->SetText(m_session.SharedWorking());
  Pause();
}

void MainWindow::ShowSession() {
  m_rawText->SetCaption(m_session.SharedRaw());
  m_workingText->SetText(m_session.SharedWorking());
}

void MainWindow::ShowParts() {
  m_authorsText->SetText(m_session.SharedAuthors());
  m_titleText->SetText(m_session.SharedTitle());
}

void MainWindow::ToggleMore() {
  m_moreShown = !m_moreShown;
  for (QWidget* w : std::initializer_list<QWidget*>{m_authorsText, m_titleText, ButtonFor(Command::CopyAuthors),
                                                    ButtonFor(Command::CopyTitle)})
    w->setVisible(m_moreShown);
  pf::Button* more = ButtonFor(Command::MoreLess);
  if (m_moreShown) {
    pf::SetWindowHeight(this, pf::Height(m_titleText) + pf::Top(m_titleText) + pf::Height(more) +
                                  pf::Height(more));
    more->SetCaption(QStringLiteral("Less"));
  } else {
    pf::SetWindowHeight(this, pf::Height(more) * 3 + pf::Top(more));
    more->SetCaption(QStringLiteral("More"));
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing ends the program like Quit, also while a command is running.
  event->accept();
  pf::End();
}

}  // namespace tf::ui
