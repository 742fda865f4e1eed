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

#include "base/ini_file.h"
#include "base/program_flags.h"
#include "gui/currency_edit.h"
#include "gui/locale_bridge.h"
#include "meter/meter.h"
#include "meter/month_stats_file.h"
#include "shell/main_form.h"
#include "shell/program.h"
#include "support/fakes.h"
#include "support/gui_app.h"
#include "support/scripted_dialogs.h"

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
    ProgramFlags flags;
    std::unique_ptr<Meter> meter;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<Program> program;
    MainController* controller = nullptr;

    void SetUp() override {
        GuiApp();
        std::filesystem::create_directories(dir.path() / "stats");
    }
    void TearDown() override {
        program.reset();
        form.reset();
    }

    void Start() {
        meter = std::make_unique<Meter>(MeterPorts{
            .programDir = dir.path(),
            .online = [this] { return online; },
            .interfaces = interfaces,
            .address = address,
            .clock = clock,
            .rates = rates,
            .flags = flags,
            .locale = LocaleFormatOf(QLocale(QLocale::Russian)),
            .syncToDisk = {},
        });
        form = std::make_unique<TMainForm>(dialogs, flags);
        form->SetMoneySeparators(',', QStringLiteral("\u00a0"));
        program = std::make_unique<Program>(*form, flags, *meter, rates, dialogs, dir.path(),
                                            QLocale(QLocale::Russian));
        controller = &program->Main();
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
