#include "launcher/ui/launcher_window.h"

#include "launcher/ui/launcher_system.h"
#include "qtcommon/close_channel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::launcher {
namespace {

// A round badge with the program's initial, standing in for its icon.
QPixmap program_badge(const QString& name, QColor color) {
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 30, 30);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(16);
    p.setFont(f);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, name.left(1));
    return pix;
}

}  // namespace

LauncherWindow::LauncherWindow(std::filesystem::path launcher_dir, std::filesystem::path data_dir,
                               LauncherSystem* system, Messages* messages)
    : launcher_dir_(std::move(launcher_dir)), data_dir_(std::move(data_dir)) {
    setWindowTitle(kCaption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    if (!system) {
        own_system_ = std::make_unique<QtLauncherSystem>(this, kCaption);
        system = own_system_.get();
    }
    if (!messages) {
        own_messages_ = std::make_unique<qt::QtMessages>(this, "Velmora Applications");
        messages = own_messages_.get();
    }
    system_ = system;
    messages_ = messages;

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* header = new QFrame(central);
    header->setFrameShape(QFrame::StyledPanel);
    header->setStyleSheet("QFrame { background: #1f4e79; } QLabel { color: white; }");
    auto* head = new QGridLayout(header);
    auto* title = new QLabel("Velmora Applications", header);
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.6);
    tf.setBold(true);
    title->setFont(tf);
    head->addWidget(title, 0, 0);
    head->addWidget(new QLabel("Orvane  ·  www.orvane.example", header), 1, 0);
    check_ = new QPushButton("Check for Updates", header);
    head->addWidget(check_, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(header);

    auto* rows = new QGridLayout;
    const QColor colors[] = {"#2e75b6", "#548235", "#7f6000", "#7030a0", "#c55a11"};
    int line = 0;
    for (int row : window_rows()) {
        const ProgramEntry& entry = program_row(row);
        QString name = QString::fromStdString(entry.name);
        auto* icon = new QLabel(central);
        icon->setPixmap(program_badge(name, colors[line % 5]));
        auto* label = new QLabel(name, central);
        QFont lf = label->font();
        lf.setPointSizeF(lf.pointSizeF() * 1.2);
        label->setFont(lf);
        auto* execute = new QPushButton("Execute", central);
        connect(execute, &QPushButton::clicked, this, [this, row] { this->execute(row); });
        execute_buttons_.emplace_back(row, execute);
        rows->addWidget(icon, line, 0);
        rows->addWidget(label, line, 1);
        rows->addWidget(execute, line, 2);
        ++line;
    }
    rows->setColumnStretch(1, 1);
    layout->addLayout(rows);

    auto* exit = new QPushButton("Exit", central);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(exit, 0, Qt::AlignRight);
    setCentralWidget(central);

    connect(check_, &QPushButton::clicked, this, &LauncherWindow::check_updates);
    new qt::CloseListener(this, kCaption);
    refresh_connection();
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

QPushButton* LauncherWindow::execute_button(int row) const {
    for (const auto& [r, b] : execute_buttons_)
        if (r == row) return b;
    return nullptr;
}

CheckContext LauncherWindow::check_context() const {
    return {launcher_dir_, data_dir_ / "updates", read_host_setting(data_dir_ / "update_host")};
}

void LauncherWindow::refresh_connection() { check_->setEnabled(network_connected()); }

void LauncherWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) refresh_connection();
}

CheckOutcome LauncherWindow::check_updates() { return check_for_updates(check_context(), *system_, *messages_); }

void LauncherWindow::execute(int row) {
    const ProgramEntry& entry = program_row(row);
    std::filesystem::path file = launcher_dir_ / entry.start_path;
    if (!std::filesystem::exists(file)) {
        messages_->notice(entry.name + " is not installed: " + file.string() + " was not found.");
        return;
    }
    try {
        start_program(file);
    } catch (const std::exception& e) {
        messages_->error(e.what());
    }
}

}  // namespace velmora::launcher
