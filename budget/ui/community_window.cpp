#include "budget/ui/community_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace velmora::budget {

namespace {
constexpr int kCodeRole = Qt::UserRole;
}

CommunityWindow::CommunityWindow(std::filesystem::path files_dir, Messages& messages, QWidget* parent)
    : QDialog(parent), files_dir_(std::move(files_dir)), messages_(messages) {
    setWindowTitle("Community contribution");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Type/click the desired material", this), 0, 0);
    filter_ = new QLineEdit(this);
    layout->addWidget(filter_, 1, 0);
    left_ = new QListWidget(this);
    layout->addWidget(left_, 2, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    add_ = new QPushButton(">>", this);
    remove_ = new QPushButton("<<", this);
    middle->addWidget(add_);
    middle->addWidget(remove_);
    middle->addStretch(1);
    layout->addLayout(middle, 2, 1);
    layout->addWidget(new QLabel("On the list", this), 1, 2);
    right_ = new QListWidget(this);
    layout->addWidget(right_, 2, 2);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    save_ = new QPushButton("Save and Exit", this);
    cancel_ = new QPushButton("Cancel", this);
    bar->addWidget(save_);
    bar->addWidget(cancel_);
    layout->addLayout(bar, 3, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);

    connect(filter_, &QLineEdit::textEdited, this, &CommunityWindow::fill_left);
    connect(left_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        filter_->setText(item->text());
        add_->setEnabled(true);
    });
    connect(left_, &QListWidget::itemDoubleClicked, this, [this] { add_current(); });
    connect(add_, &QPushButton::clicked, this, &CommunityWindow::add_current);
    connect(right_, &QListWidget::itemClicked, this, [this] { remove_->setEnabled(true); });
    connect(right_, &QListWidget::itemDoubleClicked, this, [this] { remove_current(); });
    connect(remove_, &QPushButton::clicked, this, &CommunityWindow::remove_current);
    connect(save_, &QPushButton::clicked, this, &CommunityWindow::save_and_exit);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    resize(760, 480);
}

QPushButton* CommunityWindow::button(const QString& text) const {
    for (auto* b : {add_, remove_, save_, cancel_})
        if (b->text() == text) return b;
    return nullptr;
}

void CommunityWindow::prepare() {
    filter_->clear();
    left_->clear();
    right_->clear();
    try {
        editor_.open(files_dir_);
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    fill_left({});
    fill_right();
    add_->setEnabled(false);
    remove_->setEnabled(false);
}

void CommunityWindow::run() {
    prepare();
    exec();
}

void CommunityWindow::fill_left(const QString& filter) {
    left_->clear();
    for (const auto& item : editor_.filtered(filter.toStdString())) {
        auto* entry = new QListWidgetItem(QString::fromStdString(item.description), left_);
        entry->setData(kCodeRole, QString::fromStdString(item.code));
    }
}

void CommunityWindow::fill_right() {
    right_->clear();
    for (const auto& d : editor_.shown()) right_->addItem(QString::fromStdString(d));
}

void CommunityWindow::add_current() {
    QListWidgetItem* item = left_->currentItem();
    if (!item) return;
    try {
        if (editor_.add({item->data(kCodeRole).toString().toStdString(), item->text().toStdString()})) fill_right();
    } catch (const std::exception& e) {
        messages_.error(e.what());
    }
    add_->setEnabled(false);
}

void CommunityWindow::remove_current() {
    int row = right_->currentRow();
    if (row < 0) return;
    editor_.remove(row);
    fill_right();
    remove_->setEnabled(false);
}

void CommunityWindow::save_and_exit() {
    try {
        editor_.save(files_dir_);
    } catch (const std::exception& e) {
        messages_.error(e.what());
        return;
    }
    accept();
}

}  // namespace velmora::budget
