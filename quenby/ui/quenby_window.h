#pragma once
// Quenby's window: caption "Quenby", no title-bar buttons, two lines of text
// and a progress bar. When first shown it downloads the new updater into the
// target file and closes itself.
#include "common/ports.h"
#include "quenby/engine/quenby.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;

namespace velmora::quenby {

class QuenbyWindow : public QWidget {
    Q_OBJECT
public:
    // url: the updater's address on the update server; target: the file to
    // replace. Without `messages` the failure is shown in a message box.
    QuenbyWindow(QString url, std::filesystem::path target, Messages* messages = nullptr);

    // Downloads and writes the target; returns true when the updater was
    // replaced. Called once when the window is first shown.
    bool run();

    QLabel* line1() const { return line1_; }
    QLabel* line2() const { return line2_; }
    QProgressBar* bar() const { return bar_; }
    // The window closes itself when run() ends (off in tests that inspect it).
    void set_close_when_done(bool close) { close_when_done_ = close; }
    // Every state the window showed, in order.
    const std::vector<QuenbyView>& history() const { return history_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void show_view();
    QString url_;
    std::filesystem::path target_;
    std::unique_ptr<Messages> own_messages_;
    Messages* messages_;
    QuenbyDownload state_;
    QLabel* line1_;
    QLabel* line2_;
    QProgressBar* bar_;
    std::vector<QuenbyView> history_;
    bool started_ = false;
    bool close_when_done_ = true;
};

}  // namespace velmora::quenby
