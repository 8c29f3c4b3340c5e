#include "platform/text_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

namespace tf::platform {
namespace {

// Stands for a break the box inserted where the line had no space.
constexpr char16_t kInserted = 0xFFFF;
constexpr char16_t kParagraph = 0x2029;  // how Qt hands out a paragraph end

// Characters the document turns into paragraph ends wherever they stand.
bool EndsParagraph(char16_t c) {
  return c == u'\n' || c == kParagraph || c == 0xFDD0 || c == 0xFDD1;
}

bool IsLead(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Beyond this many characters without a space, a box wraps anywhere: Qt's
// word-boundary wrapping takes time quadratic in a word's length.
constexpr size_t kLongestWrappedWord = 1000;

// The text with one character per document position: CR LF and CR as LF,
// and a line longer than kLongLine broken into pieces, each break recorded.
std::u16string Align(std::u16string_view text, std::vector<int>* spaceBreaks, std::vector<int>* insertedBreaks) {
  std::u16string out;
  out.reserve(text.size() + text.size() / TextBox::kPiece + 1);
  const auto appendLine = [&](std::u16string_view line) {
    if (line.size() <= TextBox::kLongLine) {
      out.append(line);
      return;
    }
    size_t x = 0;
    while (line.size() - x > TextBox::kPiece) {
      size_t end = x + TextBox::kPiece;
      const size_t space = line.rfind(u' ', end);
      if (space != std::u16string_view::npos && space > x + TextBox::kPiece / 2) {
        out.append(line.substr(x, space - x));
        if (spaceBreaks) spaceBreaks->push_back(static_cast<int>(out.size()));
        out += u' ';
        x = space + 1;
      } else {
        if (IsLead(line[end - 1])) --end;  // never between the halves of a pair
        out.append(line.substr(x, end - x));
        if (insertedBreaks) insertedBreaks->push_back(static_cast<int>(out.size()));
        out += kInserted;
        x = end;
      }
    }
    out.append(line.substr(x));
  };
  size_t i = 0;
  while (i < text.size()) {
    size_t j = i;
    while (j < text.size() && text[j] != u'\r' && text[j] != u'\n') ++j;
    appendLine(text.substr(i, j - i));
    if (j == text.size()) break;
    out += u'\n';
    if (text[j] == u'\r' && j + 1 < text.size() && text[j + 1] == u'\n') ++j;
    i = j + 1;
  }
  return out;
}

}  // namespace

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Tab and Shift+Tab move between the window's controls, as everywhere
  // else; Ctrl+Tab types a tab.
  setTabChangesFocus(true);
  // Shaping a pasted page of Latin text costs several times more than
  // laying it out; Qt still shapes the scripts that need it.
  QFont f = font();
  f.setStyleStrategy(QFont::PreferNoShaping);
  setFont(f);
  connect(document(), &QTextDocument::contentsChange, this, &TextBox::ContentsChanged);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier && !isReadOnly()) {
    insertPlainText(QStringLiteral("\t"));
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

std::u16string TextBox::Text() const {
  if (m_edited) return FromAligned(0, m_aligned.size());
  return m_text ? *m_text : std::u16string();
}

TextBox::Prepared TextBox::Prepare(std::shared_ptr<const std::u16string> text) {
  Prepared p;
  p.text = std::move(text);
  std::vector<int> spaces, inserted;
  {
    std::u16string aligned = Align(*p.text, &spaces, &inserted);
    for (int at : spaces) aligned[static_cast<size_t>(at)] = u'\n';
    for (int at : inserted) aligned[static_cast<size_t>(at)] = u'\n';
    p.shown = QString(reinterpret_cast<const QChar*>(aligned.data()), static_cast<qsizetype>(aligned.size()));
  }
  for (size_t s = 0, n = 0; s < spaces.size() || n < inserted.size();) {
    if (n == inserted.size() || (s < spaces.size() && spaces[s] < inserted[n])) {
      p.breaks.push_back({spaces[s++], false});
    } else {
      p.breaks.push_back({inserted[n++], true});
    }
  }
  size_t longest = 0, run = 0;
  for (char16_t c : *p.text) {
    run = (c == u' ' || c == u'\r' || c == u'\n' || c == u'\t') ? 0 : run + 1;
    longest = std::max(longest, run);
  }
  p.wrapAnywhere = longest > kLongestWrappedWord;
  return p;
}

namespace {
// Where a chunk of `shown` that starts at `from` ends: after a line end
// near kChunk characters on, when there is one, and never between the
// halves of a surrogate pair.
qsizetype ChunkEnd(const QString& shown, qsizetype from) {
  qsizetype end = std::min(shown.size(), from + TextBox::kChunk);
  if (end == shown.size()) return end;
  const qsizetype line = shown.lastIndexOf(QLatin1Char('\n'), end - 1);
  if (line > from + TextBox::kChunk / 2) return line + 1;
  if (shown[end - 1].isHighSurrogate()) --end;
  return end;
}
}  // namespace

void TextBox::Show(Prepared prepared) {
  ++m_generation;
  if (Loading()) {
    document()->setUndoRedoEnabled(true);
  } else {
    m_readOnlyBefore = isReadOnly();
  }
  // What the box held goes first: a large text should not be there twice.
  m_pending.clear();
  m_text = nullptr;
  m_edited = false;
  m_aligned = std::u16string();
  m_breaks.clear();
  m_setting = true;
  clear();
  m_setting = false;
  m_text = std::move(prepared.text);
  m_breaks = std::move(prepared.breaks);
  setWordWrapMode(prepared.wrapAnywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
  const qsizetype first = ChunkEnd(prepared.shown, 0);
  m_setting = true;
  setPlainText(first == prepared.shown.size() ? prepared.shown : prepared.shown.left(first));
  m_setting = false;
  if (first == prepared.shown.size()) {
    setReadOnly(m_readOnlyBefore);
    return;
  }
  m_pending = std::move(prepared.shown);
  m_pendingFrom = first;
  setReadOnly(true);  // no edit until the whole text is in
  document()->setUndoRedoEnabled(false);
  QTimer::singleShot(0, this, [this, generation = m_generation] { LoadMore(generation); });
}

void TextBox::LoadMore(unsigned generation) {
  if (generation != m_generation || !Loading()) return;
  const qsizetype end = ChunkEnd(m_pending, m_pendingFrom);
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  m_setting = true;
  cursor.insertText(m_pending.mid(m_pendingFrom, end - m_pendingFrom));
  m_setting = false;
  m_pendingFrom = end;
  if (end < m_pending.size()) {
    QTimer::singleShot(0, this, [this, generation] { LoadMore(generation); });
    return;
  }
  m_pending = QString();
  document()->setUndoRedoEnabled(true);
  setReadOnly(m_readOnlyBefore);
}

std::u16string& TextBox::Aligned() const {
  if (!m_edited && m_aligned.empty() && m_text && !m_text->empty()) m_aligned = Align(*m_text, nullptr, nullptr);
  return m_aligned;
}

bool TextBox::IsParagraphEnd(size_t position) const {
  if (EndsParagraph(m_aligned[position])) return true;
  const auto it = std::lower_bound(m_breaks.begin(), m_breaks.end(), static_cast<int>(position),
                                   [](const Break& b, int p) { return b.position < p; });
  return it != m_breaks.end() && it->position == static_cast<int>(position);
}

std::u16string TextBox::FromAligned(size_t from, size_t to) const {
  const std::u16string& a = Aligned();
  to = std::min(to, a.size());
  std::u16string out;
  out.reserve(to > from ? to - from : 0);
  auto b = std::lower_bound(m_breaks.begin(), m_breaks.end(), static_cast<int>(from),
                            [](const Break& x, int p) { return x.position < p; });
  for (size_t i = from; i < to; ++i) {
    if (b != m_breaks.end() && b->position == static_cast<int>(i)) {
      if (!b->inserted) out += u' ';
      ++b;
      continue;
    }
    out += a[i] == kParagraph ? u'\n' : a[i];
  }
  return out;
}

void TextBox::ContentsChanged(int position, int removed, int added) {
  if (m_setting) return;
  std::u16string& a = Aligned();
  if (!m_edited) {
    m_edited = true;
    m_text = nullptr;
  }
  QTextCursor cursor(document());
  cursor.setPosition(position);
  cursor.setPosition(position + added, QTextCursor::KeepAnchor);
  const QString now = cursor.selectedText();
  const auto p = static_cast<size_t>(position);
  const size_t r = std::min(static_cast<size_t>(removed), a.size() - std::min(a.size(), p));
  const auto ad = static_cast<size_t>(now.size());
  const auto was = [&](size_t i) { return IsParagraphEnd(i) ? kParagraph : a[i]; };
  const auto is = [&](size_t k) { return static_cast<char16_t>(now[static_cast<qsizetype>(k)].unicode()); };
  // Qt may report more than was changed: keep what stayed the same, so
  // that the box's own breaks there stay what they stood for.
  size_t head = 0, tail = 0;
  while (head < r && head < ad && was(p + head) == is(head)) ++head;
  while (tail < r - head && tail < ad - head && was(p + r - 1 - tail) == is(ad - 1 - tail)) ++tail;
  std::u16string typed;
  for (size_t k = head; k < ad - tail; ++k) typed += is(k) == kParagraph ? u'\n' : is(k);
  const size_t from = p + head, to = p + r - tail;
  a.replace(from, to - from, typed);
  const auto shift = static_cast<int>(typed.size()) - static_cast<int>(to - from);
  std::erase_if(m_breaks, [&](const Break& b) {
    return b.position >= static_cast<int>(from) && b.position < static_cast<int>(to);
  });
  for (Break& b : m_breaks)
    if (b.position >= static_cast<int>(to)) b.position += shift;
}

std::u16string TextBox::SelectedText() const {
  const QTextCursor cursor = textCursor();
  return FromAligned(static_cast<size_t>(cursor.selectionStart()), static_cast<size_t>(cursor.selectionEnd()));
}

QMimeData* TextBox::createMimeDataFromSelection() const {
  if (!textCursor().hasSelection()) return QPlainTextEdit::createMimeDataFromSelection();
  const std::u16string text = SelectedText();
  auto* mime = new QMimeData;
  mime->setText(QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())));
  return mime;
}

}  // namespace tf::platform
