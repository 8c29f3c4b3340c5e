#include "platform/events.h"

#include <QApplication>
#include <QWidget>

namespace tf::platform {

namespace {
bool g_ending = false;
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

}  // namespace tf::platform
