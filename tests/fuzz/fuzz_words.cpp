// The word list as read from any bytes: no crash, and never more phrases than the limit.
#include "core/voice_grammar.h"
#include "fuzz/fuzz_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile(data, size, ".txt");
    bool ok = false;
    const QStringList phrases = VoiceGrammar::readPhraseLines(path, &ok);
    if (phrases.size() > VoiceGrammar::MaxPhrases || (!ok && !phrases.isEmpty()))
        std::abort();
    QFile::remove(path);
    return 0;
}
