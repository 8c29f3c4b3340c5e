#include "platform/widgets.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/strings.h"

namespace tf::platform {

namespace {

// Qt lays out LF (and U+2029) as a line break but not a lone CR; shows every
// kind of line end as one.
QString ForDisplay(std::u16string_view text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

// A label shows a handful of lines; laying out megabytes for them would
// freeze the window.
constexpr size_t kLabelDisplayLimit = 4000;

// Shaping a pasted page of Latin text as one paragraph costs several times
// more than laying it out; Qt still shapes scripts that need it.
void PreferSpeed(QWidget* w) {
  QFont font = w->font();
  font.setStyleStrategy(QFont::PreferNoShaping);
  w->setFont(font);
}

}  // namespace

Label::Label(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTextInteractionFlags(Qt::NoTextInteraction);
  PreferSpeed(this);
}

void Label::SetCaption(std::shared_ptr<const std::u16string> caption) {
  m_caption = std::move(caption);
  std::u16string_view shown(*m_caption);
  QString display;
  if (shown.size() > kLabelDisplayLimit) {
    display = ForDisplay(shown.substr(0, kLabelDisplayLimit)) + QChar(0x2026);
  } else {
    display = ForDisplay(shown);
  }
  setText(display);
}

ScrollingLabel::ScrollingLabel(QWidget* parent) : QScrollArea(parent), m_label(new Label(this)) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWidgetResizable(true);
  setWidget(m_label);
  // The window's own background shows through, as behind a label.
  viewport()->setAutoFillBackground(false);
  m_label->setAutoFillBackground(false);
  setFocusPolicy(Qt::StrongFocus);
  m_label->installEventFilter(this);
}

void ScrollingLabel::resizeEvent(QResizeEvent* event) {
  ShowWholeLines();
  QScrollArea::resizeEvent(event);
}

bool ScrollingLabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_label && event->type() == QEvent::FontChange) ShowWholeLines();
  return QScrollArea::eventFilter(watched, event);
}

void ScrollingLabel::ShowWholeLines() {
  const int line = std::max(1, QFontMetrics(m_label->font()).lineSpacing());
  setViewportMargins(0, 0, 0, height() % line);
  verticalScrollBar()->setSingleStep(line);
}

// The room left bare at each side of a button's caption, in pixels.
constexpr int kCaptionInset = 2;

Button::Button(const QString& caption, QWidget* parent) : QPushButton(parent) { SetCaption(caption); }

QString Button::Caption() const { return m_caption; }

void Button::SetCaption(const QString& caption) {
  m_caption = caption;
  if (!m_ownName) setAccessibleName(caption);
  update();
}

void Button::SetMnemonic(QChar letter) {
  m_mnemonic = letter;
  setShortcut(QKeySequence(QStringLiteral("Alt+") + letter.toUpper()));
  update();
}

void Button::SetAccessibleName(const QString& name) {
  m_ownName = true;
  setAccessibleName(name);
}

// The caption laid out for a button `width` pixels wide: wrapped at spaces,
// centred, its mnemonic letter (the first one, in any case) underlined.
// Drawn by the button itself rather than by a label inside it, which a
// screen reader would read as a second control.
std::unique_ptr<QTextDocument> Button::Layout(int width) const {
  auto document = std::make_unique<QTextDocument>();
  document->setDefaultFont(font());
  document->setDocumentMargin(0);
  QTextOption centred(Qt::AlignHCenter);
  centred.setWrapMode(QTextOption::WordWrap);
  document->setDefaultTextOption(centred);
  const qsizetype at = m_mnemonic.isNull() ? -1 : m_caption.indexOf(m_mnemonic, 0, Qt::CaseInsensitive);
  if (at < 0) {
    document->setHtml(m_caption.toHtmlEscaped());
  } else {
    document->setHtml(m_caption.left(at).toHtmlEscaped() + QStringLiteral("<u>") +
                      m_caption.mid(at, 1).toHtmlEscaped() + QStringLiteral("</u>") +
                      m_caption.mid(at + 1).toHtmlEscaped());
  }
  document->setTextWidth(std::max(1, width - 2 * kCaptionInset));
  return document;
}

bool Button::CaptionFits(QSize size) const {
  const int inner = size.width() - 2 * kCaptionInset;
  const QFontMetrics metrics(font());
  for (const QString& word : m_caption.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    if (metrics.horizontalAdvance(word) > inner) return false;
  return Layout(size.width())->size().height() <= size.height();
}

void Button::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);  // the button itself; its own text is empty
  const std::unique_ptr<QTextDocument> document = Layout(width());
  QPainter painter(this);
  painter.setClipRect(rect());
  painter.translate(kCaptionInset, (height() - document->size().height()) / 2);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette = palette();
  context.palette.setColor(QPalette::Text, palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                                            QPalette::ButtonText));
  document->documentLayout()->draw(&painter, context);
}

}  // namespace tf::platform
