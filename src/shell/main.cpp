// Kestrova: the program's entry. One copy per user session; the main window carries the meter.

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSessionManager>

#include "meter/meter.h"
#include "platform/disk_sync.h"
#include "platform/netlink_interface_table.h"
#include "platform/system_address_lookup.h"
#include "platform/system_clock.h"
#include "rates/rate_table.h"
#include "shell/dialogs.h"
#include "shell/fade_in.h"
#include "shell/locale_bridge.h"
#include "shell/look.h"
#include "shell/main_controller.h"
#include "shell/main_form.h"
#include "shell/russian_translation.h"
#include "shell/single_instance.h"
#include "shell/termination_watch.h"
#include "zevlink/inet_check.h"

using namespace kestrova;

int main(int argc, char* argv[]) {
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

    RateTable rates;
    NetlinkInterfaceTable interfaces;
    SystemAddressLookup address;
    SystemClock clock;
    MeterPorts ports;
    ports.programDir = programDir;
    ports.online = [] { return InetCheck(); };
    ports.interfaces = &interfaces;
    ports.address = &address;
    ports.clock = &clock;
    ports.rates = &rates;
    ports.locale = LocaleFormatOf(locale);
    ports.syncToDisk = SyncFileToDisk;
    Meter meter(std::move(ports));

    MessageBoxDialogs dialogs;
    TMainForm form(dialogs);
    form.SetMoneySeparators(DecimalSeparatorOf(locale), locale.groupSeparator());
    MainController controller(form, meter, rates, dialogs, programDir, locale);
    form.SetHandlers(&controller);

    TerminationWatch termination;
    QObject::connect(&termination, &TerminationWatch::terminationRequested, &controller,
                     &MainController::Terminate);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller,
                     [&controller](QSessionManager&) { controller.Terminate(); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &form,
                     [&form] { BringToFront(&form); });

    form.FormCreate();
    FadeIn(&form, TMainForm::kOpacity);
    const int code = QApplication::exec();
    form.SetHandlers(nullptr);
    return code;
}
