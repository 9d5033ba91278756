#include "platform/brovik/application/SingleInstanceHelper.h"

#include "platform/brovik/application/Logging.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QStandardPaths>

namespace KX::Brovik {

namespace {

// Waiting limits for the hand-over; a running instance answers within milliseconds, a hung one must
// not keep the new start waiting forever.
constexpr int ConnectTimeoutMs = 1000;
constexpr int ReplyTimeoutMs = 5000;
constexpr quint32 ProtocolVersion = 1;
constexpr quint32 MaxRequestSize = 1 << 20;

QByteArray encodeRequest(const QStringList& paths, bool openInBackground) {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << ProtocolVersion << paths << openInBackground;
    return data;
}

} // namespace

SingleInstanceHelper::SingleInstanceHelper(QStringList paths, bool openInBackground, QObject* parent)
    : QObject(parent), _paths(std::move(paths)), _openInBackground(openInBackground) {
    // Relative paths must be resolved here: the running instance has another working directory.
    for (QString& path : _paths) {
        if (!path.isEmpty()) {
            path = QDir::current().absoluteFilePath(path);
        }
    }
}

SingleInstanceHelper::~SingleInstanceHelper() = default;

QString SingleInstanceHelper::serverName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    QString key = QCoreApplication::instance()
                      ? QCoreApplication::instance()->property(KeyProperty).toString()
                      : QString();
    if (key.isEmpty()) {
        key = QStringLiteral("brovik");
    }
    return QDir(dir).filePath(key + QStringLiteral("-instance"));
}

bool SingleInstanceHelper::initialize(const std::function<void()>& onServing) {
    switch (forwardToRunningInstance()) {
    case Forwarding::Forwarded:
        qCDebug(brovikInstance) << "request handed to the running instance:" << _paths;
        return false;
    case Forwarding::NoInstance:
        listen();
        break;
    case Forwarding::InstanceNotAnswering:
        // Another instance holds the service but does not answer (busy or hung): open the request
        // here rather than lose it, and leave the service to its owner.
        qCWarning(brovikInstance) << "the running instance does not answer; opening here";
        break;
    }
    if (onServing) {
        onServing();
    }
    deliver(_paths, _openInBackground, nullptr);
    return true;
}

SingleInstanceHelper::Forwarding SingleInstanceHelper::forwardToRunningInstance() const {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(ConnectTimeoutMs)) {
        return Forwarding::NoInstance;
    }
    const QByteArray request = encodeRequest(_paths, _openInBackground);
    QDataStream out(&socket);
    out << static_cast<quint32>(request.size());
    socket.write(request);
    if (!socket.waitForBytesWritten(ReplyTimeoutMs)) {
        return Forwarding::InstanceNotAnswering;
    }
    // The running instance acknowledges with one byte once it has read the request.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(ReplyTimeoutMs)) {
            return Forwarding::InstanceNotAnswering;
        }
    }
    return Forwarding::Forwarded;
}

bool SingleInstanceHelper::listen() {
    _server = new QLocalServer(this);
    _server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(_server, &QLocalServer::newConnection, this, &SingleInstanceHelper::onNewConnection);
    if (_server->listen(serverName())) {
        return true;
    }
    // Nobody answered, so a socket left over from a crashed instance blocks the name.
    QLocalServer::removeServer(serverName());
    if (_server->listen(serverName())) {
        return true;
    }
    qCWarning(brovikInstance) << "cannot serve other starts:" << _server->errorString();
    return false;
}

void SingleInstanceHelper::onNewConnection() {
    while (QLocalSocket* socket = _server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->property("handled").toBool() || socket->bytesAvailable() < 4) {
                return;
            }
            // Leave the buffer untouched until the whole request has arrived.
            quint32 size = 0;
            QDataStream sizeStream(socket->peek(4));
            sizeStream >> size;
            if (size > MaxRequestSize) {
                socket->disconnectFromServer();
                return;
            }
            if (socket->bytesAvailable() < 4 + static_cast<qint64>(size)) {
                return;
            }
            socket->read(4);
            QDataStream in(socket->read(size));
            quint32 version = 0;
            QStringList paths;
            bool openInBackground = false;
            in >> version >> paths >> openInBackground;
            socket->setProperty("handled", true);
            if (version != ProtocolVersion || in.status() != QDataStream::Ok) {
                qCWarning(brovikInstance) << "ignored a malformed request from another start";
                socket->disconnectFromServer();
                return;
            }
            socket->write("1", 1);
            socket->flush();
            qCDebug(brovikInstance) << "request from another start:" << paths;
            // Opening a request may run a nested event loop (an error box, the start window) in
            // which the other start disconnects and its socket is deleted. The socket is finished
            // with here, and the request is handled once this handler has returned.
            socket->disconnect(this);
            socket->disconnectFromServer();
            QMetaObject::invokeMethod(
                this, [this, paths, openInBackground] { deliver(paths, openInBackground, nullptr); },
                Qt::QueuedConnection);
        });
    }
}

void SingleInstanceHelper::deliver(const QStringList& paths, bool openInBackground,
                                   const std::shared_ptr<void>& tracking) {
    _currentRequestInBackground = openInBackground;
    const auto reset = qScopeGuard([this] { _currentRequestInBackground = false; });
    if (paths.isEmpty()) {
        emit fileOpenWithActionEvent(
            FileOpenInfo{QString(), QStringLiteral("open"), tracking, openInBackground});
        return;
    }
    for (const QString& path : paths) {
        qCDebug(brovikInstance) << "opening" << path;
        emit fileOpenWithActionEvent(FileOpenInfo{path, QStringLiteral("open"), tracking, openInBackground});
    }
}

} // namespace KX::Brovik
