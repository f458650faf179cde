#pragma once
// Saves what a widget shows as a PNG (used by the tests and by the programs'
// --screenshot option to look at the windows under the offscreen platform).
#include <QString>
#include <QWidget>

namespace velmora::qt {

bool save_png(QWidget* widget, const QString& file);

// The folder where tests put their screenshots: $VELMORA_SCREENSHOT_DIR, else
// "screenshots" below the current folder; created on demand.
QString screenshot_dir();

}  // namespace velmora::qt
