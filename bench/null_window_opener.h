#pragma once
#include "services/window_opener.h"

// Benchmarks time one window alone: every other window the program would open is left shut.
struct NullWindowOpener : WindowOpener {
    void openWizard() override { }
    void openSitterList() override { }
    void openTopicMenu() override { }
    void closeTopicMenu() override { }
    void openOptions() override { }
    void openGettingStarted() override { }
    bool askPassword() override { return true; }
    void showHelp(int) override { }
    void showTodayInfoInWizard() override { }
    void closeAll() override { }
};
