#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <array>
#include <cmath>
#include <new>

#include "platform/accessibility.h"
#include "ui/layout.h"
#include "ui/references_dialog.h"

// The window's resources (icons, handbook) live in this static library,
// whose resources Qt finds only once they are registered by name.
static void InitResources() {
  Q_INIT_RESOURCE(icon);
  Q_INIT_RESOURCE(handbook);
}

namespace tf::ui {
namespace {

namespace pf = tf::platform;

// The window's client area as first shown, before the start-up sets its
// height: the form's design width, the menu bar's height more added then.
constexpr double kClientWidth = 8256, kClientHeight = 6360;

// The captions are the program's own, as it always showed them (the "2"
// included); the mnemonic letter, the name a screen reader says and the
// tooltip come with them.
struct ButtonLayout {
  Command command;
  const char* caption;
  Control control;          // where it stands
  char mnemonic;            // Alt+this presses the button
  const char* name;         // for screen readers, when the caption says too little
  const char* description;  // the tooltip, and the accessible description
};
// In the order of the Command enum.
constexpr std::array<ButtonLayout, 9> kButtons = {{
    {Command::Copy, "Copy to Clipboard", Control::Copy, 'C', nullptr,
     "Put the working text on the clipboard, with your edits"},
    {Command::Refresh, "Refresh from Clipboard", Control::Refresh, 'R', nullptr,
     "Read the clipboard again, title-case it and split it into authors and title (F5)"},
    {Command::JoinLines, "Just strip Line Breaks", Control::JoinLines, 'J', nullptr,
     "Read the clipboard again and join its lines into one, repairing letter-spaced words"},
    {Command::Quit, "Quit", Control::Quit, 'Q', nullptr, "End Title Fixer (Ctrl+Q)"},
    {Command::CopyAuthors, "Copy Authors to Clipboard", Control::CopyAuthors, 'A', nullptr,
     "Put the authors on the clipboard"},
    {Command::CopyTitle, "Copy Title to Clipboard", Control::CopyTitle, 'T', nullptr,
     "Put the title on the clipboard"},
    {Command::MoreLess, "More", Control::MoreLess, 'M', nullptr, "Show or hide the authors and the title"},
    {Command::Squish, "Squish", Control::Squish, 'S', nullptr,
     "Join letter-spaced words of the vocabulary in the working text"},
    {Command::JoinParagraphs, "2", Control::JoinParagraphs, '2', "Join lines, keeping paragraphs",
     "Read the clipboard again and join its lines, keeping blank lines as paragraph breaks"},
}};

// The text boxes: what a screen reader calls them, and what they hold.
struct BoxName {
  const char* name;
  const char* description;
};
constexpr BoxName kRawName = {"Clipboard text", "The clipboard's text as it came"};
constexpr BoxName kWorkingName = {"Working text", "The text to copy, cleaned; you may edit it"};
constexpr BoxName kAuthorsName = {"Authors", "The reference's authors"};
constexpr BoxName kTitleName = {"Title", "The reference's title"};

template <typename Widget>
void Name(Widget* w, const BoxName& n) {
  w->setAccessibleName(QString::fromLatin1(n.name));
  w->setAccessibleDescription(QString::fromLatin1(n.description));
}

constexpr double kTextPoints = 12;

// The shortcuts offered to the desktop: the id it gives back when one is
// pressed, what it shows the user, and what runs on the clipboard.
struct GlobalShortcut {
  const char* id;
  const char* description;
  Command command;
};
constexpr std::array<GlobalShortcut, 3> kGlobalShortcuts = {{
    {"join", "Join lines on the clipboard", Command::ClipboardJoin},
    {"clean", "Title-case the clipboard", Command::ClipboardClean},
    {"bibtex", "Copy as BibTeX", Command::ClipboardBibTeX},
}};

size_t IndexOf(Command c) { return static_cast<size_t>(c); }

// The menus and their commands, in order; an empty text is a separator.
struct MenuItem {
  Command command;
  const char* text;  // with its mnemonic; nullptr ends the menu
  QKeySequence::StandardKey key = QKeySequence::UnknownKey;
};
struct MenuLayout {
  const char* title;
  std::array<MenuItem, 6> items;
};
constexpr std::array<MenuLayout, 4> kMenus = {{
    {"&File", {{{Command::Quit, "&Quit", QKeySequence::Quit}, {Command::Quit, nullptr}}}},
    {"&Edit",
     {{{Command::CopyBibTeX, "Copy as &BibTeX"},
       {Command::CopyRis, "Copy as &RIS"},
       {Command::CopyCslJson, "Copy as &CSL-JSON"},
       {Command::References, ""},
       {Command::References, "R&eferences\u2026"},
       {Command::References, nullptr}}}},
    {"&Options",
     {{{Command::ToggleSmart, "&Smart repairs"},
       {Command::KeyboardShortcuts, "&Keyboard shortcuts\u2026"},
       {Command::KeyboardShortcuts, nullptr}}}},
    {"&Help",
     {{{Command::Handbook, "&Handbook", QKeySequence::HelpContents},
       {Command::About, "&About Title Fixer"},
       {Command::About, nullptr}}}},
}};

}  // namespace

MainWindow::MainWindow(WindowOptions options)
    : m_form(new QWidget(this)), m_wordListChoice(std::move(options.wordList)) {
  InitResources();
  pf::AnnounceCheckableMenuItems();
  const LoadedPreferences preferences = LoadPreferences();
  m_preferenceWarnings = preferences.warnings;
  m_bindShortcutsAtStart = preferences.values.shortcuts.value_or(false);
  m_session.SetMode(engine::ChosenMode(options.mode, preferences.values));
  setWindowTitle(QStringLiteral("Quorvel's Title Fixer Program"));  // the caption it has always had, on purpose
  QIcon icon;
  icon.addFile(QStringLiteral(":/titlefixer-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/titlefixer-32.png"), QSize(32, 32));
  setWindowIcon(icon);

  // One action for every command: the buttons, the menus, the keys and the
  // desktop's shortcuts all trigger it, and it asks for the command in its
  // turn, like a click.
  for (size_t i = 0; i < m_actions.size(); ++i) {
    m_actions[i] = new QAction(this);
    connect(m_actions[i], &QAction::triggered, this, [this, i] { Request(static_cast<Command>(i)); });
  }
  // The menus: File, Edit, Options, Help, as desktops order them. "Options"
  // rather than "Settings": it holds two switches of this program, and it
  // is what the handbook has always called it.
  for (const MenuLayout& m : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.title));
    for (const MenuItem& item : m.items) {
      if (item.text == nullptr) break;
      if (*item.text == '\0') {
        menu->addSeparator();
        continue;
      }
      QAction* action = ActionFor(item.command);
      action->setText(QString::fromUtf8(item.text));
      if (item.key != QKeySequence::UnknownKey) action->setShortcut(item.key);
      menu->addAction(action);
    }
  }
  ActionFor(Command::Quit)->setShortcutContext(Qt::ApplicationShortcut);
  ActionFor(Command::ToggleSmart)->setCheckable(true);
  ActionFor(Command::ToggleSmart)->setChecked(m_session.GetMode() == engine::Mode::Smart);
  // F5 reads the clipboard again, as it refreshes in every program.
  ActionFor(Command::Refresh)->setShortcut(QKeySequence::Refresh);
  ActionFor(Command::Refresh)->setShortcutContext(Qt::WindowShortcut);
  addAction(ActionFor(Command::Refresh));

  // The status line under the form: what the last command did, and
  // whether smart repairs are on.
  m_said = new QLabel(this);
  // Read by its text, so that a screen reader says what happened.
  m_said->setAccessibleDescription(QStringLiteral("What the last command did"));
  m_mode = new QLabel(this);
  m_mode->setAccessibleDescription(QStringLiteral("Whether smart repairs are on"));
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(m_said, 1);
  statusBar()->addPermanentWidget(m_mode);
  ShowMode();

  // The form below the menu bar, as designed.
  setCentralWidget(m_form);
  pf::SetWindowClientSize(this, kClientWidth, kClientHeight + BarsHeight());  // until the start-up sizes it

  // Made in tab order, so the focus chain follows it.
  const auto makeButton = [this](const ButtonLayout& b) {
    auto* button = new pf::Button(QString::fromLatin1(b.caption), m_form);
    button->setAutoDefault(false);
    button->SetMnemonic(QLatin1Char(b.mnemonic));
    if (b.name) button->SetAccessibleName(QString::fromLatin1(b.name));
    button->setToolTip(QString::fromLatin1(b.description));
    button->setAccessibleDescription(QString::fromLatin1(b.description));
    connect(button, &QPushButton::clicked, ActionFor(b.command), &QAction::trigger);
    m_buttons[IndexOf(b.command)] = button;
    m_controls[static_cast<size_t>(b.control)] = button;
  };
  m_buttons.resize(kButtons.size());
  m_rawArea = new pf::ScrollingLabel(m_form);
  m_rawText = m_rawArea->label();
  m_workingText = new pf::TextBox(m_form);
  for (Command c : {Command::Copy, Command::Refresh, Command::JoinLines, Command::Quit})
    makeButton(kButtons[IndexOf(c)]);
  m_authorsText = new pf::TextBox(m_form);
  m_titleText = new pf::TextBox(m_form);
  for (Command c : {Command::CopyAuthors, Command::CopyTitle, Command::MoreLess, Command::Squish,
                    Command::JoinParagraphs})
    makeButton(kButtons[IndexOf(c)]);
  m_controls[static_cast<size_t>(Control::RawText)] = m_rawArea;
  m_controls[static_cast<size_t>(Control::WorkingText)] = m_workingText;
  m_controls[static_cast<size_t>(Control::AuthorsText)] = m_authorsText;
  m_controls[static_cast<size_t>(Control::TitleText)] = m_titleText;
  Name(m_rawText, kRawName);
  Name(m_rawArea, kRawName);
  Name(m_workingText, kWorkingName);
  Name(m_authorsText, kAuthorsName);
  Name(m_titleText, kTitleName);
  for (QWidget* w : std::initializer_list<QWidget*>{m_rawText, m_workingText, m_authorsText, m_titleText})
    pf::SetFontSize(w, kTextPoints);

  // The controls' tab order as they stand on the screen, row by row, left
  // to right: the order of the Control enum.
  for (int i = 1; i < kControls; ++i)
    QWidget::setTabOrder(m_controls[i - 1], m_controls[i]);

  m_form->installEventFilter(this);
  m_scale = NeededScale();
  Arrange(SmallestForm(m_scale, m_moreShown));
}

pf::Button* MainWindow::ButtonFor(Command command) const { return m_buttons.at(IndexOf(command)); }

QAction* MainWindow::ActionFor(Command command) const { return m_actions.at(IndexOf(command)); }

double MainWindow::BarsHeight() const {
  return pf::PixelsToTwipsY(menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void MainWindow::Say(const QString& what) { m_said->setText(what); }

int MainWindow::PixelsX(double twips) { return static_cast<int>(std::lround(pf::TwipsToPixelsX(twips))); }
int MainWindow::PixelsY(double twips) { return static_cast<int>(std::lround(pf::TwipsToPixelsY(twips))); }

double MainWindow::NeededScale() const {
  constexpr double kStep = 0.05, kLargest = 4;
  for (double scale = 1; scale < kLargest; scale += kStep) {
    bool fits = true;
    for (const ButtonLayout& b : kButtons) {
      const Rect r = Place(b.control, scale, SmallestForm(scale, true), true);
      fits = fits && ButtonFor(b.command)->CaptionFits(QSize(PixelsX(r.width), PixelsY(r.height)));
    }
    if (fits) return scale;
  }
  return kLargest;
}

void MainWindow::FitWindow(FormSize extra) {
  const FormSize smallest = SmallestForm(m_scale, m_moreShown);
  const FormSize least = LeastRoom(m_scale, m_moreShown);
  m_form->setMinimumSize(PixelsX(least.width), PixelsY(least.height));
  layout()->activate();  // the window's own minimum follows now, before it is resized
  const FormSize size = {smallest.width + extra.width, smallest.height + extra.height};
  resize(PixelsX(size.width), height());
  // The client area holds the whole form and its bars, whatever frame the
  // desktop draws around it (none until the window is shown), so that the
  // heights are the same every time.
  const double frame = pf::PixelsToTwipsY(frameGeometry().height() - height());
  pf::SetWindowHeight(this, size.height + BarsHeight() + frame);
  Arrange(size);
}

void MainWindow::Arrange(FormSize size) {
  for (int i = 0; i < kControls; ++i) {
    const Rect r = Place(static_cast<Control>(i), m_scale, size, m_moreShown);
    pf::SetGeometry(m_controls[i], r.left, r.top, r.width, r.height);
  }
}

// The room the user gave the window beyond the smallest form, measured on
// the client area as FitWindow() sizes it. Within a pixel of the smallest
// is the smallest (pixels round).
FormSize MainWindow::ExtraRoom() const {
  const FormSize smallest = SmallestForm(m_scale, m_moreShown);
  const int wider = width() - PixelsX(smallest.width);
  const int taller = height() - PixelsY(smallest.height + BarsHeight());
  return {wider > 1 ? pf::PixelsToTwipsX(wider) : 0, taller > 1 ? pf::PixelsToTwipsY(taller) : 0};
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The window resized, by the user or to fit: the controls follow.
  if (watched == m_form && event->type() == QEvent::Resize && m_form->isVisible()) {
    const FormSize smallest = SmallestForm(m_scale, m_moreShown);
    const FormSize extra = ExtraRoom();
    Arrange({smallest.width + extra.width, smallest.height + extra.height});
  }
  return QMainWindow::eventFilter(watched, event);
}

// Another font (the desktop's, or the user's choice): the captions are
// measured again once every control has taken it.
void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange && !m_rescaleQueued) {
    m_rescaleQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_rescaleQueued = false;
          const FormSize extra = ExtraRoom();
          m_scale = NeededScale();
          FitWindow(extra);
        },
        Qt::QueuedConnection);
  }
  QMainWindow::changeEvent(event);
}

void MainWindow::StartUp() {
  m_starting = true;
  // Smart mode's title case needs the words before the first text shows.
  // Memory running out here is reported like a command's failure, and the
  // window opens all the same.
  Guarded([this] {
    if (m_session.GetMode() == engine::Mode::Smart) AdoptWords(LoadWords(m_wordListChoice, m_session.GetMode()));
    m_session.StartUp(pf::ClipboardText());
  });
  ShowSession(pf::TextBox::Prepare(m_session.SharedWorking()));
  if (m_session.HasSplit()) ShowParts(PrepareParts(m_session));
  SayRead(m_session.GetMode() == engine::Mode::Classic && engine::SmartWouldRepair(m_session.Raw()));
  for (QWidget* w : std::initializer_list<QWidget*>{m_authorsText, m_titleText, ButtonFor(Command::CopyAuthors),
                                                    ButtonFor(Command::CopyTitle)})
    w->hide();
  m_moreShown = false;
  FitWindow({0, 0});
  // Halves first, then the absolute difference: a window larger than the
  // screen sits at half the excess instead of off the edge.
  pf::SetWindowLeft(this, std::abs(pf::ScreenWidth() / 2 - pf::WindowWidth(this) / 2));
  pf::SetWindowTop(this, std::abs(pf::ScreenHeight() / 2 - pf::WindowHeight(this) / 2));
  show();
  m_workingText->setFocus();  // the text to work on, whatever the desktop would pick
  // Set by the end-to-end tests, which click at the form's places: where
  // the form starts below the menu bar, in pixels.
  if (const QByteArray file = qgetenv("TITLEFIXER_LAYOUT_FILE"); !file.isEmpty()) {
    QFile out(QString::fromLocal8Bit(file));
    if (out.open(QIODevice::WriteOnly)) out.write(QByteArray::number(m_form->geometry().top()) + '\n');
  }
  // The window is up; the words load behind it, and requests made
  // meanwhile run once they are in.
  const auto afterWords = [this] {
    m_starting = false;
    for (const auto& w : m_preferenceWarnings) pf::ShowWarning(this, QString::fromStdString(w));
    // Shortcuts bound once are bound again on every start: the desktop
    // keeps their keys but sends presses only to a session of this run.
    if (m_bindShortcutsAtStart) BindShortcuts(true);
  };
  if (m_wordsLoaded) {
    afterWords();
    RunQueue();
    return;
  }
  InBackground([this, choice = m_wordListChoice, mode = m_session.GetMode(), afterWords]() -> pf::Worker::Step {
    LoadedWords loaded = LoadWords(choice, mode);
    return [afterWords, loaded = std::make_shared<LoadedWords>(std::move(loaded)), this] {
      AdoptWords(std::move(*loaded));
      afterWords();
    };
  });
}

MainWindow::LoadedWords MainWindow::LoadWords(const engine::WordListChoice& choice, engine::Mode mode) {
  try {
    // Classic mode's index built now, so that the first squish is instant.
    return engine::LoadWords(choice, mode == engine::Mode::Classic);
  } catch (const std::bad_alloc&) {
    LoadedWords loaded;
    loaded.words = engine::Words::BuiltIn();
    loaded.warnings.push_back("the word list is too large for this computer's memory; the built-in words are used");
    return loaded;
  }
}

// No work runs while the words are replaced: loading them is itself the
// running work, or nothing runs yet.
void MainWindow::AdoptWords(LoadedWords loaded) {
  *m_words = std::move(loaded.words);
  m_wordsLoaded = true;
  for (const auto& w : loaded.warnings) pf::ShowWarning(this, QString::fromStdString(w));
}

void MainWindow::Request(Command command) {
  if (pf::Ending()) return;
  if (command == Command::Quit) {
    pf::End();  // the running work's outcome is dropped
    m_queue.clear();
    return;
  }
  m_queue.push_back(command);
  RunQueue();
}

bool MainWindow::Idle() const {
  return !m_worker.Busy() && !m_dispatching && (pf::Ending() || (!m_starting && m_queue.empty()));
}

// One command at a time, in the order asked: a command that starts work
// off the GUI thread holds the queue until its outcome is shown. Not
// re-entered from a message box's own event loop.
void MainWindow::RunQueue() {
  if (m_starting || m_dispatching) return;
  m_dispatching = true;
  while (!m_queue.empty() && !pf::Ending() && !m_worker.Busy()) {
    const Command command = m_queue.front();
    m_queue.pop_front();
    Guarded([this, command] { Run(command); });
  }
  if (pf::Ending()) m_queue.clear();
  m_dispatching = false;
}

void MainWindow::InBackground(pf::Worker::Work work) {
  m_busyCursor.emplace();
  // The work keeps the words alive, should the window close under it.
  m_worker.Run([words = m_words, work = std::move(work)] { return work(); });
}

// The background work is done: its outcome shown (unless the program is
// ending), then the next command.
void MainWindow::Finish(const pf::Worker::Step& step) {
  m_busyCursor.reset();
  if (pf::Ending()) return;
  m_dispatching = true;
  Guarded(step);
  m_dispatching = false;
  RunQueue();
}

template <typename F>
void MainWindow::Guarded(F&& f) {
  try {
    f();
  } catch (...) {
    const engine::Failure failure = engine::FailureOf(std::current_exception());
    QString said = QString::fromStdString(failure.message);
    if (!said.isEmpty()) said[0] = said[0].toUpper();
    pf::ReportError(this, failure.kind == engine::Failure::Kind::OutOfMemory
                              ? QStringLiteral("%1: the command could not be completed.\n"
                                               "Your texts are unchanged from where it stopped.").arg(said)
                              : QStringLiteral("The command could not be completed: %1.\n"
                                               "Your texts are unchanged from where it stopped.").arg(said));
  }
}

void MainWindow::Run(Command command) {
  // What each command does, in the order of the Command enum.
  using Handler = void (*)(MainWindow&);
  static constexpr std::array<std::pair<Command, Handler>, kCommandCount> kHandlers = {{
      {Command::Copy, [](MainWindow& w) { w.CopyText(w.m_workingText->Text()); }},
      {Command::Refresh, [](MainWindow& w) { w.Refresh(); }},
      {Command::JoinLines, [](MainWindow& w) { w.JoinFromClipboard(false); }},
      {Command::Quit, [](MainWindow&) { pf::End(); }},
      {Command::CopyAuthors, [](MainWindow& w) { w.CopyText(w.m_authorsText->Text()); }},
      {Command::CopyTitle, [](MainWindow& w) { w.CopyText(w.m_titleText->Text()); }},
      {Command::MoreLess, [](MainWindow& w) { w.ToggleMore(); }},
      {Command::Squish, [](MainWindow& w) { w.Squish(nullptr); }},
      {Command::JoinParagraphs, [](MainWindow& w) { w.JoinFromClipboard(true); }},
      {Command::CopyBibTeX, [](MainWindow& w) { w.CopyReferences(reference::Format::BibTeX); }},
      {Command::CopyRis, [](MainWindow& w) { w.CopyReferences(reference::Format::Ris); }},
      {Command::CopyCslJson, [](MainWindow& w) { w.CopyReferences(reference::Format::CslJson); }},
      {Command::References, [](MainWindow& w) { w.ShowReferences(); }},
      {Command::ToggleSmart, [](MainWindow& w) { w.ToggleSmart(); }},
      {Command::KeyboardShortcuts, [](MainWindow& w) { w.BindShortcuts(false); }},
      {Command::About, [](MainWindow& w) { w.ShowAbout(); }},
      {Command::Handbook, [](MainWindow& w) { w.ShowHandbook(); }},
      {Command::ClipboardJoin, [](MainWindow& w) { w.FixClipboard(Command::ClipboardJoin); }},
      {Command::ClipboardClean, [](MainWindow& w) { w.FixClipboard(Command::ClipboardClean); }},
      {Command::ClipboardBibTeX, [](MainWindow& w) { w.FixClipboard(Command::ClipboardBibTeX); }},
  }};
  static_assert([] {
    for (size_t i = 0; i < kHandlers.size(); ++i)
      if (kHandlers[i].first != static_cast<Command>(i)) return false;
    return true;
  }(), "one handler a command, in the enum's order");
  kHandlers[IndexOf(command)].second(*this);
}

void MainWindow::Refresh() {
  InBackground([this, session = m_session, clipboard = pf::ClipboardText()]() mutable -> pf::Worker::Step {
    session.Refresh(std::move(clipboard));
    const bool wouldRepair = WouldRepair(session);
    auto working = std::make_shared<pf::TextBox::Prepared>(pf::TextBox::Prepare(session.SharedWorking()));
    auto parts = std::make_shared<Parts>(PrepareParts(session));
    return [this, session = std::move(session), wouldRepair, working, parts] {
      m_session = session;
      ShowSession(std::move(*working));
      ShowParts(std::move(*parts));
      SayRead(wouldRepair);
    };
  });
}

void MainWindow::JoinFromClipboard(bool paragraphs) {
  InBackground([this, session = m_session, clipboard = pf::ClipboardText(), paragraphs]() mutable -> pf::Worker::Step {
    session.JoinLines(std::move(clipboard), paragraphs);
    const bool wouldRepair = WouldRepair(session);
    auto working = std::make_shared<pf::TextBox::Prepared>(pf::TextBox::Prepare(session.SharedWorking()));
    return [this, session = std::move(session), wouldRepair, working] {
      m_session = session;
      ShowSession(std::move(*working));  // the joined text is drawn before the repair
      // What was read says more than what the repair did.
      Squish([this, wouldRepair] { SayRead(wouldRepair); });
    };
  });
}

void MainWindow::BindShortcuts(bool quiet) {
  if (!m_globalShortcuts) {
    m_globalShortcuts = new pf::GlobalShortcuts(this);
    connect(m_globalShortcuts, &pf::GlobalShortcuts::Bound, this, [this](const QStringList& lines) {
      if (m_quietBinding) return;
      if (const std::string error = SavePreference(Preference::Shortcuts, true); !error.empty())
        pf::ShowWarning(this, QString::fromStdString(error));
      pf::ShowNotice(this, QStringLiteral("Keyboard shortcuts"),
                     QStringLiteral("The desktop bound Title Fixer's shortcuts:\n") + lines.join(u'\n'));
    });
    connect(m_globalShortcuts, &pf::GlobalShortcuts::Failed, this, [this](const QString& reason) {
      if (!m_quietBinding) pf::ShowWarning(this, reason);
    });
    connect(m_globalShortcuts, &pf::GlobalShortcuts::Unavailable, this, [this] {
      if (m_quietBinding) return;
      pf::ShowInformation(this, QStringLiteral("Keyboard shortcuts"),
                          QStringLiteral("This desktop offers programs no keyboard shortcuts of their own, so to fix "
                                         "the clipboard with one key, bind the command \u201ctitlefixer join "
                                         "--clipboard\u201d to a key in the desktop's keyboard settings."));
    });
    connect(m_globalShortcuts, &pf::GlobalShortcuts::Activated, this, [this](const QString& id) {
      for (const GlobalShortcut& s : kGlobalShortcuts)
        if (id == QLatin1String(s.id)) ActionFor(s.command)->trigger();
    });
  }
  m_quietBinding = quiet;
  QList<pf::Shortcut> shortcuts;
  for (const GlobalShortcut& s : kGlobalShortcuts)
    shortcuts.push_back({QLatin1String(s.id), QString::fromLatin1(s.description)});
  m_globalShortcuts->Bind(shortcuts, this);
}

void MainWindow::FixClipboard(Command command) {
  std::u16string text = pf::ClipboardText();
  if (text.empty()) return;  // nothing to fix: the clipboard stays as it is
  InBackground([this, operations = m_session.Operations(), text = std::move(text), command]() -> pf::Worker::Step {
    std::u16string fixed;
    switch (command) {
      case Command::ClipboardJoin:
        fixed = operations.Join(text, false);
        break;
      case Command::ClipboardClean:
        fixed = operations.Clean(text);
        break;
      default:
        fixed = operations.ExportReference(text, reference::Format::BibTeX);
        break;
    }
    return [fixed = std::move(fixed)] { pf::SetClipboardText(fixed); };
  });
}

// An empty box copies nothing: the clipboard keeps what the user had on it.
void MainWindow::CopyText(const std::u16string& text) {
  if (text.empty()) {
    Say(QStringLiteral("Nothing to copy: the box is empty, and the clipboard is as it was"));
    return;
  }
  pf::SetClipboardText(text);
  Say(QStringLiteral("Copied %1 characters").arg(pf::ToQString(text).size()));
}

void MainWindow::ShowMode() {
  m_mode->setText(m_session.GetMode() == engine::Mode::Smart ? QStringLiteral("Smart repairs on") : QString());
}

bool MainWindow::WouldRepair(const engine::Session& session) {
  return session.GetMode() == engine::Mode::Classic && engine::SmartWouldRepair(session.Raw());
}

// After reading the clipboard: what came, and in classic mode whether
// smart repairs would do more for it.
void MainWindow::SayRead(bool smartWouldRepair) {
  const std::u16string& raw = m_session.Raw();
  if (raw.find_first_not_of(u" \t\r\n") == std::u16string::npos) {
    Say(QStringLiteral("The clipboard holds no text: copy a title or a reference in any program, then press "
                       "Refresh from Clipboard (F5)"));
    return;
  }
  QString said = QStringLiteral("Read %1 characters from the clipboard").arg(pf::ToQString(raw).size());
  if (smartWouldRepair)
    said += QStringLiteral(". It holds what Options \u25B8 Smart repairs would mend (ligatures, odd spaces, "
                           "hyphenated line ends or letter-spaced words)");
  Say(said);
}

// The references are read from the clipboard text as it came: its line
// breaks tell the references apart, which the working text has lost.
void MainWindow::CopyReferences(reference::Format format) {
  InBackground([this, operations = m_session.Operations(), raw = m_session.SharedRaw(), format]() -> pf::Worker::Step {
    const std::vector<reference::Reference> references = operations.FindReferences(*raw);
    if (references.empty()) {
      // Nothing to export: the clipboard keeps what it holds.
      return [this] {
        pf::ShowNotice(this, QStringLiteral("Nothing to copy"),
                       QStringLiteral("The clipboard text holds no reference, so the clipboard was left as it is."));
      };
    }
    return [text = operations.ExportReferences(references, format)] { pf::SetClipboardText(text); };
  });
}

void MainWindow::ShowReferences() {
  InBackground([this, operations = m_session.Operations(), raw = m_session.SharedRaw()]() -> pf::Worker::Step {
    auto references = std::make_shared<std::vector<reference::Reference>>(operations.FindReferences(*raw));
    return [this, operations, references] {
      delete m_referencesDialog;
      m_referencesDialog = new ReferencesDialog(
          std::move(*references),
          [operations](const std::vector<reference::Reference>& found, reference::Format format) {
            return operations.ExportReferences(found, format);
          },
          this);
      m_referencesDialog->show();
    };
  });
}

void MainWindow::ToggleSmart() {
  const bool smart = m_session.GetMode() != engine::Mode::Smart;
  m_session.SetMode(smart ? engine::Mode::Smart : engine::Mode::Classic);
  ActionFor(Command::ToggleSmart)->setChecked(smart);
  ShowMode();
  Say(smart ? QStringLiteral("Smart repairs are on") : QStringLiteral("Smart repairs are off: the classic results"));
  if (const std::string error = SavePreference(Preference::Smart, smart); !error.empty())
    pf::ShowWarning(this, QString::fromStdString(error));
}

void MainWindow::ShowAbout() {
  const auto where = [](const std::string& name) {
    const std::string folder = engine::UserFolder();
    return QStringLiteral("  %1 in the working directory, else %2\n")
        .arg(QString::fromStdString(name), QString::fromStdString(folder.empty() ? name : folder + "/" + name));
  };
  QString lists;
  if (!m_wordListChoice.useFile) {
    lists = QStringLiteral("  the word list: none (the built-in words only)\n");
  } else if (m_wordListChoice.path) {
    lists = QStringLiteral("  the word list: %1\n").arg(QString::fromStdString(*m_wordListChoice.path));
  } else {
    lists = where("wordlist.txt");
  }
  lists += where("acronyms.txt") + where("smallwords.txt");
  pf::ShowInformation(this, QStringLiteral("About Title Fixer"),
                      QStringLiteral("Title Fixer %1\n"
                                     "Cleans titles and references copied from scientific papers.\n\n"
                                     "MIT licence. Smart mode's dictionary is made from SCOWL, "
                                     "Copyright 2000-2011 Kevin Atkinson, with its own permissive "
                                     "licence. The reference model is trained on labelled references "
                                     "Copyright 2011-2023 Sylvester Keil, BSD-2-Clause licence.\n\n"
                                     "Word lists are read from:\n%2\n"
                                     "Settings: %3")
                          .arg(QStringLiteral(TF_VERSION), lists, QString::fromStdString(PreferencesPath())),
                      windowIcon());
}

// The handbook is the README, built into the program, so that it reads
// the same offline.
void MainWindow::ShowHandbook() {
  if (!m_handbook) {
    m_handbook = new QDialog(this);
    m_handbook->setWindowTitle(QStringLiteral("Title Fixer Handbook"));
    m_handbook->resize(760, 640);
    auto* browser = new QTextBrowser(m_handbook);
    browser->setAccessibleName(QStringLiteral("Handbook"));
    browser->setOpenExternalLinks(true);
    QFile file(QStringLiteral(":/handbook.md"));
    if (file.open(QIODevice::ReadOnly)) {
      // Pictures are not part of the program: their lines go.
      QString text = QString::fromUtf8(file.readAll());
      text.remove(QRegularExpression(QStringLiteral("^!\\[[^\\n]*\\n"), QRegularExpression::MultilineOption));
      browser->setMarkdown(text);
    }
    auto* layout = new QVBoxLayout(m_handbook);
    layout->addWidget(browser);
    auto* close = new QPushButton(QStringLiteral("Close"), m_handbook);
    connect(close, &QPushButton::clicked, m_handbook, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
  }
  m_handbook->show();
  m_handbook->raise();
}

void MainWindow::Squish(std::function<void()> then) {
  std::u16string before = m_workingText->Text();  // with the user's edits
  InBackground([this, session = m_session, before = std::move(before), then]() mutable -> pf::Worker::Step {
    session.SetWorking(before);
    session.Squish();
    const size_t joined = engine::WordsJoined(before, session.Working());
    auto working = std::make_shared<pf::TextBox::Prepared>(pf::TextBox::Prepare(session.SharedWorking()));
    return [this, session = std::move(session), joined, then, working] {
      m_session = session;
      m_workingText->Show(std::move(*working));
      Say(joined == 0   ? QStringLiteral("Nothing to squish")
          : joined == 1 ? QStringLiteral("Squish joined 1 word")
                        : QStringLiteral("Squish joined %1 words").arg(joined));
      if (then) then();
    };
  });
}

void MainWindow::ShowSession(pf::TextBox::Prepared working) {
  m_rawText->SetCaption(m_session.SharedRaw());
  m_workingText->Show(std::move(working));
}

MainWindow::Parts MainWindow::PrepareParts(const engine::Session& session) {
  return {pf::TextBox::Prepare(session.SharedAuthors()), pf::TextBox::Prepare(session.SharedTitle())};
}

void MainWindow::ShowParts(Parts parts) {
  m_authorsText->Show(std::move(parts.authors));
  m_titleText->Show(std::move(parts.title));
}

void MainWindow::ToggleMore() {
  const FormSize extra = ExtraRoom();  // kept, shown or hidden
  m_moreShown = !m_moreShown;
  for (QWidget* w : std::initializer_list<QWidget*>{m_authorsText, m_titleText, ButtonFor(Command::CopyAuthors),
                                                    ButtonFor(Command::CopyTitle)})
    w->setVisible(m_moreShown);
  ButtonFor(Command::MoreLess)->SetCaption(m_moreShown ? QStringLiteral("Less") : QStringLiteral("More"));
  FitWindow(extra);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing ends the program like Quit, also while a command is running.
  event->accept();
  pf::End();
}

}  // namespace tf::ui
