#include "windows/memo_box.h"

#include "core/setup_wizard.h"

#include <QTextCursor>

MemoBox::MemoBox(int maxBytes, QWidget *parent) : QPlainTextEdit(parent), m_maxBytes(maxBytes)
{
    // Tab moves on to the next box, as in the one-line boxes.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &MemoBox::holdToLimit);
}

void MemoBox::holdToLimit()
{
    if (m_trimming)
        return;
    const QString after = toPlainText();
    const SetupWizard::Span cut = SetupWizard::overflow(m_before, after, m_maxBytes);
    if (cut.count > 0) {
        m_trimming = true;
        QTextCursor c(document());
        c.setPosition(cut.from);
        c.setPosition(cut.from + cut.count, QTextCursor::KeepAnchor);
        // One undo step takes back the edit and its trimming together.
        c.joinPreviousEditBlock();
        c.removeSelectedText();
        c.endEditBlock();
        m_trimming = false;
    }
    m_before = toPlainText();
}
