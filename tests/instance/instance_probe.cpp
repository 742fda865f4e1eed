// A stand-in for the program around SingleInstance: claims the instance under a test
// identifier and reports what happened on standard output and in its exit code.
//
//   instance_probe --id ID [--folder DIR] [--stop FILE] [--lifetime MS] [--connect-window MS]
//
// As the first copy it prints a line for every activation request and ends when FILE
// appears or after the lifetime (default 20 s), so a failed test leaves nothing running.
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "probe_codes.h"
#include "shell/single_instance.h"

namespace {

namespace probe = kestrova::test::probe;
using kestrova::SingleInstance;

void PrintLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

struct Options {
    QString identifier;
    QString folder;
    QString stopFile;
    int lifetimeMs = 20000;
    int connectWindowMs = -1;
};

bool ParseMs(const QString& text, int& ms) {
    bool ok = false;
    ms = text.toInt(&ok);
    return ok && ms >= 0;
}

bool Parse(const QStringList& args, Options& options) {
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& name = args[i];
        const QString& value = args[i + 1];
        if (name == QLatin1String("--id")) {
            options.identifier = value;
        } else if (name == QLatin1String("--folder")) {
            options.folder = value;
        } else if (name == QLatin1String("--stop")) {
            options.stopFile = value;
        } else if (name == QLatin1String("--lifetime")) {
            if (!ParseMs(value, options.lifetimeMs)) return false;
        } else if (name == QLatin1String("--connect-window")) {
            if (!ParseMs(value, options.connectWindowMs)) return false;
        } else {
            return false;
        }
    }
    return args.size() % 2 == 1 && !options.identifier.isEmpty();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Options options;
    if (!Parse(QCoreApplication::arguments(), options)) return probe::kUsage;

    SingleInstance instance(options.identifier, options.folder);
    if (options.connectWindowMs >= 0)
        instance.SetConnectWindow(std::chrono::milliseconds(options.connectWindowMs));

    switch (instance.Claim()) {
        case SingleInstance::Role::Second:
            return probe::kSecond;
        case SingleInstance::Role::Error:
            PrintLine(QLatin1String(probe::kErrorPrefix) + instance.ErrorText());
            return instance.LastFailure() == SingleInstance::Failure::Listen ? probe::kListenError
                                                                             : probe::kLockError;
        case SingleInstance::Role::First:
            break;
    }

    QObject::connect(&instance, &SingleInstance::activationRequested,
                     [] { PrintLine(QLatin1String(probe::kActivationLine)); });
    QTimer stopPoll;
    if (!options.stopFile.isEmpty()) {
        QObject::connect(&stopPoll, &QTimer::timeout, [&] {
            if (QFileInfo::exists(options.stopFile)) app.exit(probe::kFirstStopped);
        });
        stopPoll.start(10);
    }
    QTimer::singleShot(options.lifetimeMs, &app, [&] { app.exit(probe::kFirstTimedOut); });
    PrintLine(QLatin1String(probe::kFirstLine));
    return app.exec();
}
