#pragma once
#include <QString>
#include <QStringList>

class AppState;
class InfoRecord;
class WindowOpener;

// The setup wizard's logic: the page it is on, which of its buttons show, when today's
// information is saved, and how its 38 boxes and the Yes/No choice map onto the record.
// The window shows what this says and hands over what its boxes hold.
class SetupWizard
{
public:
    static constexpr int PageCount = 7;
    static constexpr int LastPage = PageCount - 1;
    static constexpr int BoxCount = 38;

    enum class BoxKind { MultiLine, OneLine, TallLine, Short, Phone };
    struct Box {
        int page;
        int field; // InfoRecord field number
        BoxKind kind;
        const char *label; // caption convention: "&&" shows one "&"
    };
    // Box 0..37 in tab order.
    static const Box &box(int index);
    // The most a box may hold: its field's width in stored bytes.
    static int maxLength(int index);
    static QString pageTitle(int page);

    enum Button { Back = 0, Next = 1, Help = 2, Close = 3 };
    struct Entries {
        QStringList texts; // box 0..37 as typed, line breaks as "\n"
        bool friendsAllowed = false; // the "Yes" choice
    };

    SetupWizard(AppState &state, WindowOpener &windows);

    // The opening steps. Today's information is read from the file, unless a save failed since:
    // then what was typed is still only in memory and is shown again instead.
    void open();
    // One press of a button, with what the boxes hold at that moment.
    void press(Button button, const Entries &entries);
    // The window has closed, by whatever path.
    void closed();

    int page() const;
    bool backVisible() const;
    bool closeVisible() const;
    QString nextCaption() const;
    int progressMax() const { return LastPage; }
    int progressValue() const { return page(); }
    // The last press saved: the boxes show the stored text again.
    bool refillBoxes() const { return m_refill; }
    // The wizard is to close now.
    bool closing() const { return m_closing; }
    // Today's information holds text the file does not have yet.
    bool unsaved() const { return m_unsaved; }

    // Copies the boxes and the choice into the record as the file stores them.
    static void CollectWizardFields(InfoRecord &record, const Entries &entries, int recordNo);
    // What a box shows of the record: the stored text without its blank filling.
    static QString boxText(const InfoRecord &record, int box);
    // Bytes the file needs for a box's text: a line break is stored as CR LF.
    static int storedLength(const QString &text);
    // How many characters of `inserted` fit into `room` stored bytes, never splitting a
    // surrogate pair.
    static int fittingPrefix(const QString &inserted, int room);
    // After an edit turned `before` into `after`, the characters of `after` to drop so that it
    // stores in `maxBytes`: the end of what the edit put in. A count of 0 when it fits.
    struct Span {
        int from = 0;
        int count = 0;
    };
    static Span overflow(const QString &before, const QString &after, int maxBytes);

    static bool phoneCharAllowed(QChar c);
    // A phone box after an edit: characters it does not take are dropped, then, if the text is
    // still longer than `width`, the characters just before the cursor (the ones the edit put
    // there) give way. `cursor` follows the text.
    static void fitPhoneEdit(QString &text, int &cursor, int width);

private:
    bool SaveTodayInfo(const Entries &entries);
    void LoadTodayInfo();
    void showPage();

    AppState &m_state;
    WindowOpener &m_windows;
    bool m_finished = false;
    bool m_refill = false;
    bool m_closing = false;
    bool m_unsaved = false;
};
