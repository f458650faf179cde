#include "qtcommon/window_capture.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

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

void when_modal(std::function<void(QWidget*)> inside) {
    QTimer::singleShot(0, [inside] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            when_modal(inside);
            return;
        }
        inside(w);
    });
}

}  // namespace velmora::qt
