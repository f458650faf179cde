#pragma once
// The profile area of the "Profiles" tab: paints the engine's profile drawing
// and shows the readout under the mouse (marker, red line, status panels).
#include "marulet/engine/document.h"

#include <QWidget>

#include <array>
#include <string>

namespace velmora::marulet::ui {

class ProfileView : public QWidget {
    Q_OBJECT
public:
    explicit ProfileView(Document* doc, QWidget* parent = nullptr);
    bool showgrid = true;
    // The readout at a mouse position (what a mouse move does).
    void readout_at(int x, int y);

signals:
    void panels_changed(const std::array<std::string, 4>& panels);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Document* doc_;
    bool has_marker_ = false;
    QPointF ground_, invert_;
};

}  // namespace velmora::marulet::ui
