#include "probe_process.h"

#include <QApplication>
#include <QDeadlineTimer>

namespace kestrova::test {

void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "instance_tests";
    static char* argv[] = {name, nullptr};
    // Lives until the test program ends.
    new QApplication(argc, argv);
}

ProbeProcess::ProbeProcess(const QStringList& arguments, const QProcessEnvironment& environment) {
    EnsureApplication();
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(INSTANCE_PROBE), arguments);
}

ProbeProcess::~ProbeProcess() {
    Kill();
}

void ProbeProcess::Kill() {
    if (!IsRunning()) return;
    process_.kill();
    process_.waitForFinished(5000);
}

void ProbeProcess::ReadAvailable() {
    partial_ += process_.readAllStandardOutput();
    for (qsizetype end = partial_.indexOf('\n'); end >= 0; end = partial_.indexOf('\n')) {
        lines_ << QString::fromUtf8(partial_.left(end));
        partial_.remove(0, end + 1);
    }
}

QStringList ProbeProcess::Lines() {
    ReadAvailable();
    return lines_;
}

int ProbeProcess::CountLines(const QString& line) {
    ReadAvailable();
    return static_cast<int>(lines_.count(line));
}

bool ProbeProcess::WaitForLines(const QString& line, int count, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (CountLines(line) < count) {
        if (deadline.hasExpired()) return false;
        if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())) && !IsRunning())
            return CountLines(line) >= count;
    }
    return true;
}

bool ProbeProcess::WaitForExit(int timeoutMs) {
    const bool ended = !IsRunning() || process_.waitForFinished(timeoutMs);
    ReadAvailable();
    return ended;
}

int ProbeProcess::ExitCode() const {
    if (IsRunning() || process_.exitStatus() != QProcess::NormalExit) return -1;
    return process_.exitCode();
}

}  // namespace kestrova::test
