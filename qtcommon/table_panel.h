#pragma once
// The right side of a designer's "Data/Drawing" tab, as Kelvaro and Marulet
// lay it out: the data table above a row of buttons, "To Calculate" at the
// left and "Add Row", "Insert Row", "Delete Row" at the right; a right click
// on the table offers "Paste".
#include "qtcommon/grid_view.h"

#include <QList>

#include <functional>

class QPushButton;

namespace velmora::qt {

struct TablePanelCommands {
    std::function<void()> calculate;
    std::function<void()> add_row;
    std::function<void()> insert_row;
    std::function<void()> delete_row;
    std::function<void()> paste;
};

struct TablePanel {
    QWidget* widget = nullptr;
    // "To Calculate", "Add Row", "Insert Row", "Delete Row".
    QList<QPushButton*> buttons;
};

// `table` is put into the panel (it becomes a child of the panel's widget).
TablePanel make_table_panel(GridView* table, TablePanelCommands commands, QWidget* parent);

}  // namespace velmora::qt
