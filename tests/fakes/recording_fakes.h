#pragma once
// Recording stand-ins for the outside services, shared by the tests.
#include "services/clock.h"
#include "services/dialer.h"
#include "services/event_pump.h"
#include "services/key_sender.h"
#include "services/pointer_mover.h"
#include "services/prompter.h"
#include "services/recognizer.h"
#include "services/sound_player.h"
#include "services/speech_output.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVector>
#include <functional>

// One ordered log of everything the fakes were asked to do, so tests can check the order
// across services ("speak:Ready", "play:/x/bink.wav", "dial:911", "key:Tab", ...).
struct CallLog {
    QStringList entries;
    void add(const QString &e) { entries << e; }
    QStringList with(const QString &prefix) const
    {
        QStringList out;
        for (const QString &e : entries)
            if (e.startsWith(prefix))
                out << e.mid(prefix.size());
        return out;
    }
};

// Each text is over as soon as it is handed over, unless the test holds it: then it is heard
// until finishSpeaking().
class FakeSpeech : public SpeechOutput
{
public:
    explicit FakeSpeech(CallLog &log) : m_log(log) { }
    void speak(const QString &text) override
    {
        m_log.add("speak:" + text);
        ++m_heard;
        if (!holding)
            finishSpeaking();
    }
    bool isSpeaking() const override { return m_heard > 0; }
    bool onTextSpoken(std::function<void()> spoken) override
    {
        m_spoken = tellsWhenSpoken ? std::move(spoken) : nullptr;
        return tellsWhenSpoken;
    }
    void finishSpeaking()
    {
        while (m_heard > 0) {
            --m_heard;
            if (m_spoken)
                m_spoken();
        }
    }
    bool holding = false;
    // Set before the speech is handed to SoundServices.
    bool tellsWhenSpoken = true;

private:
    CallLog &m_log;
    int m_heard = 0;
    std::function<void()> m_spoken;
};

class FakeSound : public SoundPlayer
{
public:
    explicit FakeSound(CallLog &log) : m_log(log) { }
    void play(const QString &path) override { m_log.add("play:" + path); }
    void startLoop(const QString &path) override { m_log.add("loop:" + path); }
    void stopLoop() override { m_log.add("loopStop"); }
    bool isPlayingOnce() const override { return playingOnce; }
    bool playingOnce = false;

private:
    CallLog &m_log;
};

// Runs a queued callback (if any) each time pending events are handled: that is how tests
// deliver a nested phrase in the middle of a handler.
class FakeEventPump : public EventPump
{
public:
    explicit FakeEventPump(CallLog &log) : m_log(log) { }
    void handlePendingEvents() override
    {
        ++count;
        if (!pending.isEmpty()) {
            auto f = pending.takeFirst();
            f();
        }
    }
    int count = 0;
    QVector<std::function<void()>> pending;

private:
    CallLog &m_log;
};

class FakePrompter : public Prompter
{
public:
    explicit FakePrompter(CallLog &log) : m_log(log) { }
    void message(const QString &text, const QString &title, Icon icon) override
    {
        m_log.add("message:" + title + "|" + text);
        lastIcon = icon;
    }
    Icon lastIcon = Icon::None;
    // Answers with `answer`, OK unless a test says otherwise.
    bool question(const QString &text, const QString &title) override
    {
        m_log.add("question:" + title + "|" + text);
        return answer;
    }
    bool answer = true;

private:
    CallLog &m_log;
};

class FakePointer : public PointerMover
{
public:
    explicit FakePointer(CallLog &log) : m_log(log) { }
    void moveTo(const QPoint &p) override { m_log.add(QStringLiteral("pointer:%1,%2").arg(p.x()).arg(p.y())); }

private:
    CallLog &m_log;
};

class FakeClock : public Clock
{
public:
    QDateTime now() const override { return current; }
    double nextRandom() override { return randoms.isEmpty() ? 0.0 : randoms.takeFirst(); }
    QDateTime current = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0));
    QVector<double> randoms;
};

class FakeDialer : public Dialer
{
public:
    explicit FakeDialer(CallLog &log) : m_log(log) { }
    int requestMakeCall(const QString &number, const QString &app, const QString &party,
                        const QString &comment) override
    {
        m_log.add("dial:" + number);
        lastArgs = {number, app, party, comment};
        m_holding = holdsLines && result == 0;
        return result;
    }
    bool holdsLine() const override { return m_holding; }
    void hangUp() override
    {
        m_log.add("hangUp");
        m_holding = false;
    }
    int result = 0;
    // Like a modem: an accepted call keeps the line until hangUp().
    bool holdsLines = false;
    QStringList lastArgs;

private:
    CallLog &m_log;
    bool m_holding = false;
};

class FakeKeys : public KeySender
{
public:
    explicit FakeKeys(CallLog &log) : m_log(log) { }
    void sendKey(Qt::Key key) override
    {
        m_log.add(key == Qt::Key_Tab          ? "key:Tab"
                      : key == Qt::Key_Return ? "key:Enter"
                                              : QString("key:%1").arg(int(key)));
    }

private:
    CallLog &m_log;
};

class FakeRecognizer : public Recognizer
{
public:
    explicit FakeRecognizer(CallLog &log) : m_log(log) { }
    bool stopRecognition() override
    {
        m_log.add("rec:stop");
        return available;
    }
    bool loadGrammarFile(const QString &path) override
    {
        m_log.add("rec:load:" + path);
        return available;
    }
    bool startRecognition() override
    {
        m_log.add("rec:start");
        return available;
    }
    void startUtterance() { emit utteranceStarted(); }
    void say(const QString &phrase) { emit phraseFinished(phrase); }
    bool available = true;

private:
    CallLog &m_log;
};
