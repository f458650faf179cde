#include "qtcommon/window_capture.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace velmora::qt {

bool save_png(QWidget* widget, const QString& file) {
    QApplication::processEvents();
    QPixmap pix = widget->grab();
    return !pix.isNull() && pix.save(file, "PNG");
}

QString screenshot_dir() {
    QString dir = qEnvironmentVariable("VELMORA_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = QDir::current().filePath("screenshots");
    QDir().mkpath(dir);
    return dir;
}

}  // namespace velmora::qt
