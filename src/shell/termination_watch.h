#pragma once

#include <QObject>

class QSocketNotifier;

namespace kestrova {

// Turns SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, the end of the desktop session) into a
// signal of the event loop, so the program can save its figures before it ends. One per
// process.
class TerminationWatch : public QObject {
    Q_OBJECT

public:
    explicit TerminationWatch(QObject* parent = nullptr);
    ~TerminationWatch() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrova
