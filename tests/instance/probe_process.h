#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace kestrova::test {

// The application object that QProcess and the widgets of the tests need; made once.
void EnsureApplication();

// One running instance_probe; killed when the test lets go of it.
class ProbeProcess {
public:
    explicit ProbeProcess(
        const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    ~ProbeProcess();
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;

    // Waits until `line` has been printed `count` times in all.
    bool WaitForLines(const QString& line, int count, int timeoutMs);
    int CountLines(const QString& line);
    // Every line printed so far.
    QStringList Lines();

    bool IsRunning() const { return process_.state() != QProcess::NotRunning; }
    bool WaitForExit(int timeoutMs);
    // The exit code of a process that ended by itself, -1 after a crash or a kill.
    int ExitCode() const;
    void Kill();

private:
    void ReadAvailable();

    QProcess process_;
    QStringList lines_;
    QByteArray partial_;
};

}  // namespace kestrova::test
