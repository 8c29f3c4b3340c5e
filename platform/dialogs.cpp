#include "platform/dialogs.h"

#include <QMessageBox>

namespace tf::platform {

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

}  // namespace tf::platform
