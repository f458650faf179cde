#pragma once
// Qt implementations of the engines' ports: message boxes, file dialogs, the
// clipboard and a progress bar with a status text.
#include "common/ports.h"

#include <QPointer>
#include <QProgressBar>
#include <QString>
#include <QWidget>

#include <functional>

namespace velmora::qt {

// Message boxes parented to a window. Notices and errors carry the
// application's title; questions carry the title the engine gives.
class QtMessages : public Messages {
public:
    explicit QtMessages(QWidget* parent, QString app_title);
    void notice(const std::string& text) override;
    void warning(const std::string& title, const std::string& text) override;
    Answer question(const std::string& text, const std::string& title = "Warning") override;
    Answer confirm(const std::string& text, const std::string& title = "Warning") override;
    void error(const std::string& text) override;

private:
    QPointer<QWidget> parent_;
    QString title_;
};

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent);
    std::optional<FileChoice> open(const FileDialogRequest& request) override;
    std::optional<FileChoice> save(const FileDialogRequest& request) override;

private:
    std::optional<FileChoice> run(const FileDialogRequest& request, bool saving);
    QPointer<QWidget> parent_;
};

// "Desc|*.a;*.b|All|*.*" -> {"Desc (*.a *.b)", "All (*.*)"}.
QStringList qt_name_filters(const std::string& filter);
// The extension of a name filter's first pattern: "Values (*.csv)" -> "csv";
// empty for "All (*.*)".
QString filter_suffix(const QString& name_filter);

class QtClipboard : public Clipboard {
public:
    std::string text() const override;
    void set_text(const std::string& text) override;
};

// Moves a progress bar and shows the status through a callback (a status bar
// panel, a label); keeps the window painting during a long calculation that
// runs in the window's own thread.
class QtProgress : public Progress {
public:
    QtProgress(QProgressBar* bar, std::function<void(const QString&)> show_status);
    void set_position(int percent) override;
    void set_status(const std::string& text) override;

private:
    QPointer<QProgressBar> bar_;
    std::function<void(const QString&)> show_status_;
};

}  // namespace velmora::qt
