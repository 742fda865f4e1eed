#include "shell/single_instance.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <utility>

namespace kestrova {

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
constexpr int kRetryPauseMs = 20;
constexpr qsizetype kMaxRequestBytes = 256;

// The lock and the socket carry the user id as well, like the folder does.
QString BasePath(const QString& folder, const QString& identifier) {
    return folder + QLatin1Char('/') + identifier + QLatin1Char('-') + QString::number(::getuid());
}

QString FallbackFolder() {
    return QStringLiteral("/tmp/kestrova-%1").arg(::getuid());
}

// The one request there is: the identifier on a line of its own.
QByteArray Request(const QString& identifier) {
    return identifier.toUtf8() + '\n';
}

}  // namespace

SingleInstance::SingleInstance(QString identifier, QString runtimeFolder, QObject* parent)
    : QObject(parent),
      identifier_(std::move(identifier)),
      folder_(runtimeFolder.isEmpty() ? DefaultRuntimeFolder() : std::move(runtimeFolder)),
      fallbackFolder_(folder_ == FallbackFolder()),
      lock_(BasePath(folder_, identifier_) + QStringLiteral(".lock")) {
    // Only a lock whose process is gone is stale; a first copy may run for months.
    lock_.setStaleLockTime(0);
}

// The socket file goes first: once the lock is free, a socket file there may already be the
// next first copy's, and closing the server removes whatever file has its name.
SingleInstance::~SingleInstance() {
    delete server_;
}

QString SingleInstance::DefaultRuntimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? FallbackFolder() : QFile::decodeName(runtime);
}

QString SingleInstance::LockPath() const {
    return lock_.fileName();
}

QString SingleInstance::ServerPath() const {
    return BasePath(folder_, identifier_);
}

QString SingleInstance::ErrorText() const {
    switch (failure_) {
        case Failure::Lock:
            return QString::fromUtf8(kLockErrorText);
        case Failure::Listen:
            return QString::fromUtf8(kListenErrorText);
        case Failure::None:
            break;
    }
    return {};
}

SingleInstance::Role SingleInstance::Claim() {
    if (!PrepareFolder()) return Fail(Failure::Lock);
    if (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError) return Fail(Failure::Lock);
        AskFirstForward();
        return Role::Second;
    }
    // Only the lock holder may touch the socket file, so a stale one can go now.
    if (!Listen()) return Fail(Failure::Listen);
    return Role::First;
}

SingleInstance::Role SingleInstance::Fail(Failure failure) {
    failure_ = failure;
    return Role::Error;
}

// The folder must be a folder of this user. Anyone may have made the fallback in /tmp
// first, so there it must not be a link, and it is kept private to the user.
bool SingleInstance::PrepareFolder() const {
    QFileInfo info(folder_);
    if (!info.exists() && !info.isSymLink()) {
        // Another copy may make it at the same moment; the checks below settle it.
        QDir().mkdir(folder_, kOwnerOnly);
        info.refresh();
    }
    if (!info.isDir() || info.ownerId() != ::getuid()) return false;
    if (!fallbackFolder_) return true;
    if (info.isSymLink()) return false;
    if ((info.permissions() & ~kOwnerOnly) == QFile::Permissions()) return true;
    return QFile::setPermissions(folder_, kOwnerOnly);
}

bool SingleInstance::Listen() {
    QLocalServer::removeServer(ServerPath());
    server_ = new QLocalServer(this);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
    return server_->listen(ServerPath());
}

// The first copy may hold the lock but not listen yet (it has just started, or its socket
// file is a stale one about to be replaced): keep trying for the connect window, then give
// up quietly.
void SingleInstance::AskFirstForward() const {
    const QDeadlineTimer deadline(connectWindow_);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(ServerPath());
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
        socket.abort();
        if (deadline.remainingTime() <= kRetryPauseMs) return;
        QThread::msleep(kRetryPauseMs);
    }
    socket.write(Request(identifier_));
    socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
    socket.disconnectFromServer();
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The request may have arrived with the connection.
        if (socket->bytesAvailable() > 0) ReadRequest(socket);
    }
}

void SingleInstance::ReadRequest(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();
        return;
    }
    const bool asked = socket->readLine(kMaxRequestBytes + 1) == Request(identifier_);
    // One request per connection.
    socket->disconnectFromServer();
    if (asked) emit activationRequested();
}

}  // namespace kestrova
