#pragma once
// One file fetched whole over HTTP(S) with QNetworkAccessManager. The call
// looks blocking to its caller but runs a local event loop, so the window
// keeps painting during the transfer. A server error status, a connection
// that drops before the announced length, or a network error throws
// std::runtime_error with the reason.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

namespace velmora::qt {

using FetchProgress = std::function<void(std::int64_t received, std::int64_t total)>;

QByteArray http_fetch(const QString& url, const FetchProgress& progress = {}, int timeout_ms = 60000);

}  // namespace velmora::qt
