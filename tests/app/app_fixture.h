#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

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

// The program as main() puts it together, on a fake clock, link and dialogs.
class AppTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeClock clock;
    FakeInterfaces interfaces;
    FakeAddress address;
    RateTable rates;
    bool online = false;
    ScriptedDialogs dialogs;
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
    // `n` seconds of the window's timers.
    void Seconds(int n, std::uint64_t inPerSecond = 0) {
        for (int i = 0; i < n; ++i) {
            clock.AdvanceSeconds(1);
            if (online && !interfaces.rows.empty()) interfaces.rows.back().inOctets += inPerSecond;
            form->MinusTraficTimer();
            form->TimerTimer();
        }
    }
    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const auto& m : dialogs.Messages()) texts.push_back(m.text);
        return texts;
    }
};

}  // namespace kestrova::testing
