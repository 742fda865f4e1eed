#pragma once

#include <string>
#include <vector>

#include "shell/main_form_handlers.h"

namespace kestrova::testing {

// Handlers of every subsystem that note the name of every operation the window runs.
class RecordingHandlers : public MeterHandlers,
                          public RateHandlers,
                          public ExportHandlers,
                          public OptionsHandlers,
                          public FloatingWindowHandlers,
                          public TrayHandlers,
                          public DialUpHandlers,
                          public PingHandlers,
                          public ShellCommandHandlers,
                          public AboutHandlers {
public:
    std::vector<std::string> calls;
    std::vector<int> pages;   // CostTabChange arguments
    std::u16string keys;      // HostKeyPress arguments
    char16_t consumeKey = 0;  // HostKeyPress answers true for this key
    CloseAction closeAction = CloseAction::Close;

    // These handlers in every slot of the window.
    MainFormHandlers All() {
        MainFormHandlers all;
        all.meter = this;
        all.rates = this;
        all.exportStats = this;
        all.options = this;
        all.floatingWindow = this;
        all.tray = this;
        all.dialUp = this;
        all.ping = this;
        all.shellCommands = this;
        all.about = this;
        return all;
    }

    int Count(const std::string& name) const {
        int n = 0;
        for (const std::string& call : calls) n += call == name ? 1 : 0;
        return n;
    }

#define KESTROVA_RECORD(name)   \
    void name() override {      \
        calls.push_back(#name); \
    }
    KESTROVA_RECORD(FormCreate)
    KESTROVA_RECORD(FormDestroy)
    KESTROVA_RECORD(TimerTimer)
    KESTROVA_RECORD(MinusTraficTimer)
    KESTROVA_RECORD(TimerMinimizeTimer)
    KESTROVA_RECORD(AutoUpdateTimer)
    KESTROVA_RECORD(Hint1Timer)
    KESTROVA_RECORD(RefreshTimer)
    KESTROVA_RECORD(pingtimerTimer)
    KESTROVA_RECORD(sizekntrTimer)
    KESTROVA_RECORD(onrunminimTimer)
    KESTROVA_RECORD(PrefButClick)
    KESTROVA_RECORD(ToolButton1Click)
    KESTROVA_RECORD(ExportRunClick)
    KESTROVA_RECORD(HelpButClick)
    KESTROVA_RECORD(ExitButtonClick)
    KESTROVA_RECORD(ResetStatsClick)
    KESTROVA_RECORD(PauseButClick)
    KESTROVA_RECORD(RunButClick)
    KESTROVA_RECORD(openTabClick)
    KESTROVA_RECORD(SaveTabClick)
    KESTROVA_RECORD(add_tClick)
    KESTROVA_RECORD(edit_tClick)
    KESTROVA_RECORD(Del_tClick)
    KESTROVA_RECORD(clear_tClick)
    KESTROVA_RECORD(TimeList2DblClick)
    KESTROVA_RECORD(N21Click)
    KESTROVA_RECORD(N23Click)
    KESTROVA_RECORD(N24Click)
    KESTROVA_RECORD(N25Click)
    KESTROVA_RECORD(MoneyClick)
    KESTROVA_RECORD(N33Click)
    KESTROVA_RECORD(ConnectionsListViewClick)
    KESTROVA_RECORD(SpeedButton22Click)
    KESTROVA_RECORD(Button1Click)
    KESTROVA_RECORD(Button2Click)
#undef KESTROVA_RECORD

    CloseAction FormClose() override {
        calls.push_back("FormClose");
        return closeAction;
    }
    void CostTabChange(int page) override {
        calls.push_back("CostTabChange");
        pages.push_back(page);
    }
    bool HostKeyPress(char16_t key) override {
        calls.push_back("HostKeyPress");
        keys.push_back(key);
        return key == consumeKey;
    }
};

}  // namespace kestrova::testing
