#pragma once

#include <map>
#include <vector>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace zelvo::test {

// A plain HTTP server on 127.0.0.1 and a free port, served by the event loop of the thread
// that made it. Each path answers with its list of replies in turn, the last one repeating;
// unknown paths get a 404 page.
class TestHttpServer : public QObject {
public:
    struct Reply {
        enum Mode {
            kWhole,     // the body with its length
            kCutAfter,  // the full length stated, `cutAfter` bytes sent, then the connection closed
            kSilent,    // the request is taken and never answered
            kNoLength,  // the body without a length, ended by closing the connection
        };
        int status = 200;
        QByteArray body;
        Mode mode = kWhole;
        qint64 cutAfter = 0;
    };

    TestHttpServer();
    bool Start();
    // "http://127.0.0.1:<port>/"
    QString BaseUrl() const;

    void Serve(const QByteArray& path, std::vector<Reply> replies);
    void Serve(const QByteArray& path, const QByteArray& body) { Serve(path, {Reply{200, body}}); }
    int Requests(const QByteArray& path) const;
    // A header of the last request, as sent.
    QByteArray LastHeader(const QByteArray& name) const;

private:
    void Accept();
    void Answer(QTcpSocket* socket, const QByteArray& request);

    QTcpServer m_server;
    std::map<QByteArray, std::vector<Reply>> m_routes;
    std::map<QByteArray, int> m_requests;
    QByteArray m_lastRequest;
};

}  // namespace zelvo::test
