#pragma once
// The surface every drawing routine of the engines draws on. Coordinates are
// device pixels (y down), as the plan and profile views lay them out. The Qt
// side paints it with QPainter (screen, printer, PDF); an SVG writer and a
// recording canvas serve the command-line tool and the tests.
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Color&) const = default;
};

namespace colors {
constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kRed{255, 0, 0};
constexpr Color kGreen{0, 128, 0};
constexpr Color kLime{0, 255, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kNavy{0, 0, 128};
constexpr Color kMaroon{128, 0, 0};
constexpr Color kGray{128, 128, 128};
constexpr Color kSilver{192, 192, 192};
constexpr Color kYellow{255, 255, 0};
constexpr Color kFuchsia{255, 0, 255};
constexpr Color kAqua{0, 255, 255};
constexpr Color kTeal{0, 128, 128};
constexpr Color kOlive{128, 128, 0};
constexpr Color kPurple{128, 0, 128};
}  // namespace colors

enum class PenStyle { Solid, Dot, Dash, DashDot, Clear };

struct Pen {
    Color color = colors::kBlack;
    double width = 1;
    PenStyle style = PenStyle::Solid;
    bool operator==(const Pen&) const = default;
};

struct Brush {
    Color color = colors::kWhite;
    bool clear = false;  // no fill
    bool operator==(const Brush&) const = default;
};

struct Font {
    std::string name = "Arial";
    double size = 8;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    double angle = 0;  // degrees, counter-clockwise
    Color color = colors::kBlack;
    bool operator==(const Font&) const = default;
};

struct PointF {
    double x = 0, y = 0;
    bool operator==(const PointF&) const = default;
};

struct RectF {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void set_pen(const Pen& pen) { pen_ = pen; }
    virtual void set_brush(const Brush& brush) { brush_ = brush; }
    virtual void set_font(const Font& font) { font_ = font; }
    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    const Font& font() const { return font_; }

    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void polyline(const std::vector<PointF>& points) = 0;
    virtual void polygon(const std::vector<PointF>& points) = 0;  // filled with the brush
    virtual void rectangle(const RectF& r) = 0;                   // filled with the brush
    virtual void ellipse(const RectF& r) = 0;
    // Text with its top-left corner at (x, y), rotated by the font's angle
    // about that corner.
    virtual void text(double x, double y, const std::string& text) = 0;
    // Text at (x, y) clipped to the rectangle.
    virtual void text_clipped(const RectF& clip, double x, double y, const std::string& text) = 0;
    // A named picture (a symbol of the program) with its top-left at (x, y).
    virtual void image(const std::string& name, double x, double y) = 0;

    // Text extent in pixels with the current font.
    virtual double text_width(const std::string& text) const;
    virtual double text_height(const std::string& text) const;
    // Pixels per inch of the device (screen 96; printers more).
    virtual double dpi() const { return 96; }

protected:
    Pen pen_;
    Brush brush_;
    Font font_;
};

// Keeps every call as one line of text, e.g.
//   "line 0 0 10 10 pen=#000000/1/solid"
//   "text 5 5 \"Node 1\" font=Tahoma/7"
// so tests can assert what was drawn.
class RecordingCanvas : public Canvas {
public:
    void line(double x1, double y1, double x2, double y2) override;
    void polyline(const std::vector<PointF>& points) override;
    void polygon(const std::vector<PointF>& points) override;
    void rectangle(const RectF& r) override;
    void ellipse(const RectF& r) override;
    void text(double x, double y, const std::string& text) override;
    void text_clipped(const RectF& clip, double x, double y, const std::string& text) override;
    void image(const std::string& name, double x, double y) override;

    std::vector<std::string> calls;
    // Structured view of the calls, for tests that need numbers.
    struct Op {
        std::string kind;
        std::vector<PointF> points;
        std::string text;
        Pen pen;
        Brush brush;
        Font font;
    };
    std::vector<Op> ops;

private:
    void record(const std::string& kind, std::vector<PointF> pts, const std::string& text);
};

// Writes an SVG document of the given size.
class SvgCanvas : public Canvas {
public:
    SvgCanvas(double width, double height);
    void line(double x1, double y1, double x2, double y2) override;
    void polyline(const std::vector<PointF>& points) override;
    void polygon(const std::vector<PointF>& points) override;
    void rectangle(const RectF& r) override;
    void ellipse(const RectF& r) override;
    void text(double x, double y, const std::string& text) override;
    void text_clipped(const RectF& clip, double x, double y, const std::string& text) override;
    void image(const std::string& name, double x, double y) override;

    std::string document() const;

private:
    std::string stroke() const;
    std::string fill() const;
    std::string text_element(double x, double y, const std::string& text) const;
    double width_, height_;
    std::string body_;
    int clip_id_ = 0;
};

std::string color_hex(Color c);

}  // namespace velmora
