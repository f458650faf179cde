#include "qtcommon/http_fetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <stdexcept>

namespace velmora::qt {

QByteArray http_fetch(const QString& url, const FetchProgress& progress, int timeout_ms) {
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeout_ms);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    if (progress)
        QObject::connect(reply, &QNetworkReply::downloadProgress, &loop,
                         [&](qint64 received, qint64 total) { progress(received, total); });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();

    QByteArray data = reply->readAll();
    int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    QString error = reply->error() != QNetworkReply::NoError ? reply->errorString() : QString();
    reply->deleteLater();
    if (!error.isEmpty()) throw std::runtime_error(error.toStdString());
    if (status >= 400) throw std::runtime_error(("HTTP error " + QString::number(status) + " for " + url).toStdString());
    if (length.isValid() && length.toLongLong() != data.size())
        throw std::runtime_error(("The transfer of " + url + " ended before its end").toStdString());
    return data;
}

}  // namespace velmora::qt
