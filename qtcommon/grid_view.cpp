#include "qtcommon/grid_view.h"

#include "common/numtext.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace velmora::qt {

GridModel::GridModel(Grid* grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {
    shown_rows_ = grid_ ? grid_->row_count() : 0;
    shown_cols_ = grid_ ? grid_->col_count() : 0;
}

void GridModel::set_grid(Grid* grid) {
    beginResetModel();
    grid_ = grid;
    shown_rows_ = grid_ ? grid_->row_count() : 0;
    shown_cols_ = grid_ ? grid_->col_count() : 0;
    endResetModel();
}

void GridModel::reload() {
    // Same size: repaint every cell without a reset, so an open editor stays.
    if (grid_ && shown_rows_ == grid_->row_count() && shown_cols_ == grid_->col_count()) {
        if (shown_rows_ > 0 && shown_cols_ > 0) emit dataChanged(index(0, 0), index(shown_rows_ - 1, shown_cols_ - 1));
        return;
    }
    beginResetModel();
    shown_rows_ = grid_ ? grid_->row_count() : 0;
    shown_cols_ = grid_ ? grid_->col_count() : 0;
    endResetModel();
}

// The view sees the sizes of the last reload, so a command that resizes the
// grid is shown consistently at the next refresh.
int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_rows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_cols_; }

bool GridModel::is_fixed(int col, int row) const {
    return grid_ && (row < grid_->fixed_rows() || col < grid_->fixed_cols());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid()) return {};
    int c = index.column(), r = index.row();
    const std::string& text = grid_->cell(c, r);
    switch (role) {
        case Qt::DisplayRole: {
            auto f = formats_.find(c);
            if (f == formats_.end() || is_fixed(c, r)) return QString::fromStdString(text);
            if (decimal_ == '.' && group_ == ',') {
                if (numtext::is_number(text))
                    return QString::fromStdString(numtext::format_pattern(numtext::read_strict(text), f->second));
                return QString::fromStdString(text);
            }
            double x = 0;
            try {
                x = numtext::read_strict(text, decimal_);
            } catch (const std::exception&) {
                return QString::fromStdString(text);
            }
            std::string shown = numtext::format_pattern(x, f->second);
            for (char& ch : shown) ch = ch == ',' ? group_ : ch == '.' ? decimal_ : ch;
            return QString::fromStdString(shown);
        }
        case Qt::EditRole: return QString::fromStdString(text);
        case Qt::BackgroundRole: {
            auto it = colors_.find({c, r});
            if (it != colors_.end()) return it->second;
            if (is_fixed(c, r)) return QColor(0xF0, 0xF0, 0xF0);
            if (grid_->editor(c).kind == EditorKind::ReadOnly) return QColor(0xFA, 0xFA, 0xF5);
            return {};
        }
        case Qt::TextAlignmentRole: {
            if (is_fixed(c, r)) return int(Qt::AlignCenter);
            auto it = right_.find(c);
            if (it != right_.end() && it->second) return int(Qt::AlignRight | Qt::AlignVCenter);
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
        default: return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!grid_ || !index.isValid() || role != Qt::EditRole) return false;
    std::string text = value.toString().toStdString();
    if (grid_->cell(index.column(), index.row()) == text) return true;
    grid_->set_cell(index.column(), index.row(), text);
    emit dataChanged(index, index);
    emit cell_edited(index.column(), index.row(), value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !grid_) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!read_only_ && !is_fixed(index.column(), index.row()) &&
        grid_->editor(index.column()).kind != EditorKind::ReadOnly &&
        (locked_text_.empty() || grid_->cell(index.column(), index.row()) != locked_text_))
        f |= Qt::ItemIsEditable;
    return f;
}

GridDelegate::GridDelegate(GridModel* model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const ColumnEditor& ed = model_->grid()->editor(index.column());
    if (ed.kind == EditorKind::DropDown) {
        auto* box = new QComboBox(parent);
        box->setEditable(false);  // choosing only
        for (const auto& item : ed.items) box->addItem(QString::fromStdString(item));
        // A choice is written at once, as a drop-down cell does.
        connect(box, &QComboBox::currentIndexChanged, box, [this, box] {
            emit const_cast<GridDelegate*>(this)->commitData(box);
        });
        return box;
    }
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        // The cell holds what is typed at every key stroke, as the engine's
        // key-release rules expect.
        QPersistentModelIndex where(index);
        GridModel* model = model_;
        connect(line, &QLineEdit::textEdited, line, [model, where](const QString& text) {
            if (where.isValid()) model->setData(where, text, Qt::EditRole);
        });
        line->installEventFilter(const_cast<GridDelegate*>(this));
    }
    return editor;
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) emit editor_key_released(key->key());
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentIndex(box->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        if (box->currentIndex() >= 0) model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

GridView::GridView(Grid* grid, QWidget* parent) : QTableView(parent), model_(new GridModel(grid, this)) {
    setModel(model_);
    auto* delegate = new GridDelegate(model_, this);
    setItemDelegate(delegate);
    connect(delegate, &GridDelegate::editor_key_released, this,
            [this](int key) { emit key_released(key, current_col(), current_row()); });
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setMinimumSectionSize(16);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    connect(model_, &GridModel::cell_edited, this, &GridView::cell_edited);
    apply_layout();
}

void GridView::set_grid(Grid* grid) {
    model_->set_grid(grid);
    apply_layout();
}

void GridView::refresh() {
    model_->reload();
    apply_layout();
}

void GridView::apply_layout() {
    Grid* g = model_->grid();
    clearSpans();
    if (!g) return;
    for (int c = 0; c < g->col_count(); ++c) {
        setColumnHidden(c, g->is_hidden(c));
        setColumnWidth(c, widen_to_fit_ != Fit::Nothing ? std::max(g->col_width(c), text_width(c)) : g->col_width(c));
    }
    for (const auto& m : g->merges()) {
        if (m.row < g->row_count() && m.col < g->col_count())
            setSpan(m.row, m.col, std::min(m.rows, g->row_count() - m.row), std::min(m.cols, g->col_count() - m.col));
    }
    if (widen_to_fit_ == Fit::Nothing) return;
    // A header over several columns that does not fit widens the last of them.
    const QFontMetrics fm(font());
    for (const auto& m : g->merges()) {
        if (m.cols < 2 || m.row >= std::min(g->fixed_rows(), g->row_count()) || m.col + m.cols > g->col_count())
            continue;
        int spanned = 0;
        for (int c = m.col; c < m.col + m.cols; ++c) spanned += isColumnHidden(c) ? 0 : columnWidth(c);
        const int needed = fm.horizontalAdvance(model_->data(model_->index(m.row, m.col), Qt::DisplayRole).toString()) + 12;
        const int last = m.col + m.cols - 1;
        if (needed > spanned && !isColumnHidden(last)) setColumnWidth(last, columnWidth(last) + needed - spanned);
    }
}

void GridView::set_widen_to_fit(Fit fit) {
    widen_to_fit_ = fit;
    apply_layout();
}

int GridView::text_width(int col) const {
    const Grid* g = model_->grid();
    // Rows where the column's cell spans several columns (skipped) or several
    // rows (its text wraps at its spaces, so its longest word must fit).
    std::vector<bool> wide(static_cast<size_t>(g->row_count()), false), tall(wide);
    for (const auto& m : g->merges())
        if (col >= m.col && col < m.col + m.cols)
            for (int r = m.row; r < m.row + m.rows && r < g->row_count(); ++r) {
                if (m.cols > 1) wide[static_cast<size_t>(r)] = true;
                if (m.rows > 1) tall[static_cast<size_t>(r)] = true;
            }
    const QFontMetrics fm(font());
    int widest = 0;
    const int rows = widen_to_fit_ == Fit::Everything ? g->row_count() : std::min(g->fixed_rows(), g->row_count());
    for (int r = 0; r < rows; ++r) {
        if (wide[static_cast<size_t>(r)]) continue;
        const QString text = model_->data(model_->index(r, col), Qt::DisplayRole).toString();
        const QStringList parts =
            tall[static_cast<size_t>(r)] ? text.split(QRegularExpression("\\s+")) : text.split('\n');
        for (const QString& part : parts) widest = std::max(widest, fm.horizontalAdvance(part));
    }
    // The cell's margins and grid line.
    return widest == 0 ? 0 : widest + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
}

int GridView::current_col() const { return currentIndex().isValid() ? currentIndex().column() : -1; }
int GridView::current_row() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void GridView::set_current(int col, int row) { setCurrentIndex(model_->index(row, col)); }

GridView::Block GridView::selection_block() const {
    auto ranges = selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (ranges.isEmpty()) return {current_col(), current_row(), current_col(), current_row()};
    const auto& r = ranges.first();
    return {r.left(), r.top(), r.right(), r.bottom()};
}

void GridView::keyPressEvent(QKeyEvent* event) {
    QTableView::keyPressEvent(event);
    emit key_pressed(event->key(), current_col(), current_row());
}

void GridView::keyReleaseEvent(QKeyEvent* event) {
    QTableView::keyReleaseEvent(event);
    if (!event->isAutoRepeat()) emit key_released(event->key(), current_col(), current_row());
}

void GridView::contextMenuEvent(QContextMenuEvent* event) { emit context_menu_requested(event->globalPos()); }

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid()) emit current_changed(current.column(), current.row());
}

}  // namespace velmora::qt
