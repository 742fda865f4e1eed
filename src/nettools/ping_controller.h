#pragma once

#include "nettools/ping_handlers.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace kestrova {

// The ping tool: the host field, the start and stop buttons, the output memo and the series
// timer `pingtimer`.
class PingController : public PingHandlers {
public:
    PingController(QLineEdit& host, QPushButton& start, QPushButton& stop, QPlainTextEdit& output,
                   QTimer& pingtimer)
        : host_(host), start_(start), stop_(stop), output_(output), pingtimer_(pingtimer) {}

    bool HostKeyPress(char16_t /*key*/) override;
    void Button1Click() override;
    void Button2Click() override;
    void pingtimerTimer() override;

private:
    QLineEdit& host_;
    QPushButton& start_;
    QPushButton& stop_;
    QPlainTextEdit& output_;
    QTimer& pingtimer_;
};

}  // namespace kestrova
