#include "windows/options_window.h"

#include "controls/look.h"
#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "core/password_check.h"
#include "services/prompter.h"
#include "services/window_opener.h"
#include "windows/info_window.h"
#include "windows/password_windows.h"
#include "windows/stored_properties.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

const char *const kChecks[5]
    = {"Use Voice Commands?", "UseTalk Back?", "Use Auto Dial?", "Use Start-Stop Timing?", "Use Password?"};
const SettingKey kKeys[5]
    = {SettingKey::VoiceOn, SettingKey::Talk, SettingKey::AutoDial, SettingKey::StartStop, SettingKey::UsePassword};
// Rows of the check boxes; the two buttons sit in rows of their own below boxes 0 and 4.
const int kCheckTop[5] = {66, 126, 154, 182, 210};
constexpr int kRowHeight = 22;

QColor linkColour()
{
    return QColor(30, 124, 187);
}

bool flagOf(const SettingsFlags &f, int index)
{
    switch (index) {
    case 0: return f.VoiceOn;
    case 1: return f.TalkBack;
    case 2: return f.AutoDial;
    case 3: return f.StartStop;
    default: return f.UsePassword;
    }
}

} // namespace

QString OptionsWindow::infoText(int index)
{
    const QString br = QStringLiteral("\r\n");
    switch (index) {
    case 0:
        return "Use voice commands if you want your computer to hear you, and respond by calling the needed phone "
               "number."
            + br + "You will need a microphone and voice reconition software for this option. See Help.";
    case 1:
        return "This option will use a computer voice to call out the phone numbers for you. Just click on the phone "
               "next to the phone number to hear the number."
            + br
            + "Can be used with Voice Commands, So you can hear the phone number from across the room. see help "
              "for commands.";
    case 2:
        return "Auto Dial will actually dial the phone number for you. You must have a modem connected and some "
               "telephony software for this option."
            + br
            + "If used with voice commands, you can also cancel the call by saying \"Cancel\", \"Abort\" or "
              "\"Hang Up\".";
    case 3:
        return "Start-Stop timing, can be used to keep track of the time you are gone, and can be automatically added "
               "to the selected sitter's hours. See \"Sitter List\", and click on \"Add Time to Hours\".";
    case 4:
        return "The Password option lets you keep the Sitter's List secret, and from stopping the timer, and the "
               "other information from being altered."
            + br + br + "Please see help on passwords.";
    }
    return {};
}

OptionsWindow::OptionsWindow(AppState &state, PasswordCheck &password, WindowOpener &windows, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_state(state), m_password(password), m_windows(windows)
{
    setObjectName("Options");
    setAccessibleName("Options");
    setModal(true);
    setFixedSize(400, 300);

    auto *heading = new QLabel("Options", this);
    heading->setObjectName("Label1(44)");
    heading->setFont(Look::titleFont(14));
    heading->setGeometry(20, 10, 360, 28);
    auto *intro = new QLabel("Check off the options you want.", this);
    intro->setObjectName("Label2");
    intro->setGeometry(20, 40, 360, 18);

    QPalette link = palette();
    link.setColor(QPalette::WindowText, linkColour());
    auto makeLink = [&](const QString &name, const QString &text, const QString &about, const QRect &geometry) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setPalette(link);
        l->setCursor(Qt::PointingHandCursor);
        // Reachable from the keyboard too: Tab to it, Space or Enter opens it.
        l->setFocusPolicy(Qt::TabFocus);
        l->setAccessibleName(text);
        l->setAccessibleDescription(about);
        l->setGeometry(geometry);
        l->installEventFilter(this);
        return l;
    };

    for (int i = 0; i < 5; ++i) {
        auto *box = new QCheckBox(QString::fromLatin1(kChecks[i]), this);
        box->setObjectName(QStringLiteral("Check1(%1)").arg(i));
        box->setAccessibleName(QString::fromLatin1(kChecks[i]));
        box->setGeometry(30, kCheckTop[i], 200, kRowHeight);
        connect(box, &QCheckBox::toggled, this, &OptionsWindow::applyEnablingRules);
        m_checks[i] = box;
        m_info[i] = makeLink(QStringLiteral("Label1(%1)").arg(i), "Info...", "About " + box->text(),
                             QRect(250, kCheckTop[i] + 3, 60, 16));
    }
    m_help = makeLink("Label1(5)", "Help...", "Help on the options", QRect(30, 272, 60, 16));

    auto makeButton = [&](int index, const QString &caption, const QRect &geometry) {
        auto *b = new XpCmd(m_state.infoLine.get(), this);
        b->setObjectName(QStringLiteral("xpcmd1(%1)").arg(index));
        loadButton(
            b, {{"Caption", caption}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
            font());
        b->setGeometry(geometry);
        m_buttons[index] = b;
        return b;
    };
    makeButton(0, "&Save", QRect(300, 260, 84, 28))->setToolTip("Save Options");
    makeButton(1, "Set &Password", QRect(50, 236, 110, 26));
    makeButton(2, "Modify Words", QRect(50, 92, 110, 26));

    connect(m_buttons[0], &XpCaptionButton::clicked, this, &OptionsWindow::save);
    connect(m_buttons[1], &XpCaptionButton::clicked, this, &OptionsWindow::setPassword);
    connect(m_buttons[2], &XpCaptionButton::clicked, this, [this] {
        m_state.PlayWave("bink.wav");
        emit wordsRequested();
    });

    // The load steps.
    m_buttons[2]->setEnabled(false);
    m_buttons[1]->setEnabled(false);
    m_buttons[0]->setState(1);
    m_state.LoadSettings();
    for (int i = 0; i < 5; ++i)
        m_checks[i]->setChecked(flagOf(m_state.SettingsFlags, i));
    applyEnablingRules();
}

void OptionsWindow::applyEnablingRules()
{
    m_buttons[2]->setEnabled(m_checks[0]->isChecked());
    m_buttons[1]->setEnabled(m_checks[4]->isChecked());
}

void OptionsWindow::setPassword()
{
    m_state.PlayWave("bink.wav");
    WritePasswordWindow window(m_state, m_password, this);
    window.exec();
}

void OptionsWindow::showInfo(int index)
{
    InfoWindow::showForTopic(this, index, infoText(index));
}

void OptionsWindow::save()
{
    // Switching the password on with none stored would lock the parents out of every protected
    // action, this window included: a password is set first, or the option stays off.
    if (m_checks[4]->isChecked() && !m_password.isStored()) {
        WritePasswordWindow window(m_state, m_password, this);
        window.exec();
        if (!m_password.isStored()) {
            m_checks[4]->setChecked(false);
            if (m_state.services.prompter)
                m_state.services.prompter->message(
                    "No password was set, so \"Use Password?\" stays off. Set a password to use it.",
                    "Password not set", Prompter::Icon::Information);
            return;
        }
    }
    const bool voiceWasOn = m_state.SettingsFlags.VoiceOn;
    bool saved = true;
    for (int i = 0; i < 5; ++i)
        saved = m_state.settings.setFlag(kKeys[i], m_checks[i]->isChecked()) && saved;
    // The options still hold for this run.
    if (!saved)
        m_state.tellSaveFailed();
    m_state.LoadSettings();
    // Switching voice on loads the grammar through the settings' change signal already.
    if (m_state.SettingsFlags.VoiceOn && voiceWasOn)
        emit grammarReloadRequested();
    m_state.PlayWave("push.wav");
    accept();
}

bool OptionsWindow::eventFilter(QObject *watched, QEvent *event)
{
    bool activated
        = event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        activated = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (activated) {
        if (watched == m_help) {
            m_windows.showHelp(3);
            return true;
        }
        for (int i = 0; i < 5; ++i)
            if (watched == m_info[i]) {
                showInfo(i);
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Look::panel());
    p.setPen(QPen(Look::frame(), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}
