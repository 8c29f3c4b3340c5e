// Geometry in twips, as the form was designed. Twips are 1/1440 inch at the
// screen's logical DPI; a value set in twips reads back exactly as set for
// as long as the widget keeps the pixel size it was given.
//
// Every operation runs on the GUI thread.
#pragma once

#include <QWidget>

namespace tf::platform {

double TwipsToPixelsX(double twips);
double TwipsToPixelsY(double twips);
double PixelsToTwipsX(double pixels);
double PixelsToTwipsY(double pixels);

// The primary screen's size; 0 when there is no screen.
double ScreenWidth();
double ScreenHeight();

// A control's position and size relative to the window's client area.
void SetGeometry(QWidget* control, double left, double top, double width, double height);
double Left(const QWidget* control);
double Top(const QWidget* control);
double Width(const QWidget* control);
double Height(const QWidget* control);
void SetHeight(QWidget* control, double height);

// The window's outer (frame included) values relative to the screen. Setting
// the height keeps the left and top edges.
double WindowWidth(const QWidget* window);
double WindowHeight(const QWidget* window);
void SetWindowClientSize(QWidget* window, double width, double height);
void SetWindowHeight(QWidget* window, double height);
void SetWindowLeft(QWidget* window, double left);
void SetWindowTop(QWidget* window, double top);

// Sets the point size of a control's font.
void SetFontSize(QWidget* control, double points);

}  // namespace tf::platform
