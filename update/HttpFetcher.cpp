#include "update/HttpFetcher.h"

#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace zelvo {
namespace {

constexpr int kCancelPollMs = 100;

// The proxy the system configures for each address, as a browser on this machine would use.
class SystemProxyFactory final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return systemProxyForQuery(query);
    }
};

bool IsSuccessStatus(const QNetworkReply& reply) {
    int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status < 300;
}

bool IsRedirectStatus(const QNetworkReply& reply) {
    int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 300 && status < 400;
}

}  // namespace

HttpFetcher::HttpFetcher(const HttpOptions& options)
    : m_options(options), m_manager(std::make_unique<QNetworkAccessManager>()) {
    if (m_options.systemProxy) {
        m_manager->setProxyFactory(new SystemProxyFactory);
    } else {
        m_manager->setProxy(QNetworkProxy::NoProxy);
    }
}

HttpFetcher::~HttpFetcher() = default;

HttpFetcher::Outcome HttpFetcher::Get(const QUrl& url,
                                      const std::function<bool(const QByteArray&)>& onData,
                                      bool headersOnly) {
    Outcome outcome;
    if (m_options.cancelled && m_options.cancelled->load()) return outcome;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("AutoUpdateAgent"));
    // The bytes as stored, so the stated length is the length of what is read and kept.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(m_options.requestTimeoutMs);
    std::unique_ptr<QNetworkReply> reply(m_manager->get(request));

    QEventLoop loop;
    bool decided = false;  // the status is known: a success, or the end of the request
    bool stopped = false;
    // The reply is aborted only once the loop is left: aborting inside its own signals makes
    // it report its end twice.
    auto stop = [&] {
        stopped = true;
        loop.quit();
    };
    auto decide = [&] {
        if (stopped || decided || IsRedirectStatus(*reply)) return;
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isNull()) return;
        decided = true;
        outcome.opened = IsSuccessStatus(*reply);
        bool known = false;
        qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known) outcome.statedLength = length;
        if (!outcome.opened || headersOnly) stop();
    };
    auto read = [&] {
        decide();
        if (stopped || !outcome.opened) return;
        QByteArray piece = reply->readAll();
        outcome.received += piece.size();
        if (!onData(piece)) {
            outcome.stoppedByReader = true;
            stop();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, decide);
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, read);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, [&] {
        read();
        if (!stopped) outcome.finishedCleanly = reply->error() == QNetworkReply::NoError;
        loop.quit();
    });
    QTimer cancelPoll;
    if (m_options.cancelled) {
        QObject::connect(&cancelPoll, &QTimer::timeout, &loop, [&] {
            if (m_options.cancelled->load()) stop();
        });
        cancelPoll.start(kCancelPollMs);
    }
    if (!reply->isFinished()) loop.exec();
    QObject::disconnect(reply.get(), nullptr, &loop, nullptr);
    if (!reply->isFinished()) reply->abort();
    return outcome;
}

bool HttpFetcher::Probe(const QUrl& url) {
    Outcome outcome = Get(
        url, [](const QByteArray&) { return false; }, true);
    return outcome.opened && !(m_options.cancelled && m_options.cancelled->load());
}

HttpFetcher::Fetched HttpFetcher::FetchStart(const QUrl& url, qint64 maxBytes) {
    Fetched fetched;
    Outcome outcome = Get(
        url,
        [&](const QByteArray& piece) {
            fetched.body.append(piece.left(maxBytes - fetched.body.size()));
            return fetched.body.size() < maxBytes;
        },
        false);
    fetched.opened = outcome.opened;
    bool wholeLength = outcome.statedLength < 0 || outcome.received == outcome.statedLength;
    fetched.complete = outcome.finishedCleanly && wholeLength;
    if (outcome.stoppedByReader) fetched.complete = fetched.body.size() == maxBytes;
    return fetched;
}

HttpFetcher::Download HttpFetcher::DownloadTo(const QUrl& url, QIODevice& out, qint64 maxBytes) {
    bool written = true;
    Outcome outcome = Get(
        url,
        [&](const QByteArray& piece) {
            written = out.pos() + piece.size() <= maxBytes && out.write(piece) == piece.size();
            return written;
        },
        false);
    if (!outcome.opened) return Download::kNotOpened;
    // A connection cut before the stated length is a failed download, never a short file.
    bool wholeLength = outcome.statedLength < 0 || outcome.received == outcome.statedLength;
    return written && outcome.finishedCleanly && wholeLength ? Download::kDone : Download::kFailed;
}

}  // namespace zelvo
