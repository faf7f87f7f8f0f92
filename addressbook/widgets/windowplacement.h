#pragma once
// Remembered window placements for QWidget windows, over the settings file's rules.

#include <QString>

class QWidget;

namespace postavo {

class Settings;

// The section a window's placement lives in, for the screen it is on.
QString placementSectionFor(const QWidget* window, const QString& windowClass);
// Restores the saved placement (or centres the window) and saves it at once.
// `centreOver` is the main window for other windows; null centres on the screen.
void restorePlacement(QWidget* window, const QString& windowClass, Settings& settings,
                      const QWidget* centreOver = nullptr);
void storePlacement(const QWidget* window, const QString& windowClass, Settings& settings);

} // namespace postavo
