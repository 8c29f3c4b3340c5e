// A text box that gives back exactly the text it was given, however long.
#pragma once

#include <QPlainTextEdit>
#include <memory>
#include <string>
#include <vector>

namespace tf::platform {

// A multi-line, wrapped text box with a vertical scroll bar only.
//
// Text() returns exactly the text last given to SetText (CR, CR LF, TAB, NUL
// and no-break spaces as they were) until the user edits it; after an edit,
// the text with the edit made, every line end written as LF and every other
// character kept.
//
// Qt lays out a paragraph as a whole, so a line of megabytes would take
// seconds each time the box is drawn. A line longer than kLongLine is shown
// as paragraphs of about kPiece characters, broken at a space (or anywhere
// when there is none); the box remembers where it broke, and those breaks
// never reach Text() or a copy made from the box.
//
// Showing a large text is split so that the window stays responsive:
// Prepare() does the text's share of the work and may run on any thread;
// Show() puts the first kChunk characters into the box at once and the rest
// a chunk per turn of the event loop, the box read-only meanwhile. Text()
// is exact throughout.
class TextBox final : public QPlainTextEdit {
 private:
  // A paragraph break the box made: in place of a space, or inserted.
  struct Break {
    int position;  // in the document
    bool inserted;
  };

 public:
  static constexpr size_t kLongLine = 20000;
  static constexpr size_t kPiece = 2000;
  static constexpr qsizetype kChunk = 256 * 1024;

  // A text made ready to be shown.
  struct Prepared {
    std::shared_ptr<const std::u16string> text;
    QString shown;  // as the document holds it
    std::vector<Break> breaks;
    bool wrapAnywhere = false;
  };

  explicit TextBox(QWidget* parent);
  std::u16string Text() const;
  static Prepared Prepare(std::shared_ptr<const std::u16string> text);
  void Show(Prepared prepared);
  // Shares the text with whoever else holds it: a pasted text may be large.
  void SetText(std::shared_ptr<const std::u16string> text) { Show(Prepare(std::move(text))); }
  void SetText(std::u16string text) { SetText(std::make_shared<const std::u16string>(std::move(text))); }
  // True while the rest of a large text is still being put into the box.
  bool Loading() const { return !m_pending.isEmpty(); }
  // What a copy or a drag of the selection carries: the selected part of
  // Text(), with Qt's line ends.
  std::u16string SelectedText() const;

 protected:
  QMimeData* createMimeDataFromSelection() const override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void LoadMore(unsigned generation);

  // The text as the document holds it, one character per document
  // position: line ends as LF, the box's breaks as the space they replace
  // or as kInserted. Empty until needed.
  std::u16string& Aligned() const;
  std::u16string FromAligned(size_t from, size_t to) const;
  bool IsParagraphEnd(size_t position) const;
  void ContentsChanged(int position, int removed, int added);

  std::shared_ptr<const std::u16string> m_text;  // as set, until the first edit
  mutable std::u16string m_aligned;
  std::vector<Break> m_breaks;         // sorted by position
  bool m_edited = false;
  bool m_setting = false;
  QString m_pending;             // the text being put in, while it is
  qsizetype m_pendingFrom = 0;   // how much of it is in
  unsigned m_generation = 0;     // of the text shown; a newer one stops the loading of an older
  bool m_readOnlyBefore = false;
};

}  // namespace tf::platform
