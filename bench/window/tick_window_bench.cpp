// The tick as the running program's timer runs it: the main window's `Timer` slot, which has the
// meter tick and brings the window up to date, on the real Linux layer and the program's files,
// with the window minimised as a user leaves it. Headless (offscreen) unless a display is set;
// the side-by-side run gives it its X server and window manager.
//
// WindowTick times the slot alone, as the side-by-side run times it in the program;
// WindowTickAndEvents also the events the slot leaves for the event loop (layout, repaints).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

#include "base/program_flags.h"
#include "gui/dialogs.h"
#include "gui/locale_bridge.h"
#include "gui/look.h"
#include "meter/meter.h"
#include "platform/linux_platform.h"
#include "program_folder.h"
#include "shell/main_form.h"
#include "shell/program.h"

namespace {

using namespace kestrova;

void RunWindowTicks(benchmark::State& state, bool events) {
    const bench::ProgramFolder folder(false);
    RateTable rates = bench::UserRates();
    const QLocale locale = QLocale::system();
    LinuxPlatform platform;
    ProgramFlags flags;
    Meter meter(MeterPortsOn(platform, folder.Path(), rates, flags, LocaleFormatOf(locale)));
    MessageBoxDialogs dialogs;  // the program's own; the program's files give it nothing to say
    TMainForm form(dialogs, flags);
    form.SetMoneySeparators(DecimalSeparatorOf(locale), locale.groupSeparator());
    Program program(form, flags, meter, rates, dialogs, folder.Path(), locale);
    form.FormCreate();
    form.show();
    form.showMinimized();
    QApplication::processEvents();
    form.TimerTimer();  // the session's first tick writes the log's start line
    QApplication::processEvents();
    for (auto _ : state) {
        form.TimerTimer();
        if (events) QApplication::processEvents();
    }
    state.counters["minimized"] = form.isMinimized() ? 1 : 0;
}

void BM_WindowTick(benchmark::State& state) {
    RunWindowTicks(state, false);
}
void BM_WindowTickAndEvents(benchmark::State& state) {
    RunWindowTicks(state, true);
}

BENCHMARK(BM_WindowTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowTickAndEvents)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyLook(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
