#include "qtcommon/close_channel.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

namespace velmora::qt {

QString close_socket_name(const QString& caption) {
    // A caption may hold spaces; the hash keeps the name exact and portable.
    // The name is per user (another user's launcher must not close this
    // user's programs); VELMORA_CLOSE_CHANNEL replaces the user part, so
    // tests that run side by side do not answer each other.
    QString channel = qEnvironmentVariable("VELMORA_CLOSE_CHANNEL");
    if (channel.isEmpty()) channel = QString::number(::getuid());
    QByteArray hash =
        QCryptographicHash::hash((channel + '\n' + caption).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return "velmora-close-" + QString::fromLatin1(hash);
}

CloseListener::CloseListener(QWidget* main_window, const QString& caption) : QObject(main_window), window_(main_window) {
    QString name = close_socket_name(caption);
    if (!server_.listen(name)) {
        // A name left behind by a program that ended abnormally: take it over
        // unless a running program still answers on it.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (!probe.waitForConnected(200)) {
            QLocalServer::removeServer(name);
            server_.listen(name);
        }
    }
    connect(&server_, &QLocalServer::newConnection, this, &CloseListener::on_connection);
}

void CloseListener::on_connection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray data = socket->readAll();
            if (!data.startsWith("close")) return;
            socket->write("ok\n");
            socket->flush();
            emit close_requested();
            // Closed from the event loop, as a posted close message would be.
            if (window_) QTimer::singleShot(0, window_, [w = window_] { if (w) w->close(); });
        });
    }
}

bool request_close(const QString& caption, int timeout_ms) {
    // An event loop rather than the blocking waits, so that a listener in
    // this same process (the launcher's own window) can answer too.
    QLocalSocket socket;
    QEventLoop loop;
    bool answered = false;
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&] {
        socket.write("close\n");
        socket.flush();
    });
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        answered = true;
        loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] { loop.quit(); });
    QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
    socket.connectToServer(close_socket_name(caption));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    socket.abort();
    return answered;
}

}  // namespace velmora::qt
