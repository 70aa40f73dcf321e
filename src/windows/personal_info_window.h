#pragma once
#include <QDialog>

class AppState;
class QLabel;
class QLineEdit;
class XpCmd;

// "Personal Information": the family name and home phone, kept in the settings.
class PersonalInfoWindow : public QDialog
{
    Q_OBJECT
public:
    // showHint makes "Can be changed under options." visible (first run).
    PersonalInfoWindow(AppState &state, bool showHint, QWidget *owner);

    QLineEdit *nameBox() const { return m_text[0]; }
    QLineEdit *phoneBox() const { return m_text[1]; }
    XpCmd *saveButton() const { return m_save; }
    QLabel *hint() const { return m_hint; }

    void save();

protected:
    void keyPressEvent(QKeyEvent *event) override;

signals:
    // The name and phone were stored; the main window shows them.
    void saved();

private:
    AppState &m_state;
    QLineEdit *m_text[2] = {};
    XpCmd *m_save = nullptr;
    QLabel *m_hint = nullptr;
};
