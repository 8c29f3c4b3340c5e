#include "platform/global_shortcuts.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>
#include <QVariantMap>
#include <QWidget>

// The portal's shortcut as it travels on the bus: (sa{sv}), an id and its
// properties ("description" going out, "trigger_description" coming back).
namespace tf::platform::portal {
struct Shortcut {
  QString id;
  QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& out, const Shortcut& s) {
  out.beginStructure();
  out << s.id << s.properties;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, Shortcut& s) {
  in.beginStructure();
  in >> s.id >> s.properties;
  in.endStructure();
  return in;
}
}  // namespace tf::platform::portal
Q_DECLARE_METATYPE(tf::platform::portal::Shortcut)

namespace tf::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
// Long enough for the bus to start the portal on the first call.
constexpr int kCallTimeoutMs = 10000;
// The portal's answers in a Response signal.
constexpr uint kResponseSuccess = 0;
constexpr uint kResponseCancelled = 1;

QDBusConnection Connect(QString& name) {
  static int connections = 0;
  const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  if (address.isEmpty()) {
    name.clear();
    return QDBusConnection::sessionBus();
  }
  // Our own connection, so that the bus named now is the one used even when
  // something else in the program opened the default one earlier.
  name = QStringLiteral("titlefixer-shortcuts-%1").arg(++connections);
  return QDBusConnection::connectToBus(QString::fromLocal8Bit(address), name);
}

// The portal names a request after its caller's unique bus name, without
// the ':' and with '_' for '.'.
QString RequestPath(const QString& uniqueName, const QString& token) {
  QString sender = uniqueName;
  if (sender.startsWith(u':')) sender.remove(0, 1);
  sender.replace(u'.', u'_');
  return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

// How the portal names the window its dialogs belong to: "x11:" and the
// window's id in hex on X11; empty (no parent) elsewhere.
QString ParentWindow(QWidget* widget) {
  if (!widget || QGuiApplication::platformName() != QLatin1String("xcb")) return {};
  return QStringLiteral("x11:%1").arg(widget->window()->winId(), 0, 16);
}

QString PathOf(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
  return value.toString();
}

}  // namespace

GlobalShortcuts::GlobalShortcuts(QObject* parent) : QObject(parent), m_bus(Connect(m_busName)) {
  qDBusRegisterMetaType<portal::Shortcut>();
  qDBusRegisterMetaType<QList<portal::Shortcut>>();
}

GlobalShortcuts::~GlobalShortcuts() {
  // The portal ends the session, and with it the shortcuts, when the
  // connection closes.
  if (!m_busName.isEmpty()) QDBusConnection::disconnectFromBus(m_busName);
}

bool GlobalShortcuts::Bind(const QList<Shortcut>& shortcuts, QWidget* parent) {
  if (m_step != Step::Idle) return false;
  if (!m_bus.isConnected()) {
    emit Unavailable();
    return true;
  }
  m_shortcuts = shortcuts;
  m_parentWindow = ParentWindow(parent);
  if (!m_session.isEmpty()) {  // bound before: the same session binds again
    SendBind();
    return true;
  }
  // Is there a portal that offers global shortcuts? Its version says so.
  m_step = Step::Asking;
  QDBusMessage get = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get << kInterface << QStringLiteral("version");
  Later(get, [this](const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage) {
      m_step = Step::Idle;
      emit Unavailable();
      return;
    }
    CreateSession();
  });
  return true;
}

void GlobalShortcuts::Later(const QDBusMessage& call, std::function<void(const QDBusMessage&)> then) {
  auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, then = std::move(then)] {
    watcher->deleteLater();
    then(watcher->reply());
  });
}

void GlobalShortcuts::CreateSession() {
  m_step = Step::CreatingSession;
  const QString token = QStringLiteral("titlefixer%1").arg(++m_tokens);
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CreateSession"));
  call << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("session_handle_token"), token}};
  Ask(call, token);
}

void GlobalShortcuts::Ask(const QDBusMessage& call, const QString& token) {
  // Listening starts before the call: the Response may follow the reply at
  // once.
  m_requestPath = RequestPath(m_bus.baseService(), token);
  m_bus.connect(kService, m_requestPath, kRequestInterface, QStringLiteral("Response"), this,
                SLOT(OnResponse(QDBusMessage)));
  // The call's reply comes later: the window goes on meanwhile.
  const Step step = m_step;
  Later(call, [this, step](const QDBusMessage& reply) {
    if (m_step != step) return;  // the Response came first, or the binding ended
    if (reply.type() != QDBusMessage::ReplyMessage) {
      Finish(QStringLiteral("The desktop's portal did not answer: %1").arg(reply.errorMessage()));
      return;
    }
    // Older portals choose the request's path themselves.
    const QString handle = PathOf(reply.arguments().value(0));
    if (!handle.isEmpty() && handle != m_requestPath && !m_requestPath.isEmpty()) {
      StopListening();
      m_requestPath = handle;
      m_bus.connect(kService, m_requestPath, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(OnResponse(QDBusMessage)));
    }
  });
}

void GlobalShortcuts::StopListening() {
  if (m_requestPath.isEmpty()) return;
  m_bus.disconnect(kService, m_requestPath, kRequestInterface, QStringLiteral("Response"), this,
                   SLOT(OnResponse(QDBusMessage)));
  m_requestPath.clear();
}

void GlobalShortcuts::SendBind() {
  m_step = Step::Binding;
  QList<portal::Shortcut> list;
  for (const Shortcut& s : m_shortcuts) list.push_back({s.id, {{QStringLiteral("description"), s.description}}});
  const QString token = QStringLiteral("titlefixer%1").arg(++m_tokens);
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("BindShortcuts"));
  call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(list) << m_parentWindow
       << QVariantMap{{QStringLiteral("handle_token"), token}};
  Ask(call, token);
}

void GlobalShortcuts::OnResponse(const QDBusMessage& message) {
  if (message.path() != m_requestPath || m_step == Step::Idle) return;
  StopListening();
  const QList<QVariant> args = message.arguments();
  const uint response = args.value(0).toUInt();
  const QVariantMap results = qdbus_cast<QVariantMap>(args.value(1));
  if (response != kResponseSuccess) {
    Finish(response == kResponseCancelled ? QStringLiteral("The shortcuts were not bound: the request was cancelled.")
                                          : QStringLiteral("The desktop did not bind the shortcuts."));
    return;
  }
  if (m_step == Step::CreatingSession) {
    m_session = PathOf(results.value(QStringLiteral("session_handle")));
    if (m_session.isEmpty()) {
      Finish(QStringLiteral("The desktop's portal opened no session for the shortcuts."));
      return;
    }
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this, SLOT(OnActivated(QDBusMessage)));
    SendBind();
    return;
  }
  QStringList lines;
  for (const portal::Shortcut& s : qdbus_cast<QList<portal::Shortcut>>(results.value(QStringLiteral("shortcuts")))) {
    const QString description = s.properties.value(QStringLiteral("description"), s.id).toString();
    const QString keys = s.properties.value(QStringLiteral("trigger_description")).toString();
    lines << (keys.isEmpty() ? description + QStringLiteral(": no key yet") : description + QStringLiteral(": ") + keys);
  }
  m_step = Step::Idle;
  emit Bound(lines);
}

void GlobalShortcuts::OnActivated(const QDBusMessage& message) {
  const QList<QVariant> args = message.arguments();
  if (PathOf(args.value(0)) != m_session || m_session.isEmpty()) return;
  emit Activated(args.value(1).toString());
}

void GlobalShortcuts::Finish(const QString& failure) {
  StopListening();
  m_step = Step::Idle;
  emit Failed(failure);
}

}  // namespace tf::platform
