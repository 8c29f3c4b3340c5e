// The thin layer over Qt that the window stands on: clipboard, screen, busy
// cursor, event processing, ending, error reports, geometry in twips, and
// the label and text box that keep the exact text they were given.
//
// Every operation runs on the GUI thread. Twips are 1/1440 inch at the
// screen's logical DPI; a value set in twips reads back exactly as set for
// as long as the widget keeps the pixel size it was given.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text_box.h"

namespace tf::platform {

// ---- text conversion ------------------------------------------------------

// UTF-16 both sides, so the conversion is exact, lone surrogates included.
std::u16string ToU16(const QString& s);
QString ToQString(std::u16string_view s);

// ---- clipboard --------------------------------------------------------------

// The clipboard's plain text; the empty text when it holds no text (an image
// only, or nothing at all).
std::u16string ClipboardText();
// Makes `text` the clipboard's plain text, replacing whatever it held.
void SetClipboardText(std::u16string_view text);
// True while this program owns the clipboard; false once another program
// has taken it (or it never had it).
bool OwnsClipboard();
// Calls `lost` each time another program takes the clipboard from this one,
// for as long as `context` lives. Also when the loss came before this call,
// or was never reported (programs racing for the clipboard): the owner is
// asked of the X server every second as well.
void WhenClipboardLost(QObject* context, std::function<void()> lost);
// True when a clipboard manager runs on the X11 display, which takes over
// the clipboard's text from a program that ends; false without one, and
// on other platforms.
bool ClipboardManagerRuns();

// ---- events, cursor, end, errors ----------------------------------------------

// Handles queued input and painting before returning. Never throws: what a
// handler run here wants done later, it queues.
void ProcessPendingEvents();
// Asks the program to end: hides every window and leaves the event loop as
// soon as control returns to it. Qt's clean shutdown then hands the
// clipboard over to a clipboard manager.
void End();
// True once End() has been called; false before.
bool Ending();

// Shows the hourglass over the whole screen for its lifetime; restored on
// every way out, exceptions included, and nesting is safe.
class BusyCursor final {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Shows an error in a modal message box over `parent` and returns when the
// user has read it; the program goes on.
void ReportError(QWidget* parent, const QString& message);
// Shows a warning in a message box that does not block the window.
void ShowWarning(QWidget* parent, const QString& message);
// Shows information in a modal message box and returns when it is closed.
// With an `icon`, that in place of the box's own.
void ShowInformation(QWidget* parent, const QString& title, const QString& message, const QIcon& icon = QIcon());
// Shows information in a message box that does not block the window, for
// news that arrives outside any command.
void ShowNotice(QWidget* parent, const QString& title, const QString& message);

// ---- geometry in twips ------------------------------------------------------------

double TwipsToPixelsX(double twips);
double TwipsToPixelsY(double twips);
double PixelsToTwipsX(double pixels);
double PixelsToTwipsY(double pixels);

// The primary screen's size; 0 when there is no screen.
double ScreenWidth();
double ScreenHeight();

// A control's position and size relative to the window's client area.
void SetGeometry(QWidget* control, double left, double top, double width, double height);
double Left(const QWidget* control);
double Top(const QWidget* control);
double Width(const QWidget* control);
double Height(const QWidget* control);
void SetHeight(QWidget* control, double height);

// The window's outer (frame included) values relative to the screen. Setting
// the height keeps the left and top edges.
double WindowWidth(const QWidget* window);
double WindowHeight(const QWidget* window);
void SetWindowClientSize(QWidget* window, double width, double height);
void SetWindowHeight(QWidget* window, double height);
void SetWindowLeft(QWidget* window, double left);
void SetWindowTop(QWidget* window, double top);

// Sets the point size of a control's font.
void SetFontSize(QWidget* control, double points);

// ---- controls ---------------------------------------------------------------------

// A label whose caption is kept verbatim (line breaks included) and shown as
// plain text, never as rich text, word-wrapped. Only the beginning of a very
// long caption is laid out: the label has no scroll bar to show more.
class Label final : public QLabel {
 public:
  explicit Label(QWidget* parent);
  const std::u16string& Caption() const { return *m_caption; }
  // Shares the caption with whoever else holds it: a pasted text may be
  // large.
  void SetCaption(std::shared_ptr<const std::u16string> caption);
  void SetCaption(std::u16string caption) { SetCaption(std::make_shared<const std::u16string>(std::move(caption))); }

 private:
  std::shared_ptr<const std::u16string> m_caption = std::make_shared<const std::u16string>();
};

// A label in a frameless scroll area that looks like the label alone: it
// shows whole lines of the caption and scrolls (wheel, scroll bar, or the
// arrow keys once focused) when there are more than fit.
class ScrollingLabel final : public QScrollArea {
 public:
  explicit ScrollingLabel(QWidget* parent);
  Label* label() const { return m_label; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Leaves below the last whole line the room a part line would take.
  void ShowWholeLines();

  Label* m_label;
};

// A push button whose caption wraps onto several lines when it is wider
// than the button, instead of being cut off.
class Button final : public QPushButton {
 public:
  Button(const QString& caption, QWidget* parent);
  QString Caption() const;
  void SetCaption(const QString& caption);
  // Alt+`letter` presses the button; the caption shows it underlined.
  void SetMnemonic(QChar letter);
  // What a screen reader says in place of the caption.
  void SetAccessibleName(const QString& name);
  // True when the caption, wrapped at spaces, fits a button of `size`
  // pixels with this font: no word wider than the button, no line cut.
  bool CaptionFits(QSize size) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<QTextDocument> Layout(int width) const;

  QString m_caption;
  QChar m_mnemonic;
  bool m_ownName = false;
};

}  // namespace tf::platform
