#pragma once
// Saves what a widget shows as a PNG (used by the tests and by the programs'
// --screenshot option to look at the windows under the offscreen platform).
#include <QString>
#include <QWidget>

#include <functional>

namespace velmora::qt {

bool save_png(QWidget* widget, const QString& file);

// The folder where tests put their screenshots: $VELMORA_SCREENSHOT_DIR, else
// "screenshots" below the current folder; created on demand.
QString screenshot_dir();

// Runs `inside` on the next modal window as soon as it is shown (tests that
// answer a dialog the code under test opens with exec()).
void when_modal(std::function<void(QWidget*)> inside);

}  // namespace velmora::qt
