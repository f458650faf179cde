#include "budget/ui/table_widths.h"

#include "qtcommon/grid_view.h"

#include <QFontMetrics>

#include <algorithm>

namespace velmora::budget {

void widen_to_contents(qt::GridView* view) {
    view->resizeColumnsToContents();
    const Grid* g = view->grid();
    QFontMetrics fm(view->font());
    for (int c = 0; c < g->col_count(); ++c) {
        int width = view->columnWidth(c);
        for (int r = 0; r < g->fixed_rows(); ++r) {
            const Merge* m = g->merge_at(c, r);
            if (m && m->cols > 1) continue;
            width = std::max(width, fm.horizontalAdvance(QString::fromStdString(g->cell(c, r))) + 16);
        }
        view->setColumnWidth(c, width);
    }
}

}  // namespace velmora::budget
