#pragma once
// GridView shows a velmora::Grid live in a QTableView: fixed rows and columns
// drawn as headers, merged cells as spans, hidden columns, column widths,
// drop-down editors that only allow choosing, read-only cells and per-column
// display formats. The Grid stays the one source of truth: an edit writes the
// cell and then tells the owner, which runs the engine command and calls
// refresh().
#include "common/grid.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <map>
#include <string>

namespace velmora::qt {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(Grid* grid, QObject* parent = nullptr);
    void set_grid(Grid* grid);
    Grid* grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void set_read_only(bool ro) { read_only_ = ro; }
    // Shows numeric cells of a column (below the fixed rows) with a pattern
    // such as "%.2n" or "#,##0.00"; the cell text is unchanged.
    void set_display_format(int col, std::string pattern) { formats_[col] = std::move(pattern); }
    // Separators of the numbers in the cells and of the formatted display
    // (default "." and ","); a program that follows the user's settings sets
    // them, the cells keep their text.
    void set_separators(char decimal, char group) {
        decimal_ = decimal;
        group_ = group;
    }
    // Cells holding exactly this text cannot be edited (e.g. "-----" in
    // cells that do not apply); empty: none.
    void set_locked_text(std::string text) { locked_text_ = std::move(text); }
    // Right-aligns the cells of a column below the fixed rows.
    void set_right_aligned(int col, bool right) { right_[col] = right; }
    // Background colour of one cell (e.g. highlighted totals).
    void set_cell_color(int col, int row, QColor color) { colors_[{col, row}] = color; }
    void clear_cell_colors() { colors_.clear(); }
    bool is_fixed(int col, int row) const;
    void reload();

signals:
    void cell_edited(int col, int row, const QString& text);

private:
    Grid* grid_;
    bool read_only_ = false;
    std::map<int, std::string> formats_;
    std::map<int, bool> right_;
    std::map<std::pair<int, int>, QColor> colors_;
    std::string locked_text_;
    char decimal_ = '.';
    char group_ = ',';
    int shown_rows_ = 0;
    int shown_cols_ = 0;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(Grid* grid, QWidget* parent = nullptr);
    GridModel* grid_model() const { return model_; }
    Grid* grid() const { return model_->grid(); }
    void set_grid(Grid* grid);

    // Re-reads the grid: sizes, cells, spans, hidden columns, widths, editors.
    void refresh();
    // Current cell as (col, row) of the grid, and the selection's bounds.
    int current_col() const;
    int current_row() const;
    void set_current(int col, int row);
    struct Block { int left, top, right, bottom; };
    Block selection_block() const;
    // On screen a column is widened, never narrowed, to show its longest
    // header text (the longest word of a header spanning several rows, which
    // wraps), and with Fit::Everything its longest value too; cells spanning
    // several columns aside. The grid keeps its own widths, which printing
    // lays out by.
    enum class Fit { Nothing, Headers, Everything };
    void set_widen_to_fit(Fit fit);

signals:
    void cell_edited(int col, int row, const QString& text);
    void key_released(int key, int col, int row);
    void key_pressed(int key, int col, int row);
    void current_changed(int col, int row);
    void context_menu_requested(const QPoint& global_pos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void apply_layout();
    int text_width(int col) const;
    GridModel* model_;
    Fit widen_to_fit_ = Fit::Nothing;
};

// Editor delegate: a drop-down that only allows choosing among the column's
// items, a plain line editor otherwise.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridModel* model, QObject* parent = nullptr);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void editor_key_released(int key);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    GridModel* model_;
};

}  // namespace velmora::qt
