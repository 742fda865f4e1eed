// Kestrova: the program's entry. One copy per user session; the main window carries the meter.

#include <malloc.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <memory>

#include "base/program_flags.h"
#include "gui/bring_to_front.h"
#include "gui/dialogs.h"
#include "gui/fade_in.h"
#include "gui/locale_bridge.h"
#include "gui/look.h"
#include "gui/russian_translation.h"
#include "meter/meter.h"
#include "platform/linux_platform.h"
#include "rates/rate_table.h"
#include "shell/main_form.h"
#include "shell/program.h"
#include "shell/single_instance.h"
#include "shell/termination_watch.h"

using namespace kestrova;

int main(int argc, char* argv[]) {
    // One heap for all threads: the worker threads allocate little, and a heap of their own
    // each would stay resident all day.
    mallopt(M_ARENA_MAX, 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    // Closing the main window hides it; only the exit command ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallRussianTranslation(app);
    ApplyLook(app);

    SingleInstance instance;
    switch (instance.Claim()) {
        case SingleInstance::Role::Second:
            return 0;  // the first copy comes forward; this one ends without a word
        case SingleInstance::Role::Error:
            QMessageBox::critical(nullptr, QString(), instance.ErrorText());
            return 0;
        case SingleInstance::Role::First:
            break;
    }

    // Settings, statistics and the default log live beside the program file.
    const std::filesystem::path programDir = PathOf(QCoreApplication::applicationDirPath());
    const QLocale locale = QLocale::system();

    ProgramFlags flags;
    RateTable rates;
    LinuxPlatform platform;
    Meter meter(MeterPortsOn(platform, programDir, rates, flags, LocaleFormatOf(locale)));

    MessageBoxDialogs dialogs;
    TMainForm form(dialogs, flags);
    form.SetMoneySeparators(DecimalSeparatorOf(locale), locale.groupSeparator());
    Program program(form, flags, meter, rates, dialogs, programDir, locale);
    MainController& controller = program.Main();

    TerminationWatch termination;
    QObject::connect(&termination, &TerminationWatch::terminationRequested, &controller,
                     &MainController::Terminate);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller,
                     [&controller](QSessionManager&) { controller.Terminate(); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &form,
                     [&form] { BringToFront(&form); });

    // The event loop wakes for the stats folder only when a file leaves it.
    std::unique_ptr<QSocketNotifier> statsWatch;
    if (platform.statsWatch.Descriptor() >= 0) {
        statsWatch = std::make_unique<QSocketNotifier>(platform.statsWatch.Descriptor(),
                                                       QSocketNotifier::Read);
        QObject::connect(statsWatch.get(), &QSocketNotifier::activated, &controller,
                         [&controller, notifier = statsWatch.get()] {
                             if (!controller.StatsFolderChanged()) notifier->setEnabled(false);
                         });
    }

    form.FormCreate();
    FadeIn(&form, TMainForm::kOpacity);
    // What start-up built and dropped (parsing fonts and settings, the first layout) goes
    // back to the system once the window is up, instead of staying resident all day.
    QTimer::singleShot(std::chrono::seconds(2), [] { malloc_trim(0); });
    return QApplication::exec();
}
