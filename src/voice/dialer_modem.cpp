#include "voice/dialer_modem.h"

#include "core/dialable_number.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPort>
#include <QSet>
#include <QTimer>

namespace {

// Devices with a request under way in this program: a phrase handled while we wait for the
// modem's answer must not write a second command into the first one's dialogue.
QSet<QString> &pendingDevices()
{
    static QSet<QString> devices;
    return devices;
}

enum class Answer { None, Ok, Failed };

// Verbose and numeric final result codes; everything else (the echo, RING, info lines) is not final.
Answer classify(const QByteArray &line)
{
    if (line == "OK" || line == "0")
        return Answer::Ok;
    static const QList<QByteArray> failures{
        "ERROR", "NO CARRIER", "BUSY", "NO DIALTONE", "NO DIAL TONE", "NO ANSWER", "DELAYED", "BLACKLISTED", "3", "4",
        "6",     "7",          "8"};
    if (failures.contains(line) || line.startsWith("+CME ERROR") || line.startsWith("+CMS ERROR"))
        return Answer::Failed;
    return Answer::None;
}

// Writes a command line and waits, events running, for the modem's final result code. None when
// the line could not be written or no answer came in time.
Answer exchange(QSerialPort &port, const QByteArray &command, int timeoutMs)
{
    Answer answer = Answer::None;
    QByteArray buffer;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&port, &QSerialPort::readyRead, &loop, [&]() {
        buffer += port.readAll();
        int end;
        while (answer == Answer::None && (end = buffer.indexOf('\n')) >= 0) {
            const QByteArray line = buffer.left(end).trimmed();
            buffer.remove(0, end + 1);
            answer = classify(line);
        }
        if (answer != Answer::None)
            loop.quit();
    });
    QObject::connect(&port, &QSerialPort::errorOccurred, &loop, [&](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError)
            loop.quit();
    });
    port.clear(QSerialPort::Input); // a stale answer of an earlier dialogue is not ours
    if (port.write(command) != command.size())
        return Answer::None;
    limit.start(timeoutMs);
    // Events keep running while the modem thinks, as everywhere else in the program.
    loop.exec();
    return answer;
}

} // namespace

ModemDialer::ModemDialer(const QString &devicePath, int answerTimeoutMs)
    : m_devicePath(devicePath), m_timeoutMs(answerTimeoutMs)
{
}

QByteArray ModemDialer::dialCommand(const QString &number)
{
    return "ATDT" + DialableNumber::filter(number).toLatin1() + ";\r";
}

int ModemDialer::requestMakeCall(const QString &number, const QString &, const QString &, const QString &)
{
    if (!DialableNumber::hasDigit(number))
        return -4;
    if (m_devicePath.isEmpty() || !QFileInfo::exists(m_devicePath))
        return -2;
    const QString key = QFileInfo(m_devicePath).canonicalFilePath();
    if (pendingDevices().contains(key))
        return -3;

    auto port = std::make_unique<QSerialPort>();
    port->setPortName(m_devicePath);
    if (!port->open(QIODevice::ReadWrite)) {
        // Qt reports a device held by someone else (lock file, exclusive mode) as a permission
        // error; a device we may open ourselves is then busy rather than missing.
        const QFileInfo fi(m_devicePath);
        const bool busy = port->error() == QSerialPort::PermissionError && fi.isReadable() && fi.isWritable();
        return busy ? -3 : -2;
    }
    port->setBaudRate(QSerialPort::Baud115200);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->setDataTerminalReady(true);

    pendingDevices().insert(key);
    if (exchange(*port, dialCommand(number), m_timeoutMs) != Answer::Ok) {
        port->close();
        pendingDevices().remove(key);
        return -1;
    }
    m_line = std::move(port);
    m_lineKey = key;
    return 0;
}

void ModemDialer::hangUp()
{
    if (!m_line)
        return;
    // Taken first: a phrase handled while the modem answers may come here again. The device stays
    // taken until it is closed.
    std::unique_ptr<QSerialPort> port = std::move(m_line);
    // The receiver now holds the call; this puts the modem itself back on hook.
    exchange(*port, "ATH\r", m_timeoutMs);
    port->close();
    pendingDevices().remove(m_lineKey);
}

ModemDialer::~ModemDialer()
{
    // No dialogue here: closing drops DTR, which hangs the modem up all the same.
    if (m_line) {
        m_line->close();
        pendingDevices().remove(m_lineKey);
    }
}
