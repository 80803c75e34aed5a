#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QUrl>

class QIODevice;
class QNetworkAccessManager;

namespace zelvo {

struct HttpOptions {
    // A request that moves no byte for this long ends as failed.
    int requestTimeoutMs = 30000;
    // The system's proxy configuration; tests on the loopback go direct.
    bool systemProxy = true;
    // Set from another thread to end the request under way and refuse the ones after it.
    const std::atomic<bool>* cancelled = nullptr;
};

// Plain HTTP and HTTPS GETs, each waited for on the calling thread, which must be the thread
// that created the fetcher. Only a success status (2xx) counts as an opened file, so an error
// page is never taken for the file asked for.
class HttpFetcher {
public:
    explicit HttpFetcher(const HttpOptions& options);
    ~HttpFetcher();
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    // Whether the server answers `url` with a success status; the body is not read.
    bool Probe(const QUrl& url);

    struct Fetched {
        bool opened = false;    // a success status came back
        bool complete = false;  // the whole body came, as long as the server said it was
        QByteArray body;        // at most the bytes asked for
    };
    // Reads the start of a small file, at most `maxBytes`.
    Fetched FetchStart(const QUrl& url, qint64 maxBytes);

    enum class Download { kDone, kNotOpened, kFailed };
    // Writes the whole body into `out`; kFailed when it breaks off, comes short of its stated
    // length, exceeds `maxBytes` or cannot be written.
    Download DownloadTo(const QUrl& url, QIODevice& out, qint64 maxBytes);

private:
    // Runs one GET; `onData` takes each piece of the body and returns false to stop reading.
    struct Outcome {
        bool opened = false;
        bool finishedCleanly = false;
        bool stoppedByReader = false;
        qint64 received = 0;
        qint64 statedLength = -1;
    };
    Outcome Get(const QUrl& url, const std::function<bool(const QByteArray&)>& onData,
                bool headersOnly);

    HttpOptions m_options;
    std::unique_ptr<QNetworkAccessManager> m_manager;
};

}  // namespace zelvo
