#include "platform/clipboard.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "platform/strings.h"

// Xlib's macros (None, Bool, Status...) would clash with Qt's names: it
// comes last.
#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace tf::platform {

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

namespace {

// How long a reader of a text sent in pieces may take to ask for the next
// piece before the sender gives up: Qt's own limit, which this program keeps
// too.
constexpr qint64 kPieceWaitMs = 5000;

// A text larger than one X request goes to each reader in pieces (INCR), one
// piece each time the reader deletes the property the last one came in. Qt
// goes on sending after another program has taken the clipboard, but only
// while this program runs: a server that ended in between left the reader
// waiting for good. The watch sees the traffic of such a transfer go by (the
// request that opens it, the reader's deletions on a window not ours), so
// that the server can stay until it is over.
class PieceWatch final : public QAbstractNativeEventFilter {
 public:
  explicit PieceWatch(unsigned long owner) : m_owner(owner) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int kind = event->response_type & 0x7f;
    if (kind == XCB_SELECTION_REQUEST ||
        (kind == XCB_PROPERTY_NOTIFY &&
         reinterpret_cast<const xcb_property_notify_event_t*>(event)->window != m_owner))
      m_last.start();
    return false;
  }
  // Milliseconds until a transfer that may be under way is over or given
  // up; 0 when none can be.
  qint64 Remaining() const { return m_last.isValid() ? std::max<qint64>(0, kPieceWaitMs - m_last.elapsed()) : 0; }

 private:
  const unsigned long m_owner;
  QElapsedTimer m_last;
};

// Whether the clipboard's text may go to a reader in pieces: it is larger
// than the largest request less the request's own header, counting four
// bytes for each UTF-16 unit, more than any text encoding Qt offers takes.
bool MayGoInPieces(qsizetype units) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) return false;
  const long extended = XExtendedMaxRequestSize(display);
  const long request = extended > 0 ? extended : XMaxRequestSize(display);
  return static_cast<long long>(units) * 4 > static_cast<long long>(request) * 4 - 24;
}

}  // namespace

void WhenClipboardLost(QObject* context, std::function<void()> lost) {
  struct State {
    std::function<void()> lost;
    std::unique_ptr<PieceWatch> watch;
    bool told = false;
  };
  auto state = std::make_shared<State>();
  state->lost = std::move(lost);
  const bool owns = QGuiApplication::clipboard()->ownsClipboard();
  const unsigned long ours = owns ? ClipboardOwnerWindow() : 0;
  if (ours != 0 && MayGoInPieces(QGuiApplication::clipboard()->text().size())) {
    state->watch = std::make_unique<PieceWatch>(ours);
    qGuiApp->installNativeEventFilter(state->watch.get());
  }
  auto* after = new QTimer(context);
  after->setSingleShot(true);
  const auto tell = [state, after] {
    if (state->told) return;
    if (const qint64 wait = state->watch ? state->watch->Remaining() : 0; wait > 0) {
      after->start(static_cast<int>(wait));
      return;
    }
    state->told = true;
    state->lost();
  };
  QObject::connect(after, &QTimer::timeout, context, tell);
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, context, [tell](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !QGuiApplication::clipboard()->ownsClipboard()) tell();
  });
  if (!owns) {
    QMetaObject::invokeMethod(context, tell, Qt::QueuedConnection);
    return;
  }
  // Qt keeps its own account of ownership, which a SelectionClear that came
  // too early leaves wrong; the X server's answer is the truth (where there
  // is one to ask).
  if (ours == 0) return;
  auto* poll = new QTimer(context);
  QObject::connect(poll, &QTimer::timeout, context, [tell, ours, poll] {
    if (ClipboardOwnerWindow() == ours) return;
    poll->stop();
    tell();
  });
  poll->start(1000);
}

bool ClipboardManagerRuns() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) return false;
  return XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD_MANAGER", False)) != None;
}

}  // namespace tf::platform
