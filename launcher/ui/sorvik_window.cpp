#include "launcher/ui/sorvik_window.h"

#include "launcher/engine/launcher.h"
#include "qtcommon/http_fetch.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace velmora::launcher {

SorvikWindow::SorvikWindow(std::filesystem::path launcher_dir, std::string host)
    : launcher_dir_(std::move(launcher_dir)), host_(std::move(host)) {
    setWindowTitle("Velmora Updater");
    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    close_ = new QPushButton("Close", this);
    close_->setEnabled(false);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(log_);
    layout->addWidget(close_, 0, Qt::AlignRight);
    resize(460, 260);
}

void SorvikWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (started_) return;
    started_ = true;
    QTimer::singleShot(0, this, &SorvikWindow::run);
}

void SorvikWindow::run() {
    install_updates(
        launcher_dir_, host_,
        [](const std::string& url) { return qt::http_fetch(QString::fromStdString(url)).toStdString(); },
        [this](const std::string& line) {
            log_->appendPlainText(QString::fromStdString(line));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    close_->setEnabled(true);
}

}  // namespace velmora::launcher
