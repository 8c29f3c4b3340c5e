// Keyboard shortcuts that work in every program, bound through the
// desktop's portal (org.freedesktop.portal.GlobalShortcuts): the desktop
// asks the user which keys to use and says when one is pressed. The
// portal's flow is followed as it stands: CreateSession, then
// BindShortcuts, each answered later by its Request object's Response
// signal, then Activated for every press.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace tf::platform {

struct Shortcut {
  QString id;           // given back when the shortcut is pressed
  QString description;  // what the desktop shows the user
};

class GlobalShortcuts final : public QObject {
  Q_OBJECT

 public:
  // Connects to the session bus named by DBUS_SESSION_BUS_ADDRESS (else
  // the default one); without a bus, Available() is false.
  explicit GlobalShortcuts(QObject* parent = nullptr);
  ~GlobalShortcuts() override;

  // Asks the portal to bind `shortcuts` for the window `parent` (the
  // desktop may ask the user for the keys first). Never waits: every call
  // is answered later, through the event loop, so a slow or silent portal
  // holds nothing up. Ends in exactly one Bound, Failed or Unavailable (no
  // bus, no portal, or one without global shortcuts; asked each time, as a
  // portal may start or stop). False, and no signal, while a binding is
  // under way.
  bool Bind(const QList<Shortcut>& shortcuts, QWidget* parent);

 signals:
  // The desktop bound them: one line per shortcut, its description and the
  // keys as the desktop describes them.
  void Bound(const QStringList& lines);
  // The binding ended without shortcuts; `reason` is one sentence.
  void Failed(const QString& reason);
  // A bound shortcut was pressed.
  void Activated(const QString& id);
  // There is no portal that binds global shortcuts.
  void Unavailable();

 private slots:
  // Slots for QtDBus, which connects bus signals by name only.
  void OnResponse(const QDBusMessage& message);
  void OnActivated(const QDBusMessage& message);

 private:
  enum class Step { Idle, Asking, CreatingSession, Binding };

  // Listens for the Response of the request `token` names, then sends
  // `call` (whose handle token is `token`); a call that fails ends the
  // binding with Failed.
  void Ask(const QDBusMessage& call, const QString& token);
  void StopListening();
  // Sends `call` and runs `then` with its reply (or error) once it comes.
  void Later(const QDBusMessage& call, std::function<void(const QDBusMessage&)> then);
  void CreateSession();
  void SendBind();
  void Finish(const QString& failure);

  QString m_busName;  // our own connection's name, for disconnecting it
  QDBusConnection m_bus;
  Step m_step = Step::Idle;
  QString m_requestPath;  // the request whose Response is awaited
  QString m_session;      // the portal session, once created
  QList<Shortcut> m_shortcuts;
  QString m_parentWindow;
  int m_tokens = 0;
};

}  // namespace tf::platform
