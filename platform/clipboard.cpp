#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <memory>

#include "platform/strings.h"

// Xlib's macros (None, Bool, Status...) would clash with Qt's names: it
// comes last.
#include <X11/Xlib.h>

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

}  // namespace tf::platform
