// Message boxes: errors, warnings and news for the user.
//
// Every operation runs on the GUI thread.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

namespace tf::platform {

// Shows an error in a modal message box over `parent` and returns when the
// user has read it; the program goes on.
void ReportError(QWidget* parent, const QString& message);
// Shows a warning in a message box that does not block the window.
void ShowWarning(QWidget* parent, const QString& message);
// Shows information in a modal message box and returns when it is closed.
// With an `icon`, that in place of the box's own.
void ShowInformation(QWidget* parent, const QString& title, const QString& message, const QIcon& icon = QIcon());
// Shows information in a message box that does not block the window, for
// news that arrives outside any command.
void ShowNotice(QWidget* parent, const QString& title, const QString& message);

}  // namespace tf::platform
