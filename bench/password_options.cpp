// Times the password check, opening the password prompt and saving the options with voice on
// (which reloads the grammar in the real recogniser). Offscreen; prints medians of 21 rounds.
#include "core/app_logic.h"
#include "core/app_state.h"
#include "core/password_check.h"
#include "null_window_opener.h"
#include "voice/sphinx_recognizer.h"
#include "windows/options_window.h"
#include "windows/password_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
double medianMs(const std::function<void()> &step)
{
    QVector<double> ms;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer t;
        t.start();
        step();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SphinxRecognizer recognizer;
    Services services;
    services.recognizer = &recognizer;
    AppState state(services, dir.path(), dir.filePath("settings.ini"), dir.path());
    QFile::copy(QCoreApplication::applicationDirPath() + "/../words.txt", state.WordsFilePath);
    state.settings.setFlag(SettingKey::VoiceOn, true);
    AppLogic logic(state);
    logic.LoadVoiceGrammar();
    NullWindowOpener windows;

    PasswordCheck check(state.PasswordFilePath);
    if (!check.WritePassword("sitter"))
        return 1;
    check.setTyped("sitter");
    const double checkMs = medianMs([&] { check.CheckPassword(); });
    const double promptMs = medianMs([&] {
        LoginWindow prompt(state, check, nullptr);
        prompt.show();
        QCoreApplication::processEvents();
    });
    OptionsWindow options(state, check, windows, nullptr);
    int reloads = 0;
    QObject::connect(&options, &OptionsWindow::grammarReloadRequested, [&] {
        logic.LoadVoiceGrammar();
        ++reloads;
    });
    const double saveMs = medianMs([&] { options.save(); });
    std::printf("check_ms=%.3f prompt_ms=%.2f options_save_ms=%.1f (grammar reloaded %d times in 21 saves)\n", checkMs,
                promptMs, saveMs, reloads);
    return 0;
}
