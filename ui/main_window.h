// The window: the clipboard text as it came at the top, the working text
// below it, nine buttons, and a lower part (authors and title) shown on
// demand. The texts live in the engine's session; the widgets show them and
// take the user's edits. Every command comes through Request() and runs
// after the ones requested before it, never inside another.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <optional>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "engine/engine.h"
#include "platform/global_shortcuts.h"
#include "platform/platform.h"
#include "platform/worker.h"
#include "ui/layout.h"

namespace tf::ui {

enum class Command {
  Copy,            // the working text to the clipboard
  Refresh,         // the clipboard read again, title-cased and split
  JoinLines,       // the clipboard read again, its lines joined, then squished
  Quit,
  CopyAuthors,
  CopyTitle,
  MoreLess,        // shows or hides the lower part
  Squish,          // the working text's letter-spacing repaired
  JoinParagraphs,  // as JoinLines, blank lines kept (the "2" button)
  // Menu commands.
  CopyBibTeX,      // Edit > Copy as BibTeX: every reference found in the clipboard text
  CopyRis,         // Edit > Copy as RIS
  CopyCslJson,     // Edit > Copy as CSL-JSON
  References,      // Edit > References...: what was found, to look at and copy
  ToggleSmart,     // Options > Smart repairs
  KeyboardShortcuts,  // Options > Keyboard shortcuts...: bound through the desktop's portal
  About,           // Help > About Title Fixer
  Handbook,        // Help > Handbook (F1)
  // Global shortcuts: the clipboard's text replaced by the command's result.
  ClipboardJoin,
  ClipboardClean,
  ClipboardBibTeX,
};
constexpr size_t kCommandCount = static_cast<size_t>(Command::ClipboardBibTeX) + 1;

// What the window is started with.
struct WindowOptions {
  engine::WordListChoice wordList;
  std::optional<engine::Mode> mode;  // asked for; else the remembered setting
};

class MainWindow final : public QMainWindow {
 public:
  explicit MainWindow(WindowOptions options = {});

  // Fills the window from the clipboard, shapes and centres it, shows it,
  // and then loads the words off the GUI thread; requests made meanwhile
  // run after that.
  void StartUp();
  // Runs `command` once every command requested before it has run. Quit
  // does not wait: the window closes at once, and the outcome of the
  // running command is dropped.
  void Request(Command command);
  // True when no command runs or waits, and the start-up is done.
  bool Idle() const;

  bool MoreShown() const { return m_moreShown; }
  const engine::Words& Words() const { return *m_words; }
  platform::Label* RawText() const { return m_rawText; }
  // The clipboard text's scrolling area, where it stands in the form.
  platform::ScrollingLabel* RawTextArea() const { return m_rawArea; }
  platform::TextBox* WorkingText() const { return m_workingText; }
  platform::TextBox* AuthorsText() const { return m_authorsText; }
  platform::TextBox* TitleText() const { return m_titleText; }
  platform::Button* ButtonFor(Command command) const;
  QAction* ActionFor(Command command) const;
  engine::Mode Mode() const { return m_session.GetMode(); }
  // Edit > References...'s window, once opened.
  QDialog* ReferencesWindow() const { return m_referencesDialog; }
  // The menu bar's and the status line's heights, in twips: the window is
  // that much taller than the form between them.
  double BarsHeight() const;
  // What the status line says of the last command.
  QString Said() const { return m_said->text(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using LoadedWords = engine::LoadedWords;

  void RunQueue();
  // Runs f, reporting what stops it (memory running out, another failure)
  // in a message box.
  template <typename F>
  void Guarded(F&& f);
  void Run(Command command);
  // Runs `work` off the GUI thread, the busy cursor showing; the queue
  // waits until the step it returns has run on the GUI thread.
  void InBackground(platform::Worker::Work work);
  void Finish(const platform::Worker::Step& step);
  static LoadedWords LoadWords(const engine::WordListChoice& choice, engine::Mode mode);
  void AdoptWords(LoadedWords loaded);
  // Binds the global shortcuts through the desktop's portal; `quiet` (at
  // start-up) shows neither the outcome nor the lack of a portal.
  void BindShortcuts(bool quiet);
  void FixClipboard(Command command);
  void Refresh();
  void JoinFromClipboard(bool paragraphs);
  // The working text's letter-spacing repaired off the GUI thread; `then`
  // runs once it is shown.
  void Squish(std::function<void()> then);
  void ToggleMore();
  // The authors and the title made ready for their boxes (on any thread).
  struct Parts {
    platform::TextBox::Prepared authors, title;
  };
  static Parts PrepareParts(const engine::Session& session);
  // The session's clipboard text, and its working text as prepared.
  void ShowSession(platform::TextBox::Prepared working);
  void ShowParts(Parts parts);
  void CopyText(const std::u16string& text);
  void CopyReferences(reference::Format format);
  void ShowReferences();
  void ToggleSmart();
  void ShowAbout();
  void ShowHandbook();
  // Puts `what` on the status line.
  void Say(const QString& what);
  // What was read from the clipboard; `smartWouldRepair` computed with it.
  void SayRead(bool smartWouldRepair);
  static bool WouldRepair(const engine::Session& session);
  void ShowMode();
  // The smallest scale of the design at which every button's caption
  // fits, at the buttons' font: 1 at the default font.
  double NeededScale() const;
  // Sizes the window to the smallest form (lower part shown or not) and
  // `extra` twips more, and places the controls.
  void FitWindow(FormSize extra);
  void Arrange(FormSize size);
  FormSize ExtraRoom() const;
  static int PixelsX(double twips);
  static int PixelsY(double twips);

  QWidget* m_form;  // the area below the menu bar, where the controls are
  QLabel* m_said;   // the status line: what the last command did
  QLabel* m_mode;   // the status line: smart repairs on
  platform::ScrollingLabel* m_rawArea;
  platform::Label* m_rawText;
  platform::TextBox* m_workingText;
  platform::TextBox* m_authorsText;
  platform::TextBox* m_titleText;
  std::vector<platform::Button*> m_buttons;  // by Command
  std::array<QWidget*, kControls> m_controls{};  // by Control
  double m_scale = 1;          // of the design, for the font's sake
  bool m_rescaleQueued = false;
  std::array<QAction*, kCommandCount> m_actions{};  // by Command
  QDialog* m_referencesDialog = nullptr;
  QDialog* m_handbook = nullptr;
  platform::GlobalShortcuts* m_globalShortcuts = nullptr;  // made when first asked for
  bool m_quietBinding = false;
  bool m_moreShown = false;
  bool m_starting = false;     // until the words are loaded
  bool m_dispatching = false;  // while the queue or a command's outcome runs
  std::optional<platform::BusyCursor> m_busyCursor;  // while work runs
  std::deque<Command> m_queue;

  std::vector<std::string> m_preferenceWarnings;  // shown once the window is up
  bool m_bindShortcutsAtStart = false;
  engine::WordListChoice m_wordListChoice;
  bool m_wordsLoaded = false;
  // Shared with the running work, which may outlive the window.
  std::shared_ptr<engine::Words> m_words = std::make_shared<engine::Words>();
  engine::Session m_session{*m_words};
  // Last, so that it is gone first: its work's outcome then goes nowhere.
  platform::Worker m_worker{this, [this](const platform::Worker::Step& step) { Finish(step); }};
};

}  // namespace tf::ui
