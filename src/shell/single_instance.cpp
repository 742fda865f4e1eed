#include "shell/single_instance.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
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

// The address of the socket file `path`; nothing when the path is too long for one.
std::optional<sockaddr_un> AddressOf(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return address;
}

// Writes all of `bytes` to a connected socket, waiting at most until `deadline`.
void WriteAll(int socket, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t got = ::send(socket, bytes.constData() + written,
                                   static_cast<std::size_t>(bytes.size() - written), MSG_NOSIGNAL);
        if (got > 0) {
            written += got;
        } else if (got < 0 && (errno == EAGAIN || errno == EINTR) && !deadline.hasExpired()) {
            QThread::msleep(1);
        } else {
            return;
        }
    }
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
    delete serverNotifier_;
    if (server_ >= 0) {
        ::unlink(QFile::encodeName(ServerPath()).constData());
        ::close(server_);
    }
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
    const std::optional<sockaddr_un> address = AddressOf(ServerPath());
    if (!address) return false;
    ::unlink(address->sun_path);  // a dead copy's
    server_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (server_ < 0) return false;
    if (::bind(server_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(server_, SOMAXCONN) != 0) {
        ::close(server_);
        server_ = -1;
        return false;
    }
    serverNotifier_ = new QSocketNotifier(server_, QSocketNotifier::Read, this);
    connect(serverNotifier_, &QSocketNotifier::activated, this, &SingleInstance::Accept);
    return true;
}

// The first copy may hold the lock but not listen yet (it has just started, or its socket
// file is a stale one about to be replaced): keep trying for the connect window, then give
// up quietly.
void SingleInstance::AskFirstForward() const {
    const QDeadlineTimer deadline(connectWindow_);
    const std::optional<sockaddr_un> address = AddressOf(ServerPath());
    if (!address) return;
    for (;;) {
        // Not blocking: a first copy too busy to take connections must not hold this one.
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (socket < 0) return;
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0) {
            WriteAll(socket, Request(identifier_), deadline);
            ::close(socket);
            return;
        }
        ::close(socket);
        if (deadline.remainingTime() <= kRetryPauseMs) return;
        QThread::msleep(kRetryPauseMs);
    }
}

void SingleInstance::Accept() {
    for (;;) {
        const int connection = ::accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (connection < 0) {
            if (errno == EINTR) continue;
            return;  // none waiting
        }
        auto* notifier = new QSocketNotifier(connection, QSocketNotifier::Read, this);
        auto received = std::make_shared<QByteArray>();
        const auto read = [this, notifier, connection, received] {
            if (!ReadRequest(connection, *received)) return;
            notifier->setEnabled(false);
            notifier->deleteLater();
            ::close(connection);
        };
        connect(notifier, &QSocketNotifier::activated, this, read);
        read();  // the request may have arrived with the connection
    }
}

bool SingleInstance::ReadRequest(int connection, QByteArray& received) {
    for (;;) {
        char buffer[kMaxRequestBytes + 1];
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno == EAGAIN) return false;  // more to come
        if (got <= 0) return true;                     // the other end is gone
        received.append(buffer, got);
        const qsizetype end = received.indexOf('\n');
        if (end >= 0) {
            // One request per connection.
            if (received.left(end + 1) == Request(identifier_)) emit activationRequested();
            return true;
        }
        if (received.size() > kMaxRequestBytes) return true;
    }
}

}  // namespace kestrova
