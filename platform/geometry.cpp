#include "platform/geometry.h"

#include <QGuiApplication>
#include <QRectF>
#include <QScreen>
#include <QVariant>
#include <cmath>

namespace tf::platform {

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

}  // namespace tf::platform
