#include "quenby/ui/quenby_window.h"

#include "common/textfile.h"
#include "qtcommon/http_fetch.h"
#include "qtcommon/qt_ports.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>

namespace velmora::quenby {

QuenbyWindow::QuenbyWindow(QString url, std::filesystem::path target, Messages* messages)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      url_(std::move(url)),
      target_(std::move(target)) {
    setWindowTitle("Quenby");
    if (!messages) {
        own_messages_ = std::make_unique<qt::QtMessages>(this, "Quenby");
        messages = own_messages_.get();
    }
    messages_ = messages;
    line1_ = new QLabel(this);
    line2_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line1_);
    layout->addWidget(line2_);
    layout->addWidget(bar_);
    setFixedSize(360, 110);
    show_view();
}

void QuenbyWindow::show_view() {
    const QuenbyView& v = state_.view();
    history_.push_back(v);
    line1_->setText(QString::fromStdString(v.line1));
    line2_->setText(QString::fromStdString(v.line2));
    // QProgressBar counts in int; byte counts of an updater fit.
    bar_->setMaximum(static_cast<int>(std::min<std::int64_t>(v.maximum, INT_MAX)));
    bar_->setValue(static_cast<int>(std::min<std::int64_t>(v.position, INT_MAX)));
}

void QuenbyWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (started_) return;
    started_ = true;
    QTimer::singleShot(0, this, [this] {
        run();
        if (close_when_done_) close();
    });
}

bool QuenbyWindow::run() {
    state_.start();
    show_view();
    try {
        QByteArray data = qt::http_fetch(url_, [this](std::int64_t received, std::int64_t total) {
            state_.progress(received, total);
            show_view();
        });
        state_.downloaded(data.size());
        show_view();
        textfile::write_bytes_atomic(target_, std::string_view(data.constData(), static_cast<size_t>(data.size())), true);
    } catch (const std::exception&) {
        messages_->notice(kQuenbyFailure);
        return false;
    }
    state_.installed();
    show_view();
    return true;
}

}  // namespace velmora::quenby
