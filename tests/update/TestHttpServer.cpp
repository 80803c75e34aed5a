#include "tests/update/TestHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace zelvo::test {
namespace {

QByteArray ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

TestHttpServer::TestHttpServer() {
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::Accept);
}

bool TestHttpServer::Start() {
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString TestHttpServer::BaseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort());
}

void TestHttpServer::Serve(const QByteArray& path, std::vector<Reply> replies) {
    m_routes[path] = std::move(replies);
}

QByteArray TestHttpServer::LastHeader(const QByteArray& name) const {
    for (const QByteArray& line : m_lastRequest.split('\n')) {
        if (line.toLower().startsWith(name.toLower() + ':')) {
            return line.mid(name.size() + 1).trimmed();
        }
    }
    return {};
}

int TestHttpServer::Requests(const QByteArray& path) const {
    auto found = m_requests.find(path);
    return found == m_requests.end() ? 0 : found->second;
}

void TestHttpServer::Accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
            if (request->endsWith("\r\n\r\n")) return;  // answered already
            request->append(socket->readAll());
            if (request->contains("\r\n\r\n"))
                Answer(socket, request->left(request->indexOf("\r\n\r\n") + 4));
        });
    }
}

void TestHttpServer::Answer(QTcpSocket* socket, const QByteArray& request) {
    QByteArray path = request.split(' ').value(1);
    int& count = m_requests[path];
    ++count;
    m_lastRequest = request;
    Reply reply{404, "<html><body>404 Not Found</body></html>"};
    auto route = m_routes.find(path);
    if (route != m_routes.end() && !route->second.empty()) {
        const std::vector<Reply>& replies = route->second;
        reply = replies[std::min<size_t>(count - 1, replies.size() - 1)];
    }
    if (reply.mode == Reply::kSilent) return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' +
                      ReasonPhrase(reply.status) + "\r\nConnection: close\r\n";
    if (reply.mode != Reply::kNoLength) {
        head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    }
    QByteArray body = reply.mode == Reply::kCutAfter ? reply.body.left(reply.cutAfter) : reply.body;
    socket->write(head + "\r\n" + body);
    socket->disconnectFromHost();
}

}  // namespace zelvo::test
