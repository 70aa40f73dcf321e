#include "windows/personal_info_window.h"

#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "windows/stored_properties.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

PersonalInfoWindow::PersonalInfoWindow(AppState &state, bool showHint, QWidget *owner)
    : QDialog(owner,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::WindowSystemMenuHint),
      m_state(state)
{
    setObjectName("YourInfo");
    setWindowTitle("Personal Information");
    setFixedSize(304, 261);
    setModal(true);

    auto *intro = new QLabel("To get started, please enter your last name and phone number.", this);
    intro->setObjectName("Label1(2)");
    intro->setWordWrap(true);
    QFont bold = intro->font();
    bold.setBold(true);
    intro->setFont(bold);
    intro->setGeometry(16, 12, 272, 40);

    const char *captions[2] = {"Family Name", "Home Phone Number"};
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setFont(Look::textFont(10));
        label->setGeometry(16, 62 + i * 62, 272, 20);
        m_text[i] = new QLineEdit(this);
        m_text[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        m_text[i]->setAccessibleName(captions[i]);
        m_text[i]->setGeometry(16, 84 + i * 62, 272, 24);
        label->setBuddy(m_text[i]);
    }
    m_text[0]->setText(m_state.SettingsFlags.FamilyName);
    m_text[1]->setText(m_state.SettingsFlags.HomePhone);

    m_save = new XpCmd(m_state.infoLine.get(), this);
    m_save->setObjectName("cmds(0)");
    loadButton(m_save,
               {{"Caption", "&Save"}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
               font());
    m_save->setGeometry(200, 216, 88, 28);
    m_save->setState(1);
    connect(m_save, &XpCaptionButton::clicked, this, &PersonalInfoWindow::save);

    m_hint = new QLabel("Can be changed under options.", this);
    m_hint->setObjectName("Label2");
    QFont small = m_hint->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_hint->setFont(small);
    m_hint->setGeometry(16, 222, 180, 18);
    m_hint->setVisible(showHint);

    m_text[0]->setFocus();
}

void PersonalInfoWindow::keyPressEvent(QKeyEvent *event)
{
    // Save is drawn as the default button, so Enter saves.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        save();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PersonalInfoWindow::save()
{
    const bool nameSaved = m_state.settings.setText(SettingKey::Name, m_text[0]->text().trimmed());
    if (!m_state.settings.setText(SettingKey::HomePhone, m_text[1]->text().trimmed()) || !nameSaved)
        m_state.tellSaveFailed();
    emit saved();
    m_state.PlayWave("push.wav");
    accept();
}
