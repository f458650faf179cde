#pragma once
// The profile graph of the "Main Pipeline" tab: a picture of the ground,
// grade line, labels and symbols, painted again from the document whenever
// the lists or the size change, and the mouse forwarded to the graph
// editor's commands.
#include "tosquin/engine/document.h"
#include "tosquin/engine/graph_editor.h"

#include "common/canvas.h"
#include "common/ports.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace velmora::tosquin::ui {

class GraphWidget : public QWidget {
    Q_OBJECT
public:
    GraphWidget(Document& doc, GraphEditor& editor, Messages& messages, QWidget* parent = nullptr);

    // Paints a new picture of the graph's size with `draw` on it; the picture
    // is kept when `draw` returns true (it drew something).
    void render(const std::function<bool(Canvas&)>& draw);
    // Clears, draws and designs again (the underground warning when `warn`).
    void redraw(bool warn);
    void clear_picture();
    void set_mode(EditMode mode);
    const QImage& picture() const { return image_; }

    QSize sizeHint() const override;

signals:
    // The status panels or the lists changed.
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void apply(const GraphEdit& edit);
    void update_cursor();

    Document& doc_;
    GraphEditor& editor_;
    Messages& messages_;
    QImage image_;
};

}  // namespace velmora::tosquin::ui
