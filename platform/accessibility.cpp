#include "platform/accessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWindow>

namespace tf::platform {
namespace {

// A checkable action of a menu: a check box inside the menu, pressed or
// toggled like the item itself.
class CheckableItem final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  CheckableItem(QMenu* menu, QAction* action) : m_menu(menu), m_action(action) {}

  bool isValid() const override { return m_menu && m_action; }
  QObject* object() const override { return m_action; }
  QWindow* window() const override { return m_menu ? m_menu->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_menu); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::CheckBox; }
  void setText(QAccessible::Text, const QString&) override {}

  QString text(QAccessible::Text which) const override {
    if (!isValid()) return {};
    switch (which) {
      case QAccessible::Name: return QString(m_action->text()).remove(QLatin1Char('&'));
      case QAccessible::Description: return m_action->toolTip();
      case QAccessible::Accelerator: return m_action->shortcut().toString(QKeySequence::NativeText);
      default: return {};
    }
  }

  QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = m_menu->actionGeometry(m_action);
    return {m_menu->mapToGlobal(r.topLeft()), r.size()};
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) return s;
    s.checkable = true;
    s.checked = m_action->isChecked();
    s.disabled = !m_action->isEnabled();
    s.invisible = !m_menu->isVisible() || !m_action->isVisible();
    s.focusable = true;
    s.focused = m_menu->activeAction() == m_action;
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {toggleAction(), pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
  void doAction(const QString& name) override {
    if (!isValid() || (name != toggleAction() && name != pressAction())) return;
    m_action->trigger();
    m_menu->hide();
  }

 private:
  QPointer<QMenu> m_menu;
  QPointer<QAction> m_action;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QLatin1String("QAction")) return nullptr;
  auto* action = qobject_cast<QAction*>(object);
  if (!action || !action->isCheckable()) return nullptr;
  for (QObject* owner : action->associatedObjects())
    if (auto* menu = qobject_cast<QMenu*>(owner)) {
      // A screen reader hears when the item is checked or unchecked.
      QObject::connect(action, &QAction::toggled, action, [action] {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(action, changed);
        QAccessible::updateAccessibility(&event);
      });
      return new CheckableItem(menu, action);
    }
  return nullptr;
}

}  // namespace

void AnnounceCheckableMenuItems() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace tf::platform
