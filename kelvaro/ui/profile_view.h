#pragma once
// The chart of the "Profiles" tab and its reading cursor. The drawing itself
// is the engine's; this widget paints it at its own size and reports the four
// status texts of the cursor.
#include "kelvaro/engine/document.h"
#include "kelvaro/engine/profile_drawing.h"

#include <QWidget>

#include <array>

namespace velmora::kelvaro::ui {

class ProfileView : public QWidget {
    Q_OBJECT
public:
    ProfileView(const Document* doc, QWidget* parent);
    ProfileOptions options;
    bool perfiles = false;  // a calculation has run: the chart is drawn
    const ProfileReading& reading() const { return reading_; }
    // The reading cursor at a position of the chart (what a mouse move does).
    void move_cursor(QPoint pos);

signals:
    void panels_changed(const std::array<std::string, 4>& panels);
    void drawing_failed(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const Document* doc_;
    ProfileChart chart_;
    ProfileReading reading_;
};

}  // namespace velmora::kelvaro::ui
