#pragma once
// The launcher window "Velmora - Orvane": one row per program with
// "Execute", "Check for Updates" (enabled only with a network connection)
// and "Exit".
#include "common/folders.h"
#include "launcher/engine/launcher.h"
#include "qtcommon/qt_ports.h"

#include <QMainWindow>

#include <filesystem>
#include <memory>

class QPushButton;

namespace velmora::launcher {

class LauncherWindow : public QMainWindow {
    Q_OBJECT
public:
    // launcher_dir: the folder of the launcher's executable; data_dir: the
    // launcher's data folder (update list, host setting).
    LauncherWindow(std::filesystem::path launcher_dir, std::filesystem::path data_dir,
                   LauncherSystem* system = nullptr, Messages* messages = nullptr);

    static constexpr const char* kCaption = "Velmora - Orvane";
    QPushButton* check_button() const { return check_; }
    QPushButton* execute_button(int row) const;
    CheckContext check_context() const;
    // Enables "Check for Updates" from the system's connection report.
    void refresh_connection();

public slots:
    CheckOutcome check_updates();
    void execute(int row);

protected:
    void changeEvent(QEvent* event) override;

private:
    std::filesystem::path launcher_dir_;
    std::filesystem::path data_dir_;
    std::unique_ptr<LauncherSystem> own_system_;
    std::unique_ptr<Messages> own_messages_;
    LauncherSystem* system_;
    Messages* messages_;
    QPushButton* check_;
    std::vector<std::pair<int, QPushButton*>> execute_buttons_;
};

}  // namespace velmora::launcher
