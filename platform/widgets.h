// The controls that keep the exact text they were given: a label, a
// scrolling label, and a button whose caption wraps.
//
// Every operation runs on the GUI thread.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <memory>
#include <string>

namespace tf::platform {

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
