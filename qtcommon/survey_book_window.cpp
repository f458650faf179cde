#include "qtcommon/survey_book_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace velmora::qt {
namespace {

using terrain::SurveyView;

constexpr SurveyView kViews[3] = {SurveyView::Planimetry, SurveyView::Altimetry, SurveyView::TotalCoordinates};

int view_index(SurveyView view) {
    switch (view) {
        case SurveyView::Planimetry: return 0;
        case SurveyView::Altimetry: return 1;
        case SurveyView::TotalCoordinates: return 2;
    }
    return 0;
}

// A small sheet with a green header row and cell lines: the workbook button.
QIcon workbook_icon() {
    QPixmap pix(24, 24);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setPen(QColor(0x21, 0x73, 0x46));
    p.setBrush(Qt::white);
    p.drawRect(3, 3, 17, 17);
    p.fillRect(4, 4, 16, 4, QColor(0x21, 0x73, 0x46));
    for (int y = 12; y < 20; y += 4) p.drawLine(4, y, 19, y);
    for (int x = 9; x < 20; x += 5) p.drawLine(x, 8, x, 19);
    return QIcon(pix);
}

// A table with an arrow leaving it: the export to the designer's tab.
QIcon export_icon() {
    QPixmap pix(24, 24);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::white);
    p.drawRect(2, 4, 11, 15);
    p.drawLine(2, 9, 13, 9);
    p.drawLine(2, 14, 13, 14);
    p.setPen(QPen(QColor(0x1a, 0x5f, 0xb4), 2.5));
    p.drawLine(9, 12, 20, 12);
    p.setBrush(QColor(0x1a, 0x5f, 0xb4));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(22, 12), QPoint(16, 7), QPoint(16, 17)}));
    return QIcon(pix);
}

QToolButton* tool_button(QWidget* parent, const QIcon& icon, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    return button;
}

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SurveyBookWindow::SurveyBookWindow(terrain::Designer designer, Messages& messages, FileDialogs& dialogs,
                                   Clipboard& clipboard, QWidget* parent)
    : QDialog(parent), book_(designer), messages_(messages), dialogs_(dialogs), clipboard_(clipboard) {
    setWindowTitle(terrain::kSurveyCaption);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);

    length_factor_ = new QLineEdit(this);
    length_factor_->setFixedWidth(80);
    initial_elevation_ = new QLineEdit(this);
    initial_elevation_->setFixedWidth(90);
    connect(length_factor_, &QLineEdit::textEdited, this,
            [this](const QString& text) { book_.set_LFE(text.toStdString()); });
    connect(initial_elevation_, &QLineEdit::textEdited, this,
            [this](const QString& text) { book_.set_initial_elevation(text.toStdString()); });
    auto* bar = new QHBoxLayout;
    build_top_bar(bar);

    table_ = new GridView(&book_.ZCSG1, this);
    table_->setContextMenuPolicy(Qt::DefaultContextMenu);
    paste_menu_ = new QMenu(this);
    paste_action_ = paste_menu_->addAction("Paste");
    connect(paste_action_, &QAction::triggered, this, &SurveyBookWindow::paste);
    connect(table_, &GridView::context_menu_requested, this, [this](const QPoint& at) { paste_menu_->popup(at); });
    connect(table_, &GridView::current_changed, this, [this](int col, int row) { book_.select_cell(col, row); });
    connect(table_, &GridView::key_released, this, [this](int, int col, int row) { key_released(col, row); });

    // The reduction's two boxes and "OK" below the table.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(terrain::kLengthFactorCaption, this));
    bottom->addWidget(length_factor_);
    bottom->addSpacing(16);
    bottom->addWidget(new QLabel(terrain::kInitialElevationCaption, this));
    bottom->addWidget(initial_elevation_);
    bottom->addStretch(1);
    ok_ = new QPushButton("OK", this);
    ok_->setAutoDefault(false);
    ok_->setMinimumWidth(90);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(ok_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
    layout->addLayout(bottom);

    resize(1100, 560);
    fit_columns();
    refresh();
}

void SurveyBookWindow::build_top_bar(QHBoxLayout* bar) {
    open_ = tool_button(this, style()->standardIcon(QStyle::SP_DialogOpenButton), terrain::kOpenHint);
    save_ = tool_button(this, style()->standardIcon(QStyle::SP_DialogSaveButton), terrain::kSaveHint);
    connect(open_, &QToolButton::clicked, this, [this] { command([this] { book_.open(dialogs_); }, true); });
    connect(save_, &QToolButton::clicked, this, [this] { command([this] { book_.save(dialogs_); }); });
    bar->addWidget(open_);
    bar->addWidget(save_);
    if (book_.has_save_as_excel()) {
        save_as_excel_ = tool_button(this, workbook_icon(), terrain::kSaveAsExcelHint);
        connect(save_as_excel_, &QToolButton::clicked, this,
                [this] { command([this] { book_.save_as_excel(dialogs_); }); });
        bar->addWidget(save_as_excel_);
    }
    export_ = tool_button(this, export_icon(), terrain::kExportHint);
    connect(export_, &QToolButton::clicked, this, &SurveyBookWindow::export_data);
    bar->addWidget(export_);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    bar->addSpacing(8);
    bar->addWidget(line);
    bar->addSpacing(8);

    auto* group = new QButtonGroup(this);
    for (int k = 0; k < 3; ++k) {
        views_[k] = new QRadioButton(qs(book_.view_caption(kViews[k])), this);
        group->addButton(views_[k]);
        bar->addWidget(views_[k]);
    }
    views_[view_index(book_.view())]->setChecked(true);
    for (int k = 0; k < 3; ++k)
        connect(views_[k], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) choose_view(kViews[k]);
        });

    bar->addStretch(1);
}

QRadioButton* SurveyBookWindow::view_button(SurveyView view) const { return views_[view_index(view)]; }

int SurveyBookWindow::run() {
    prepare_visit();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    return exec();
}

void SurveyBookWindow::open_visit() {
    prepare_visit();
    showMaximized();
}

void SurveyBookWindow::prepare_visit() {
    book_.begin_visit();
    handing_over_ = false;
    refresh();
    // Typing starts in the table, at the cell the book last recorded.
    table_->set_current(book_.Col, book_.Row);
    table_->setFocus();
}

void SurveyBookWindow::refresh() {
    table_->refresh();
    // The boxes show the engine's text; an edit in progress is left alone.
    if (length_factor_->text().toStdString() != book_.LFE()) length_factor_->setText(qs(book_.LFE()));
    if (initial_elevation_->text().toStdString() != book_.initial_elevation())
        initial_elevation_->setText(qs(book_.initial_elevation()));
    if (!view_button(book_.view())->isChecked()) {
        QSignalBlocker block(view_button(book_.view()));
        view_button(book_.view())->setChecked(true);
    }
    update_buttons();
}

void SurveyBookWindow::update_buttons() { export_->setEnabled(book_.export_enabled()); }

void SurveyBookWindow::command(const std::function<void()>& run, bool fit) {
    try {
        run();
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    if (fit) fit_columns();
    refresh();
}

void SurveyBookWindow::choose_view(SurveyView view) {
    if (view == book_.view()) return;
    command([this, view] { book_.set_view(view); }, true);
}

void SurveyBookWindow::key_released(int col, int row) {
    if (col < 0 || row < 0) return;
    command([this, col, row] {
        book_.select_cell(col, row);
        book_.key_released();
    });
}

void SurveyBookWindow::paste() {
    // The pasted block starts at the top left of the selection; a selection
    // that starts in the header rows pastes from the first shot row, so the
    // headers are never overwritten.
    GridView::Block block = table_->selection_block();
    const int left = std::max(0, block.left >= 0 ? block.left : book_.Col);
    const int top = std::max(book_.ZCSG1.fixed_rows(), block.top >= 0 ? block.top : book_.Row);
    const std::string text = clipboard_.text();
    command([this, &text, left, top] { book_.paste(text, left, top); }, true);
}

void SurveyBookWindow::export_data() {
    book_.export_data();
    handing_over_ = book_.exported() || book_.exportedctotales();
    accept();
}

void SurveyBookWindow::done(int result) {
    if (isVisible()) {
        try {
            book_.close(messages_, dialogs_);
        } catch (const std::exception& e) {
            messages_.error(e.what());
        }
    }
    QDialog::done(result);
    if (handing_over_) {
        handing_over_ = false;
        emit survey_exported(book_.ZCSG1, book_.exported_view());
    }
}

void SurveyBookWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SurveyBookWindow::fit_columns() {
    Grid& g = book_.ZCSG1;
    const QFontMetrics metrics(table_->font());
    const int pad = 14;
    auto text_width = [&](const std::string& text) { return metrics.horizontalAdvance(qs(text)) + pad; };

    std::vector<int> widths(g.col_count(), 48);
    for (int c = 0; c < g.col_count(); ++c) {
        for (int r = 1; r < g.row_count(); ++r) widths[c] = std::max(widths[c], text_width(g.cell(c, r)));
        // A header over this column alone (spanning both header rows).
        const Merge* m = g.merge_at(c, 0);
        if (!m || m->cols == 1) widths[c] = std::max(widths[c], text_width(g.cell(c, 0)));
        widths[c] = std::min(widths[c], 170);
    }
    // A header over several columns widens them evenly when it does not fit.
    for (const Merge& m : g.merges()) {
        if (m.row != 0 || m.cols < 2 || m.col + m.cols > g.col_count()) continue;
        int total = 0;
        for (int c = m.col; c < m.col + m.cols; ++c) total += widths[c];
        const int need = text_width(g.cell(m.col, 0));
        if (need <= total) continue;
        const int extra = (need - total + m.cols - 1) / m.cols;
        for (int c = m.col; c < m.col + m.cols; ++c) widths[c] += extra;
    }
    for (int c = 0; c < g.col_count(); ++c) g.set_col_width(c, widths[c]);
}

}  // namespace velmora::qt
