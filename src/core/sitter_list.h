#pragma once
#include "records/sitter_file.h"
#include "records/sitter_record.h"

#include <QObject>
#include <QString>
#include <array>

class AppState;

// The sitter list's commands and states, without widgets: browsing, adding, updating, erasing,
// the two sums and the name search that pauses at each match while everything else stays usable.
// The window copies its boxes' text in with setBox() and shows what this holds after changed().
class SitterList : public QObject
{
    Q_OBJECT
public:
    // Text1(0..7); box 6 is the total, never stored.
    static constexpr int BoxCount = 8;
    static constexpr int TotalBox = 6;

    explicit SitterList(AppState &state, QObject *parent = nullptr);

    // The window's load.
    void open();
    void update();
    // Asks first; while a new sitter is being entered it throws that entry away instead.
    void erase();
    void back();
    void next();
    void total();
    void search();
    void addOrSave();
    void addTimer();
    // The search box's text changed: a paused search ends.
    void setSearchText(const QString &text);
    // The window is closing, however it was closed.
    void closing();

    QString box(int i) const { return m_boxes[i]; }
    void setBox(int i, const QString &text) { m_boxes[i] = text; }

    int CurrentSitter = 1;
    int SitterCount = 0;
    bool AddingNew = false;
    bool Searching = false;
    int ResumeAfter = 0;

    QString recordLabel() const { return m_label; }
    QString addCaption() const;
    QString searchCaption() const;
    bool backVisible() const { return m_backVisible; }
    bool nextVisible() const { return m_nextVisible; }

    static QString tooLargeText();
    static QString fullText();

signals:
    void changed();

private:
    void ShowSitter();
    bool save();
    void cancelEntry();
    void clearBoxes();
    void scanFrom(int from);
    void release();
    void endSearch();
    void placeBrowseButtons();
    // Reports refusals the file layer makes for any command; true when one was reported.
    bool refused(const SitterFile::Outcome &out);
    SitterRecord fromBoxes() const;
    void done() { emit changed(); }

    AppState &m_state;
    SitterRecord m_buffer;
    std::array<QString, BoxCount> m_boxes;
    QString m_label;
    QString m_searchText;
    QString m_searchFor;
    int m_match = 0;
    bool m_backVisible = false;
    bool m_nextVisible = false;
};
