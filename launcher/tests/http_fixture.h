#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the tests: fixed routes, a 404 for
// anything else, and routes that drop the connection half-way through.
#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

struct HttpRoute {
    QByteArray body;
    int status = 200;
    bool drop_half_way = false;
};

class HttpFixture : public QObject {
public:
    HttpFixture() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] { serve(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return "http://127.0.0.1:" + QString::number(server_.serverPort()); }
    void route(const QString& path, HttpRoute r) { routes_[path] = std::move(r); }
    QStringList requests;

private:
    void serve(QTcpSocket* s) {
        QByteArray& buf = pending_[s];
        buf += s->readAll();
        if (!buf.contains("\r\n\r\n")) return;
        QList<QByteArray> first = buf.left(buf.indexOf("\r\n")).split(' ');
        QString path = first.size() > 1 ? QString::fromLatin1(first[1]) : QString();
        pending_.remove(s);
        requests << path;
        HttpRoute r = routes_.value(path, HttpRoute{"not found", 404});
        QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + (r.status == 200 ? " OK" : " Error") +
                          "\r\nContent-Length: " + QByteArray::number(r.body.size()) +
                          "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
        s->write(head);
        if (r.drop_half_way) {
            s->write(r.body.left(r.body.size() / 2));
            s->flush();
            s->abort();
            return;
        }
        s->write(r.body);
        s->disconnectFromHost();
    }
    QTcpServer server_;
    QMap<QString, HttpRoute> routes_;
    QMap<QTcpSocket*, QByteArray> pending_;
};
