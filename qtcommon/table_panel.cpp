#include "qtcommon/table_panel.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::qt {

TablePanel make_table_panel(GridView* table, TablePanelCommands commands, QWidget* parent) {
    TablePanel panel;
    panel.widget = new QWidget(parent);
    QObject::connect(table, &GridView::context_menu_requested, panel.widget,
                     [widget = panel.widget, paste = commands.paste](const QPoint& at) {
                         QMenu menu(widget);
                         menu.addAction("Paste", widget, paste);
                         menu.exec(at);
                     });

    auto make = [&](const QString& caption, std::function<void()> run) {
        auto* b = new QPushButton(caption, panel.widget);
        QObject::connect(b, &QPushButton::clicked, panel.widget, std::move(run));
        panel.buttons << b;
        return b;
    };
    auto* bar = new QHBoxLayout;
    bar->addWidget(make("To Calculate", std::move(commands.calculate)));
    bar->addStretch(1);
    bar->addWidget(make("Add Row", std::move(commands.add_row)));
    bar->addWidget(make("Insert Row", std::move(commands.insert_row)));
    bar->addWidget(make("Delete Row", std::move(commands.delete_row)));

    auto* layout = new QVBoxLayout(panel.widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table, 1);
    layout->addLayout(bar);
    return panel;
}

}  // namespace velmora::qt
