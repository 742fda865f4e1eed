#include "shell/program.h"

#include "base/config_keys.h"
#include "shell/main_form.h"

namespace kestrova {

Program::Program(TMainForm& form, ProgramFlags& flags, Meter& meter, RateTable& rates,
                 Dialogs& dialogs, const std::filesystem::path& programDir, const QLocale& locale)
    : form_(form),
      rates_(form, *form.TimeList(), rates, dialogs, flags, config::FileIn(programDir), locale,
             [&form] { form.ShowTabEdit(); }),
      main_(form, flags, meter, rates, dialogs, programDir, [this] { rates_.LoadAtStart(); }),
      export_(form),
      options_(form, flags),
      floatingWindow_(*form.Refresh(), flags),
      tray_(form, *form.Hint1(), *form.onrunminim()),
      dialUp_(*form.ConnectionsListView(), *form.disconect(), *form.AutoUpdate()),
      ping_(*form.Host(), *form.Button1(), *form.Button2(), *form.Memo1(), *form.pingtimer()),
      shellCommands_(form, flags),
      about_(form) {
    MainFormHandlers handlers;
    handlers.meter = &main_;
    handlers.rates = &rates_;
    handlers.exportStats = &export_;
    handlers.options = &options_;
    handlers.floatingWindow = &floatingWindow_;
    handlers.tray = &tray_;
    handlers.dialUp = &dialUp_;
    handlers.ping = &ping_;
    handlers.shellCommands = &shellCommands_;
    handlers.about = &about_;
    form_.SetHandlers(handlers);
}

Program::~Program() {
    form_.SetHandlers({});
}

}  // namespace kestrova
