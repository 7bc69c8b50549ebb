#include "platform/qt/QtDownloader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "text/FileIO.h"

namespace vrk {
namespace {

int fail(std::string* error, int code, const QString& why) {
  if (error) *error = why.toStdString();
  return code;
}

}  // namespace

int QtDownloader::download(const std::string& url, const std::string& targetPath,
                           std::string* error) {
  const QUrl address(QString::fromStdString(url));
  const QString scheme = address.scheme().toLower();
  if (!address.isValid() || (scheme != "http" && scheme != "https"))
    return fail(error, QtDownloader::kBadAddress, "not a web address: " + address.toString());
  const QString targetName = QString::fromStdString(targetPath);
  AtomicFileWriter file(targetPath);
  if (file.failed()) return fail(error, QtDownloader::kWriteError, "cannot write " + targetName);

  QNetworkAccessManager manager;
  QNetworkRequest request(address);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(5);
  QNetworkReply* reply = manager.get(request);
  QEventLoop loop;
  QTimer silence;
  silence.setSingleShot(true);
  bool timedOut = false, tooLarge = false, writeFailed = false;
  std::int64_t received = 0;
  QObject::connect(&silence, &QTimer::timeout, [&] {
    timedOut = true;
    reply->abort();
  });
  QObject::connect(reply, &QNetworkReply::readyRead, [&] {
    silence.start(timeoutMs_);
    const QByteArray bytes = reply->readAll();
    received += bytes.size();
    if (received > maxBytes_) {
      tooLarge = true;
      reply->abort();
    } else if (file.write(std::string_view(bytes.constData(),
                                           static_cast<std::size_t>(bytes.size()))) != 0) {
      writeFailed = true;
      reply->abort();
    }
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  silence.start(timeoutMs_);
  if (!reply->isFinished()) loop.exec();
  silence.stop();

  if (timedOut) return fail(error, QtDownloader::kTimeout, "no answer from " + address.host());
  if (tooLarge) return fail(error, QtDownloader::kTooLarge, "too large: " + address.toString());
  if (writeFailed) return fail(error, QtDownloader::kWriteError, "cannot write " + targetName);
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (reply->error() == QNetworkReply::TooManyRedirectsError)
    return fail(error, QtDownloader::kTooManyRedirects, reply->errorString());
  if (status != 0 && status != 200)
    return fail(error, QtDownloader::kHttpStatus, "HTTP " + QString::number(status));
  if (reply->error() != QNetworkReply::NoError)
    return fail(error, QtDownloader::kNetworkError, reply->errorString());
  if (file.commit() != 0)
    return fail(error, QtDownloader::kWriteError, "cannot write " + targetName);
  return 0;
}

}  // namespace vrk
