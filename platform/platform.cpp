#include "platform/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMessageBox>
#include <QMimeData>
#include <QRectF>
#include <QScreen>
#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QPainter>
#include <QTextDocument>
#include <QScrollBar>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <memory>

// Xlib's macros (None, Bool, Status...) would clash with Qt's names: it
// comes last.
#include <X11/Xlib.h>
#undef FontChange  // an X event number; QEvent::FontChange is meant below

namespace tf::platform {

std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

QString ToQString(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

// ---- clipboard ----------------------------------------------------------------

std::u16string ClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (data == nullptr || !data->hasText()) return {};
  return ToU16(data->text());
}

void SetClipboardText(std::u16string_view text) {
  QGuiApplication::clipboard()->setText(ToQString(text), QClipboard::Clipboard);
}

bool OwnsClipboard() { return QGuiApplication::clipboard()->ownsClipboard(); }

namespace {
// The X11 window that owns the clipboard, or 0 (None, or not X11).
unsigned long ClipboardOwnerWindow() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) return 0;
  return XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False));
}
}  // namespace

void WhenClipboardLost(QObject* context, std::function<void()> lost) {
  auto shared = std::make_shared<std::function<void()>>(std::move(lost));
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, context, [shared](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !QGuiApplication::clipboard()->ownsClipboard()) (*shared)();
  });
  if (!QGuiApplication::clipboard()->ownsClipboard()) {
    QMetaObject::invokeMethod(context, [shared] { (*shared)(); }, Qt::QueuedConnection);
    return;
  }
  // Qt keeps its own account of ownership, which a SelectionClear that came
  // too early leaves wrong; the X server's answer is the truth.
  const unsigned long ours = ClipboardOwnerWindow();
  if (ours == 0) return;
  auto* timer = new QTimer(context);
  QObject::connect(timer, &QTimer::timeout, context, [shared, ours, timer] {
    if (ClipboardOwnerWindow() == ours) return;
    timer->stop();
    (*shared)();
  });
  timer->start(1000);
}

bool ClipboardManagerRuns() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) return false;
  return XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD_MANAGER", False)) != None;
}

// ---- events, cursor, end, errors ----------------------------------------------------

namespace {
bool g_ending = false;
}

void ProcessPendingEvents() {
  // Everything already queued is delivered here, also when this runs inside
  // the delivery of an earlier event: Qt's main-loop integration would skip
  // queued events in a nested call unless something new had been posted.
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void End() {
  if (g_ending) return;
  g_ending = true;
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(0);
}

bool Ending() { return g_ending; }

BusyCursor::BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

void ReportError(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Title Fixer"), message, QMessageBox::Ok,
                  parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

namespace {
void ShowModeless(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& message) {
  auto* box = new QMessageBox(icon, title, message, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}
}  // namespace

void ShowWarning(QWidget* parent, const QString& message) {
  ShowModeless(QMessageBox::Warning, parent, QStringLiteral("Title Fixer"), message);
}

void ShowNotice(QWidget* parent, const QString& title, const QString& message) {
  ShowModeless(QMessageBox::Information, parent, title, message);
}

void ShowInformation(QWidget* parent, const QString& title, const QString& message, const QIcon& icon) {
  QMessageBox box(QMessageBox::Information, title, message, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  if (!icon.isNull()) box.setIconPixmap(icon.pixmap(64, 64));
  box.exec();
}


// ---- geometry in twips ----------------------------------------------------------------

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr const char* kTwipsProperty = "tfTwips";
constexpr const char* kPixelsProperty = "tfPixels";
constexpr const char* kWindowHeightTwips = "tfWindowHeightTwips";
constexpr const char* kWindowHeightPixels = "tfWindowHeightPixels";

double DpiX() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->logicalDotsPerInchX() : 96.0;
}
double DpiY() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->logicalDotsPerInchY() : 96.0;
}
int Round(double v) { return static_cast<int>(std::lround(v)); }

// The twips last set on `w`, valid while its pixel geometry is unchanged.
bool StoredTwips(const QWidget* w, QRectF& twips) {
  const QVariant pixels = w->property(kPixelsProperty);
  if (!pixels.isValid() || pixels.toRect() != w->geometry()) return false;
  twips = w->property(kTwipsProperty).toRectF();
  return true;
}

void Apply(QWidget* w, const QRectF& twips) {
  const QRect pixels(Round(TwipsToPixelsX(twips.x())), Round(TwipsToPixelsY(twips.y())),
                     Round(TwipsToPixelsX(twips.width())), Round(TwipsToPixelsY(twips.height())));
  w->setGeometry(pixels);
  w->setProperty(kTwipsProperty, twips);
  w->setProperty(kPixelsProperty, w->geometry());
}

QRectF CurrentTwips(const QWidget* w) {
  QRectF twips;
  if (StoredTwips(w, twips)) return twips;
  const QRect g = w->geometry();
  return {PixelsToTwipsX(g.x()), PixelsToTwipsY(g.y()), PixelsToTwipsX(g.width()),
          PixelsToTwipsY(g.height())};
}

}  // namespace

double TwipsToPixelsX(double twips) { return twips * DpiX() / kTwipsPerInch; }
double TwipsToPixelsY(double twips) { return twips * DpiY() / kTwipsPerInch; }
double PixelsToTwipsX(double pixels) { return pixels * kTwipsPerInch / DpiX(); }
double PixelsToTwipsY(double pixels) { return pixels * kTwipsPerInch / DpiY(); }

double ScreenWidth() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? PixelsToTwipsX(s->geometry().width()) : 0.0;
}
double ScreenHeight() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? PixelsToTwipsY(s->geometry().height()) : 0.0;
}

void SetGeometry(QWidget* control, double left, double top, double width, double height) {
  Apply(control, QRectF(left, top, width, height));
}
double Left(const QWidget* control) { return CurrentTwips(control).x(); }
double Top(const QWidget* control) { return CurrentTwips(control).y(); }
double Width(const QWidget* control) { return CurrentTwips(control).width(); }
double Height(const QWidget* control) { return CurrentTwips(control).height(); }
void SetHeight(QWidget* control, double height) {
  QRectF twips = CurrentTwips(control);
  twips.setHeight(height);
  Apply(control, twips);
}

double WindowWidth(const QWidget* window) {
  return PixelsToTwipsX(window->frameGeometry().width());
}

double WindowHeight(const QWidget* window) {
  const int pixels = window->frameGeometry().height();
  const QVariant stored = window->property(kWindowHeightPixels);
  if (stored.isValid() && stored.toInt() == pixels)
    return window->property(kWindowHeightTwips).toDouble();
  return PixelsToTwipsY(pixels);
}

void SetWindowClientSize(QWidget* window, double width, double height) {
  window->resize(Round(TwipsToPixelsX(width)), Round(TwipsToPixelsY(height)));
}

void SetWindowHeight(QWidget* window, double height) {
  const int frame = window->frameGeometry().height() - window->height();
  const int outer = Round(TwipsToPixelsY(height));
  window->resize(window->width(), std::max(0, outer - frame));
  window->setProperty(kWindowHeightTwips, height);
  window->setProperty(kWindowHeightPixels, window->frameGeometry().height());
}

void SetWindowLeft(QWidget* window, double left) {
  window->move(Round(TwipsToPixelsX(left)), window->frameGeometry().y());
}

void SetWindowTop(QWidget* window, double top) {
  window->move(window->frameGeometry().x(), Round(TwipsToPixelsY(top)));
}

void SetFontSize(QWidget* control, double points) {
  QFont font = control->font();
  font.setPointSizeF(points);
  control->setFont(font);
}

// ---- controls ---------------------------------------------------------------------

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
