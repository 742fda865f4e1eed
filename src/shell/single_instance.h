#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>

class QSocketNotifier;
class QWidget;

namespace kestrova {

// Keeps one copy of the program per user session. The first copy holds a lock file in the
// user's runtime folder and listens on a local socket beside it; a later copy finds the lock
// taken, asks the first copy through the socket to come forward, and ends without a window.
//
// Both the lock and the socket are released when the object goes away; when the process
// dies without that, the next first copy takes over the lock of the dead process and
// replaces its socket file.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kInstanceIdentifier = "VantrelKestrovaFirstVersiaProgrami";
    // What the user sees when the lock or the socket cannot be set up.
    static constexpr const char* kLockErrorText = "Ошибка запуска приложения!.";
    static constexpr const char* kListenErrorText =
        "Ошибка поиска стандартного обработчика сообщений приложения.";
    // How long a later copy keeps trying to reach a first copy that is not listening yet.
    static constexpr std::chrono::milliseconds kDefaultConnectWindow{5000};

    enum class Role {
        First,   // this copy goes on; activationRequested() comes from the event loop
        Second,  // another copy runs and has been asked forward (when it could be reached)
        Error,   // see LastFailure() and ErrorText()
    };
    enum class Failure { None, Lock, Listen };

    // `runtimeFolder` empty: DefaultRuntimeFolder().
    explicit SingleInstance(QString identifier = kInstanceIdentifier, QString runtimeFolder = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR, or /tmp/kestrova-<uid> when it is unset or empty.
    static QString DefaultRuntimeFolder();

    // Takes the lock or reaches the copy that holds it. Call once, after the application
    // object exists; blocks for at most the connect window.
    Role Claim();
    Failure LastFailure() const { return failure_; }
    // The message for LastFailure(), empty when there is none. The caller shows it.
    QString ErrorText() const;

    void SetConnectWindow(std::chrono::milliseconds window) { connectWindow_ = window; }

    QString Folder() const { return folder_; }
    QString LockPath() const;
    QString ServerPath() const;

signals:
    // A later copy asked this one to come forward.
    void activationRequested();

private:
    Role Fail(Failure failure);
    bool PrepareFolder() const;
    bool Listen();
    void AskFirstForward() const;
    void Accept();
    // A connection's bytes so far; true when it is finished with (a line, too much, or its end).
    bool ReadRequest(int connection, QByteArray& received);

    QString identifier_;
    QString folder_;
    bool fallbackFolder_;  // the shared /tmp one
    std::chrono::milliseconds connectWindow_ = kDefaultConnectWindow;
    QLockFile lock_;
    // A plain local socket: Qt's own would load the network library and its dependencies
    // into a program that uses it for nothing else.
    int server_ = -1;
    QSocketNotifier* serverNotifier_ = nullptr;  // child of this object
    Failure failure_ = Failure::None;
};

}  // namespace kestrova
