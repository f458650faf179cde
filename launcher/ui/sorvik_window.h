#pragma once
// The updater's window: it installs the newer versions of the suite's
// programs listed on the update server and shows each step.
#include <QWidget>

#include <filesystem>

class QPlainTextEdit;
class QPushButton;

namespace velmora::launcher {

class SorvikWindow : public QWidget {
    Q_OBJECT
public:
    SorvikWindow(std::filesystem::path launcher_dir, std::string host);
    QPlainTextEdit* log() const { return log_; }
    void run();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::filesystem::path launcher_dir_;
    std::string host_;
    QPlainTextEdit* log_;
    QPushButton* close_;
    bool started_ = false;
};

}  // namespace velmora::launcher
