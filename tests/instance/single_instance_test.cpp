#include "shell/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

#include "probe_codes.h"
#include "probe_process.h"

namespace kestrova {
namespace {

using test::ProbeProcess;
namespace probe = test::probe;

const QString kFirst = QString::fromLatin1(probe::kFirstLine);
const QString kActivation = QString::fromLatin1(probe::kActivationLine);
constexpr int kWaitMs = 10000;

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        ASSERT_TRUE(temp_.isValid());
        // Not made here: the first copy makes it.
        folder_ = temp_.filePath(QStringLiteral("runtime"));
    }

    // A name of this test run alone, so that nothing else running here can answer.
    static QString Identifier() {
        return QStringLiteral("KestrovaInstanceTest%1").arg(QCoreApplication::applicationPid());
    }
    QString StopFile() const { return temp_.filePath(QStringLiteral("stop")); }
    QStringList Args(const QString& folder) const {
        QStringList args{QStringLiteral("--id"), Identifier(), QStringLiteral("--stop"),
                         StopFile()};
        if (!folder.isEmpty()) args << QStringLiteral("--folder") << folder;
        return args;
    }
    QStringList Args() const { return Args(folder_); }
    void Stop() const {
        QFile stop(StopFile());
        ASSERT_TRUE(stop.open(QIODevice::WriteOnly));
    }
    // What the probes leave in the runtime folder.
    QStringList Leftovers() const {
        return QDir(folder_).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir temp_;
    QString folder_;
};

TEST_F(SingleInstanceTest, SecondCopyAsksTheFirstForwardAndEnds) {
    ProbeProcess first(Args());
    ASSERT_TRUE(first.WaitForLines(kFirst, 1, kWaitMs)) << first.Lines().join('\n').toStdString();

    ProbeProcess second(Args());
    ASSERT_TRUE(second.WaitForExit(kWaitMs));
    EXPECT_EQ(second.ExitCode(), probe::kSecond);
    EXPECT_TRUE(second.Lines().isEmpty()) << second.Lines().join('\n').toStdString();
    ASSERT_TRUE(first.WaitForLines(kActivation, 1, kWaitMs));

    Stop();
    ASSERT_TRUE(first.WaitForExit(kWaitMs));
    EXPECT_EQ(first.ExitCode(), probe::kFirstStopped);
    EXPECT_EQ(first.CountLines(kActivation), 1);
    // A first copy that ends normally leaves neither its lock nor its socket behind.
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(' ').toStdString();
}

TEST_F(SingleInstanceTest, OfTwentyCopiesStartedAtOnceOneRuns) {
    constexpr int kCopies = 20;
    std::vector<std::unique_ptr<ProbeProcess>> copies;
    for (int i = 0; i < kCopies; ++i) copies.push_back(std::make_unique<ProbeProcess>(Args()));

    const auto running = [&] {
        int count = 0;
        for (const auto& copy : copies) count += copy->IsRunning() ? 1 : 0;
        return count;
    };
    const QDeadlineTimer deadline(3 * kWaitMs);
    while (running() > 1 && !deadline.hasExpired())
        for (const auto& copy : copies) copy->WaitForExit(10);
    ASSERT_EQ(running(), 1);

    ProbeProcess* first = nullptr;
    for (const auto& copy : copies) {
        if (copy->IsRunning())
            first = copy.get();
        else
            EXPECT_EQ(copy->ExitCode(), probe::kSecond) << copy->Lines().join('\n').toStdString();
    }
    ASSERT_TRUE(first->WaitForLines(kFirst, 1, kWaitMs));
    // Each later copy reached it, including those that came before it listened.
    EXPECT_TRUE(first->WaitForLines(kActivation, kCopies - 1, kWaitMs))
        << first->CountLines(kActivation);

    Stop();
    ASSERT_TRUE(first->WaitForExit(kWaitMs));
    EXPECT_EQ(first->ExitCode(), probe::kFirstStopped);
    EXPECT_EQ(first->CountLines(kActivation), kCopies - 1);
}

TEST_F(SingleInstanceTest, KilledFirstCopyDoesNotStopTheNext) {
    const SingleInstance names(Identifier(), folder_);
    {
        ProbeProcess killed(Args());
        ASSERT_TRUE(killed.WaitForLines(kFirst, 1, kWaitMs));
        killed.Kill();
    }
    ASSERT_TRUE(QFileInfo::exists(names.LockPath()));
    ASSERT_TRUE(QFileInfo::exists(names.ServerPath()));

    ProbeProcess next(Args());
    ASSERT_TRUE(next.WaitForLines(kFirst, 1, kWaitMs)) << next.Lines().join('\n').toStdString();
    // Its socket replaced the dead one: a later copy reaches it.
    ProbeProcess later(Args());
    ASSERT_TRUE(later.WaitForExit(kWaitMs));
    EXPECT_EQ(later.ExitCode(), probe::kSecond);
    EXPECT_TRUE(next.WaitForLines(kActivation, 1, kWaitMs));
}

TEST_F(SingleInstanceTest, WithoutXdgRuntimeDirUsesPrivateFolderInTmp) {
    const QString fallback = QStringLiteral("/tmp/kestrova-%1").arg(::getuid());
    // A folder somebody left open is closed to others again.
    if (QFileInfo(fallback).isDir() && !QFileInfo(fallback).isSymLink())
        QFile::setPermissions(fallback, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::ExeOther);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const SingleInstance names(Identifier(), fallback);

    ProbeProcess first(Args(QString()), environment);
    ASSERT_TRUE(first.WaitForLines(kFirst, 1, kWaitMs)) << first.Lines().join('\n').toStdString();
    const QFileInfo folder(fallback);
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(folder.ownerId(), ::getuid());
    EXPECT_EQ(folder.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(QFileInfo::exists(names.LockPath()));

    ProbeProcess second(Args(QString()), environment);
    ASSERT_TRUE(second.WaitForExit(kWaitMs));
    EXPECT_EQ(second.ExitCode(), probe::kSecond);
    EXPECT_TRUE(first.WaitForLines(kActivation, 1, kWaitMs));

    Stop();
    ASSERT_TRUE(first.WaitForExit(kWaitMs));
    EXPECT_FALSE(QFileInfo::exists(names.LockPath()));
    EXPECT_FALSE(QFileInfo::exists(names.ServerPath()));
}

// A lock held by a live process that has not listened yet, as just after it started.
class NotListeningYetTest : public SingleInstanceTest {
protected:
    void SetUp() override {
        SingleInstanceTest::SetUp();
        ASSERT_TRUE(QDir().mkdir(folder_));
        names_ = std::make_unique<SingleInstance>(Identifier(), folder_);
        lock_ = std::make_unique<QLockFile>(names_->LockPath());
        ASSERT_TRUE(lock_->tryLock(0));
    }

    std::unique_ptr<SingleInstance> names_;
    std::unique_ptr<QLockFile> lock_;
};

TEST_F(NotListeningYetTest, SecondCopyKeepsTryingUntilTheFirstListens) {
    ProbeProcess second(Args());
    QThread::msleep(300);  // a few of its attempts fail
    ASSERT_TRUE(second.IsRunning());

    QLocalServer server;
    ASSERT_TRUE(server.listen(names_->ServerPath()));
    ASSERT_TRUE(server.waitForNewConnection(kWaitMs));
    QLocalSocket* request = server.nextPendingConnection();
    while (!request->canReadLine()) ASSERT_TRUE(request->waitForReadyRead(kWaitMs));
    EXPECT_EQ(request->readLine(), Identifier().toUtf8() + '\n');

    ASSERT_TRUE(second.WaitForExit(kWaitMs));
    EXPECT_EQ(second.ExitCode(), probe::kSecond);
}

TEST_F(NotListeningYetTest, SecondCopyEndsQuietlyWhenTheFirstNeverListens) {
    ProbeProcess second(Args() << QStringLiteral("--connect-window") << QStringLiteral("300"));
    ASSERT_TRUE(second.WaitForExit(kWaitMs));
    EXPECT_EQ(second.ExitCode(), probe::kSecond);
    EXPECT_TRUE(second.Lines().isEmpty()) << second.Lines().join('\n').toStdString();
}

// What reaches the first copy over its socket, and what of it counts as a request.
TEST_F(SingleInstanceTest, OnlyTheRequestLineBringsTheFirstForward) {
    SingleInstance first(Identifier(), folder_);
    ASSERT_EQ(first.Claim(), SingleInstance::Role::First);
    EXPECT_EQ(first.LastFailure(), SingleInstance::Failure::None);
    EXPECT_TRUE(first.ErrorText().isEmpty());
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    const QByteArray request = Identifier().toUtf8() + '\n';
    const struct {
        const char* name;
        QList<QByteArray> pieces;  // written one after another
        int activations;
    } cases[] = {
        {"request", {request}, 1},
        {"request in two pieces", {request.left(5), request.mid(5)}, 1},
        {"another line", {"VantrelKestrova\n"}, 0},
        {"no line end", {QByteArray(1000, 'x')}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        activations.clear();
        QLocalSocket client;
        client.connectToServer(first.ServerPath());
        ASSERT_TRUE(client.waitForConnected(kWaitMs));
        QSignalSpy ended(&client, &QLocalSocket::disconnected);
        for (const QByteArray& piece : c.pieces) {
            client.write(piece);
            client.flush();
            QCoreApplication::processEvents();
        }
        // The first copy hangs up once it has read a line or seen too much without one.
        ASSERT_TRUE(ended.wait(kWaitMs));
        QCoreApplication::processEvents();
        EXPECT_EQ(activations.count(), c.activations);
    }
}

struct FailureCase {
    const char* name;
    QString (*folder)(const QString& temp);  // makes the runtime folder under `temp`
    int exitCode;
    const char* text;
    bool needsRoot = false;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

QString FileInPlaceOfFolder(const QString& temp) {
    QFile file(temp + QStringLiteral("/file"));
    if (!file.open(QIODevice::WriteOnly)) return {};
    return file.fileName();
}

QString FolderUnderFile(const QString& temp) {
    return FileInPlaceOfFolder(temp) + QStringLiteral("/runtime");
}

// Too long a path for a local socket; the lock file beside it is fine.
QString FolderTooDeepForSocket(const QString& temp) {
    const QString folder = temp + QLatin1Char('/') + QString(120, QLatin1Char('d'));
    return QDir().mkdir(folder) ? folder : QString();
}

// Only root can give a folder away.
QString FolderOfAnotherUser(const QString& temp) {
    constexpr uid_t kNobody = 65534;
    const QString folder = temp + QStringLiteral("/theirs");
    if (!QDir().mkdir(folder) || ::chown(QFile::encodeName(folder).constData(), kNobody, kNobody))
        return {};
    return folder;
}

class FailureTest : public SingleInstanceTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, ReportsTheErrorAndItsText) {
    if (GetParam().needsRoot && ::geteuid() != 0) GTEST_SKIP() << "needs root to chown a folder";
    const QString folder = GetParam().folder(temp_.path());
    ASSERT_FALSE(folder.isEmpty());
    ProbeProcess copy(Args(folder));
    ASSERT_TRUE(copy.WaitForExit(kWaitMs));
    EXPECT_EQ(copy.ExitCode(), GetParam().exitCode);
    EXPECT_EQ(copy.Lines(),
              QStringList{QLatin1String(probe::kErrorPrefix) + Utf8(GetParam().text)});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FailureTest,
    ::testing::Values(FailureCase{"FileInPlaceOfFolder", FileInPlaceOfFolder, probe::kLockError,
                                  "Ошибка запуска приложения!."},
                      FailureCase{"FolderUnderFile", FolderUnderFile, probe::kLockError,
                                  "Ошибка запуска приложения!."},
                      FailureCase{"FolderOfAnotherUser", FolderOfAnotherUser, probe::kLockError,
                                  "Ошибка запуска приложения!.", true},
                      FailureCase{"FolderTooDeepForSocket", FolderTooDeepForSocket,
                                  probe::kListenError,
                                  "Ошибка поиска стандартного обработчика сообщений приложения."}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

}  // namespace
}  // namespace kestrova
