#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "settings/ini_file.h"
#include "shell/currency_edit.h"
#include "shell/locale_bridge.h"
#include "shell/main_controller.h"
#include "shell/main_form.h"
#include "shell/scripted_dialogs.h"
#include "support/fakes.h"
#include "support/gui_app.h"

namespace kestrova::testing {

// Scripted dialogs whose next message box can be held open, as a person who has not yet
// clicked OK holds it: while it is open the event loop runs, timers and all. It records how
// many boxes were open at once.
class HoldingDialogs : public ScriptedDialogs {
public:
    // The next box stays open until `release` is true (or `timeoutMs` passed); `onOpen` runs
    // as it opens.
    void HoldNextBox(std::function<bool()> release, std::function<void()> onOpen = {},
                     int timeoutMs = 10000) {
        release_ = std::move(release);
        onOpen_ = std::move(onOpen);
        timeoutMs_ = timeoutMs;
    }
    bool Held() const { return held_; }
    int BoxesClosed() const { return closed_; }
    int MostOpenAtOnce() const { return mostOpen_; }

    Answer Ask(QWidget* parent, MessageKind kind, const QString& caption,
               const QString& text) override {
        ++open_;
        mostOpen_ = std::max(mostOpen_, open_);
        const Answer answer = ScriptedDialogs::Ask(parent, kind, caption, text);
        if (release_) {
            const auto release = std::exchange(release_, {});
            if (onOpen_) std::exchange(onOpen_, {})();
            held_ = QTest::qWaitFor(release, timeoutMs_);
        }
        --open_;
        ++closed_;
        return answer;
    }

private:
    std::function<bool()> release_;
    std::function<void()> onOpen_;
    int timeoutMs_ = 0;
    bool held_ = false;
    int open_ = 0;
    int mostOpen_ = 0;
    int closed_ = 0;
};

// The program as main() puts it together, on a fake clock, link and dialogs.
class AppTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeClock clock;
    FakeInterfaces interfaces;
    FakeAddress address;
    RateTable rates;
    bool online = false;
    HoldingDialogs dialogs;
    std::unique_ptr<Meter> meter;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<MainController> controller;

    void SetUp() override {
        GuiApp();
        std::filesystem::create_directories(dir.path() / "stats");
        interfaces.Link(1, "lo").type = kIfTypeLoopback;  // an empty table is a failed read
    }
    void TearDown() override {
        controller.reset();
        form.reset();
    }

    void Start() {
        MeterPorts ports;
        ports.programDir = dir.path();
        ports.online = [this] { return online; };
        ports.interfaces = &interfaces;
        ports.address = &address;
        ports.clock = &clock;
        ports.rates = &rates;
        ports.locale = LocaleFormatOf(QLocale(QLocale::Russian));
        meter = std::make_unique<Meter>(std::move(ports));
        form = std::make_unique<TMainForm>(dialogs);
        form->SetMoneySeparators(',', QStringLiteral("\u00a0"));
        controller = std::make_unique<MainController>(*form, *meter, rates, dialogs, dir.path(),
                                                      QLocale(QLocale::Russian));
        form->SetHandlers(controller.get());
        form->FormCreate();
    }

    IniFile Config() { return IniFile(dir.path() / "Config.ini"); }
    MonthStatsFile Stats() {
        return MonthStatsFile(MonthStatsFile::PathFor(dir.path(), meter->MonthKey()));
    }
    // `n` seconds of the window's timers, each followed by what it left for the event loop.
    void Seconds(int n, std::uint64_t inPerSecond = 0) {
        for (int i = 0; i < n; ++i) {
            clock.AdvanceSeconds(1);
            if (online && !interfaces.rows.empty()) interfaces.rows.back().inOctets += inPerSecond;
            form->MinusTraficTimer();
            form->TimerTimer();
            QCoreApplication::sendPostedEvents();
        }
    }
    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& m : dialogs.Messages()) texts.push_back(m.text);
        return texts;
    }
};

}  // namespace kestrova::testing
