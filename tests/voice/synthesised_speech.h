#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// Speech from the flite or espeak-ng command-line synthesiser as 16 kHz mono samples, with 0.4 s
// of silence either side as a microphone would hear it; empty when a tool fails. A voice starting
// with "en" is espeak-ng's (options go to it), any other flite's. The files go to workDir.
inline QByteArray synthesisedSpeech(const QString &workDir, const QString &voice, const QString &text,
                                    const QStringList &options = {})
{
    static int files = 0;
    const QDir dir(workDir);
    const QString wave = dir.filePath(QStringLiteral("raw%1.wav").arg(files));
    const QString pcm = dir.filePath(QStringLiteral("speech%1.raw").arg(files++));
    const bool espeak = voice.startsWith(QLatin1String("en"));
    const QStringList synth = espeak ? options + QStringList{"-v", voice, "-w", wave, text}
                                     : QStringList{"-voice", voice, "-t", text, "-o", wave};
    if (QProcess::execute(espeak ? "espeak-ng" : "flite", synth) != 0)
        return {};
    if (QProcess::execute(
            "sox",
            {wave, "-r", "16000", "-c", "1", "-b", "16", "-e", "signed-integer", "-t", "raw", pcm, "pad", "0.4", "0.4"})
        != 0)
        return {};
    QFile file(pcm);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
