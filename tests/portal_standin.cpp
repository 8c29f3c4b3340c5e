// A stand-in for the desktop portal's global shortcuts, for tests, on the
// bus DBUS_SESSION_BUS_ADDRESS names:
//   portal_standin LOG
// owns org.freedesktop.portal.Desktop and answers as the portal does:
// CreateSession and BindShortcuts reply with a Request object's path, whose
// Response signal follows; BindShortcuts writes each shortcut it was given
// to LOG ("id<TAB>description" lines) and answers with a made-up key for
// each. A test presses a shortcut by calling org.titlefixer.StandIn.Press
// with its id, and the stand-in emits Activated to the session's owner.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <cstdio>

struct StandInShortcut {
  QString id;
  QVariantMap properties;
};
Q_DECLARE_METATYPE(StandInShortcut)
QDBusArgument& operator<<(QDBusArgument& out, const StandInShortcut& s) {
  out.beginStructure();
  out << s.id << s.properties;
  out.endStructure();
  return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, StandInShortcut& s) {
  in.beginStructure();
  in >> s.id >> s.properties;
  in.endStructure();
  return in;
}

namespace {

const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

class Portal final : public QDBusVirtualObject {
 public:
  Portal(QDBusConnection bus, QString log) : m_bus(bus), m_log(std::move(log)) {}

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
    const QString member = message.member();
    if (message.interface() == QLatin1String("org.titlefixer.StandIn") && member == QLatin1String("Silence")) {
      m_silent = true;  // from now on, a portal that never answers
      m_bus.send(message.createReply());
      return true;
    }
    if (m_silent) return true;
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") && member == QLatin1String("Get") &&
        message.arguments().value(0).toString() == kShortcutsInterface) {
      m_bus.send(message.createReply(QVariant::fromValue(QDBusVariant(uint(1)))));
    } else if (message.interface() == kShortcutsInterface && member == QLatin1String("CreateSession")) {
      const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().value(0));
      m_owner = message.service();
      m_session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                      .arg(Sender(message), options.value(QStringLiteral("session_handle_token")).toString());
      Respond(message, options, {{QStringLiteral("session_handle"), m_session}});
    } else if (message.interface() == kShortcutsInterface && member == QLatin1String("BindShortcuts")) {
      const QList<QVariant> args = message.arguments();
      const auto given = qdbus_cast<QList<StandInShortcut>>(args.value(1));
      QList<StandInShortcut> bound;
      QFile log(m_log);
      if (!log.open(QIODevice::Append)) return false;
      int key = 0;
      for (const StandInShortcut& s : given) {
        const QString description = s.properties.value(QStringLiteral("description")).toString();
        log.write((s.id + u'\t' + description + u'\n').toUtf8());
        bound.push_back({s.id,
                         {{QStringLiteral("description"), description},
                          {QStringLiteral("trigger_description"), QStringLiteral("Ctrl+Alt+%1").arg(++key)}}});
      }
      Respond(message, qdbus_cast<QVariantMap>(args.value(3)),
              {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
    } else if (message.interface() == QLatin1String("org.titlefixer.StandIn") && member == QLatin1String("Press")) {
      QDBusMessage activated =
          QDBusMessage::createTargetedSignal(m_owner, kPortalPath, kShortcutsInterface, QStringLiteral("Activated"));
      activated << QVariant::fromValue(QDBusObjectPath(m_session)) << message.arguments().value(0).toString()
                << qulonglong(0) << QVariantMap();
      m_bus.send(activated);
      m_bus.send(message.createReply());
    } else {
      return false;
    }
    return true;
  }

 private:
  static QString Sender(const QDBusMessage& message) {
    return message.service().mid(1).replace(u'.', u'_');
  }
  // Replies with the request's path, then answers on it, as the portal
  // does once the user has chosen.
  void Respond(const QDBusMessage& message, const QVariantMap& options, const QVariantMap& results) {
    const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                .arg(Sender(message), options.value(QStringLiteral("handle_token")).toString());
    m_bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createTargetedSignal(
        message.service(), request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << uint(0) << results;
    m_bus.send(response);
  }

  QDBusConnection m_bus;
  QString m_log;
  QString m_owner, m_session;
  bool m_silent = false;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return 2;
  qDBusRegisterMetaType<StandInShortcut>();
  qDBusRegisterMetaType<QList<StandInShortcut>>();
  QDBusConnection bus = QDBusConnection::sessionBus();
  Portal portal(bus, QString::fromLocal8Bit(argv[1]));
  if (!bus.registerVirtualObject(kPortalPath, &portal) ||
      !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
    std::fprintf(stderr, "portal_standin: cannot serve on the bus\n");
    return 1;
  }
  return QCoreApplication::exec();
}
