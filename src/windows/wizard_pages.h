#pragma once
#include "core/setup_wizard.h"

#include <QTabWidget>

class InfoRecord;
class QRadioButton;

// The setup wizard's page set `backs`: seven pages `Bac1` holding the boxes `Text1`(0-37) and the
// Yes/No choice `Option1`. Only showPage moves between them; the tabs tell where the user is.
class WizardPages : public QTabWidget
{
    Q_OBJECT
public:
    explicit WizardPages(QWidget *parent = nullptr);

    void showPage(int page);
    // Fills the boxes with the record's text and selects Yes or No from FriendsAllowed.
    void showRecord(const InfoRecord &record);
    SetupWizard::Entries entries() const;

    // A QLineEdit, or a MemoBox for multi-line boxes.
    QWidget *box(int index) const { return m_boxes[index]; }
    QString boxText(int index) const;
    QRadioButton *option(int index) const { return m_options[index]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_boxes[SetupWizard::BoxCount] = {};
    QRadioButton *m_options[2] = {};
    int m_page = 0;
};
