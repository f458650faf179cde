#pragma once
// Asking a program of the suite to close its main window, by the window's
// exact caption. Every program listens on a local socket named after its
// caption; the launcher connects, sends "close" and the program closes its
// main window the usual way (with its save question). When nobody listens,
// nothing happens.
#include <QLocalServer>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace velmora::qt {

// The local socket name for a caption ("Kelvaro-Orvane" ...) of this user.
QString close_socket_name(const QString& caption);

class CloseListener : public QObject {
    Q_OBJECT
public:
    CloseListener(QWidget* main_window, const QString& caption);
    bool listening() const { return server_.isListening(); }

signals:
    void close_requested();

private:
    void on_connection();
    QPointer<QWidget> window_;
    QLocalServer server_;
};

// Sends the close request; returns true when a program answered.
bool request_close(const QString& caption, int timeout_ms = 1000);

}  // namespace velmora::qt
