#include "app/main_window.h"

#include "app/decorations.h"
#include "app/splash_window.h"
#include "app/today_info_pages.h"
#include "controls/look.h"
#include "controls/xp_cmd.h"
#include "controls/xp_cmd_but.h"
#include "controls/xp_cmd_button.h"
#include "core/app_logic.h"
#include "core/app_state.h"
#include "core/info_line.h"
#include "core/sound_services.h"
#include "records/info_file.h"
#include "services/event_pump.h"
#include "services/pointer_mover.h"
#include "services/window_opener.h"
#include "windows/stored_properties.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
// Region geometry in pixels (the layout was drawn at 15 twips a pixel).
constexpr QRect kTops(0, 0, 722, 101);
constexpr QRect kLefts(0, 101, 129, 441);
constexpr QRect kCentre(129, 101, 593, 441);
constexpr QRect kBottom(0, 542, 722, 30);
constexpr QRect kRight(722, 0, 9, 572);

const char *const kPanelCaptions[4] = {" Setup Wizard", " Sitter List", " Help && Options", "Make Top Window"};
const char *const kPanelTips[4]
    = {"Enter todays information", "View, Enter, or Edit sitters list.", "Help and Options", nullptr};

QLabel *plainLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

MainWindow::MainWindow(AppState &state, AppLogic &logic, WindowOpener &windows, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_state(state), m_logic(logic), m_windows(windows)
{
    setObjectName("Main");
    setWindowTitle("The Hushby v2.0");
    setAccessibleName("The Hushby v2.0");
    setFixedSize(731, 572);
    setAttribute(Qt::WA_DeleteOnClose, false);

    buildTopBar();
    buildLeftPanel();
    m_pages = new TodayInfoPages(this);
    auto *centre = Look::region(this, "MainBackElastic", kCentre, Look::page());
    m_pages->setParent(centre);
    m_pages->setGeometry(4, 4, kCentre.width() - 8, kCentre.height() - 6);
    buildBottomBar();
    Look::region(this, "Right(0)", kRight, Look::frame());

    auto makeTimer = [this](const char *name, int ms) {
        auto *t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(ms);
        return t;
    };
    m_timer2 = makeTimer("Timer2", 3000);
    connect(m_timer2, &QTimer::timeout, this, &MainWindow::Timer2Tick);
    m_timer2->start();
    m_bedTimer = makeTimer("BedTimer", 20000);
    m_topTimer = makeTimer("TopTimer", 30000);
    m_timer1 = makeTimer("Timer1", 204);
    m_doTime = makeTimer("DoTime", 60000);

    connect(m_pages, &QTabWidget::currentChanged, this, [this] { m_pages->selectOp(m_state.TodayInfo); });
    wireLogic();

    // Creation steps.
    m_cmdStartTime->setVisible(m_state.SettingsFlags.StartStop);
    showFamily();

    // Moving over the window's own background, the tab set or the first page closes the topic menu.
    // The page's answers are selectable labels that keep pointer moves to themselves, so they and
    // the page's other parts are watched too: to the user they are all the page.
    QList<QWidget *> watched = {this, m_pages};
    if (QWidget *front = m_pages->findChild<QWidget *>("Front"))
        watched << front << front->findChildren<QWidget *>();
    for (QWidget *w : watched) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void MainWindow::wireLogic()
{
    connect(m_pages, &TodayInfoPages::phoneClicked, this, [this](int k) { m_logic.dialing.PhonePictureClick(k); });
    m_logic.interpreter.check1Checked = [this] { return m_pages->Check1->isChecked(); };
    m_logic.interpreter.check2Checked = [this] { return m_pages->Check2->isChecked(); };

    BedTimeReminder &bed = m_logic.bedTime;
    connect(&bed, &BedTimeReminder::timerRunningChanged, this, [this](bool running) {
        if (running)
            m_bedTimer->start();
        else
            m_bedTimer->stop();
    });
    connect(m_bedTimer, &QTimer::timeout, &bed, &BedTimeReminder::tick);
    for (QRadioButton *option : m_pages->Option1)
        connect(option, &QRadioButton::clicked, this,
                [this] { m_logic.bedTime.optionClicked(m_pages->Option1[1]->isChecked()); });
    connect(m_pages->Check1, &QCheckBox::clicked, this, [this, &bed](bool on) {
        if (!bed.Check1Clicked(on))
            m_state.tellSaveFailed();
    });
    connect(m_pages->Check2, &QCheckBox::clicked, this, [this, &bed](bool on) {
        if (!bed.Check2Clicked(on))
            m_state.tellSaveFailed();
    });
    connect(&m_state.settings, &Settings::changed, this, &MainWindow::settingChanged);

    StartStopTiming &timing = m_logic.timing;
    connect(m_cmdStartTime, &XpCaptionButton::clicked, this, [this] { m_logic.timing.click(m_windows); });
    connect(&timing, &StartStopTiming::changed, this, [this] {
        m_cmdStartTime->setCaption(m_logic.timing.caption());
        m_lblTime->setText(m_logic.timing.label());
    });
    // The first tick comes one full minute after the start.
    connect(&timing, &StartStopTiming::timerRunningChanged, this, [this](bool running) {
        if (running)
            m_doTime->start();
        else
            m_doTime->stop();
    });
    connect(m_doTime, &QTimer::timeout, &timing, &StartStopTiming::tick);

    TopWindowMode &top = m_logic.topWindow;
    connect(this, &MainWindow::topWindowSwitchRequested, &top, &TopWindowMode::toggle);
    connect(&top, &TopWindowMode::switched, this, &MainWindow::topWindowSwitched);
    connect(&top, &TopWindowMode::recentreRequested, this, [this] { keepOnTop(true); });
    connect(m_topTimer, &QTimer::timeout, &top, &TopWindowMode::TopTimerTick);
    connect(m_timer1, &QTimer::timeout, &top, &TopWindowMode::Timer1Tick);
}

void MainWindow::topWindowSwitched(bool on)
{
    if (on) {
        m_topTimer->start();
        m_timer1->start();
    } else {
        m_topTimer->stop();
        m_timer1->stop();
    }
    keepOnTop(on);
}

void MainWindow::keepOnTop(bool on)
{
    if (on) {
        const QSize screenSize = screen() ? screen()->geometry().size() : QSize();
        move(TopWindowMode::centre(screenSize, size()));
    }
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) != on) {
        // Changing the flag re-creates the native window; it comes back where it was, unactivated.
        const QPoint at = pos();
        const bool quiet = testAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_ShowWithoutActivating, !on);
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        move(at);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    }
    if (on)
        raise();
}

void MainWindow::settingChanged(SettingKey key)
{
    const SettingsFlags &flags = m_state.SettingsFlags;
    switch (key) {
    case SettingKey::Name:
    case SettingKey::HomePhone: showFamily(); break;
    case SettingKey::StartStop: m_cmdStartTime->setVisible(flags.StartStop); break;
    case SettingKey::Use911: m_pages->Check1->setChecked(flags.Use911); break;
    case SettingKey::UseAlarm: m_pages->Check2->setChecked(flags.UseAlarm); break;
    default: break;
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::buildTopBar()
{
    m_tops = Look::region(this, "Tops", kTops, Look::frame());
    m_tops->installEventFilter(this);
    auto *title = plainLabel(m_tops, "LblTitle", "The Hushby");
    title->setFont(Look::titleFont(30));
    QPalette pal = title->palette();
    pal.setColor(QPalette::WindowText, Look::lightText());
    title->setPalette(pal);
    auto *shadow = new QGraphicsDropShadowEffect(title);
    shadow->setOffset(3, 3);
    shadow->setBlurRadius(4);
    shadow->setColor(QColor(0, 0, 0, 190));
    title->setGraphicsEffect(shadow);
    title->adjustSize();
    title->move(22, 12);
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *version = plainLabel(m_tops, "LblVersion", "v2.0");
    auto *tm = plainLabel(m_tops, "LblTM", "TM");
    const QFont small = Look::titleFont(8);
    for (QLabel *l : {version, tm}) {
        l->setFont(small);
        l->setPalette(pal);
        l->adjustSize();
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    tm->move(title->x() + title->width() + 2, 16);
    version->move(title->x() + title->width() + 2, title->y() + title->height() - 20);

    m_lblName = plainLabel(m_tops, "LblName", QString());
    QFont nf = Look::titleFont(14);
    nf.setItalic(true);
    m_lblName->setFont(nf);
    QPalette namePal = m_lblName->palette();
    namePal.setColor(QPalette::WindowText, Look::highlight());
    m_lblName->setPalette(namePal);
    m_lblName->setGeometry(24, 66, 600, 28);
    m_lblName->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_closeBox = new XpCmdBut(nullptr, m_tops);
    m_closeBox->setObjectName("xpcmdbut1");
    loadButton(m_closeBox, {{"Caption", QString()}}, font());
    m_closeBox->setToolTip("Close Hushby");
    m_closeBox->setGeometry(kTops.width() - 25 - 10, 8, 25, 25);
    connect(m_closeBox, &XpCaptionButton::mouseDown, this, [this] { closeBoxPress(); });
}

void MainWindow::buildLeftPanel()
{
    m_lefts = Look::region(this, "Lefts", kLefts, Look::panel());
    m_cmdStartTime = new XpCmd(m_state.infoLine.get(), m_lefts);
    m_cmdStartTime->setObjectName("cmdStartTime");
    loadButton(
        m_cmdStartTime,
        {{"Caption", "Start Time"}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
        font());
    m_cmdStartTime->setToolTip("Start time for sitter.");
    m_cmdStartTime->setGeometry(10, 6, 109, 26);

    for (int i = 0; i < 4; ++i) {
        auto *b = new XpCmdButton(m_state.infoLine.get(), m_lefts);
        b->setObjectName(QStringLiteral("xpcmdbutton1(%1)").arg(i));
        loadButton(b, {{"Caption", QString::fromLatin1(kPanelCaptions[i])}, {"Font", Look::titleFont(12)}}, font());
        if (kPanelTips[i])
            b->setToolTip(QString::fromLatin1(kPanelTips[i]));
        b->setGeometry(10, 38 + i * 66, 109, 60);
        connect(b, &XpCaptionButton::mouseDown, this, [this, i] { panelPress(i); });
        m_panel[i] = b;
    }
    auto *picture = new QLabel(m_lefts);
    picture->setObjectName("LeftsPicture");
    picture->setPixmap(Decorations::panelPicture(QSize(109, 130)));
    picture->setGeometry(10, 304, 109, 130);
}

void MainWindow::buildBottomBar()
{
    auto *bottom = Look::region(this, "Bottom(1)", kBottom, Look::frame());
    QPalette pal = bottom->palette();
    pal.setColor(QPalette::WindowText, Look::lightText());
    m_lblTime = plainLabel(bottom, "LblTime", QString());
    m_lblTime->setPalette(pal);
    m_lblTime->setGeometry(8, 6, 120, 18);
    m_lblInfo = new QLabel(bottom);
    m_lblInfo->setObjectName("LblInfo");
    // Hints are written with the caption convention ("&&" shows one "&").
    m_lblInfo->setTextFormat(Qt::PlainText);
    m_lblInfo->setPalette(pal);
    m_lblInfo->setGeometry(136, 6, kBottom.width() - 144, 18);
    connect(m_state.infoLine.get(), &InfoLine::textChanged, this, [this](const QString &text) {
        QString shown = text;
        shown.replace(QLatin1String("&&"), QLatin1String("&"));
        m_lblInfo->setText(shown);
    });
}

void MainWindow::load()
{
    // Seeding the random generator from the clock happens when the clock service is made.
    m_state.InfoRecordNo = 1;
    m_state.WizardPage = 0;
    m_state.setPathsFromDataDir();
    m_state.WizardOpen = false;
    LoadTodayInfo();
    m_panel[0]->setState(1);
    m_logic.LoadVoiceGrammar();
    m_pages->Check1->setChecked(m_state.SettingsFlags.Use911);
    m_pages->Check2->setChecked(m_state.SettingsFlags.UseAlarm);
    m_state.ListClosing = false;
}

void MainWindow::LoadTodayInfo()
{
    InfoRecord record = m_state.TodayInfo;
    if (InfoFile::read(m_state.InfoFilePath, m_state.InfoRecordNo, record) != InfoFile::ReadResult::Error)
        m_state.TodayInfo = record;
    ShowTodayInfo();
}

void MainWindow::ShowTodayInfo()
{
    if (m_state.WizardOpen) {
        m_windows.showTodayInfoInWizard();
        return;
    }
    m_pages->showRecord(m_state.TodayInfo);
}

void MainWindow::showFamily()
{
    m_lblName->setText(m_state.SettingsFlags.FamilyName + " Family");
    m_lblName->setAccessibleName(m_lblName->text());
    m_pages->Lblphone->setText(m_state.SettingsFlags.HomePhone);
}

bool MainWindow::passwordAccepted(bool movePointer)
{
    if (!m_state.SettingsFlags.UsePassword)
        return true;
    const bool ok = m_windows.askPassword();
    if (movePointer && m_state.services.pointer)
        m_state.services.pointer->moveTo(Look::PointerAfterPassword);
    return ok;
}

void MainWindow::panelPress(int index)
{
    m_state.PlayWave("bink.wav");
    if (!passwordAccepted(true))
        return;
    PointerMover *pointer = m_state.services.pointer;
    switch (index) {
    case 0:
        if (m_state.TopWindowOn)
            return;
        m_state.WizardOpen = true;
        m_windows.openWizard();
        m_state.WizardOpen = false;
        ShowTodayInfo();
        if (pointer)
            pointer->moveTo(Look::PointerAfterWizard);
        break;
    case 1:
        if (m_state.TopWindowOn)
            return;
        m_state.ListClosing = false;
        m_windows.openSitterList();
        if (pointer)
            pointer->moveTo(Look::PointerAfterSitterList);
        break;
    case 2:
        if (m_state.TopWindowOn)
            return;
        m_windows.openTopicMenu();
        m_state.LoadSettings();
        break;
    case 3: emit topWindowSwitchRequested(); break;
    }
}

void MainWindow::closeBoxPress()
{
    if (m_state.SettingsFlags.UsePassword && !m_windows.askPassword())
        return;
    m_state.PlayWave("push.wav");
    if (m_state.services.events)
        m_state.services.events->handlePendingEvents();
    close();
}

void MainWindow::Timer2Tick()
{
    if (!m_state.SplashPending)
        return;
    m_state.SplashPending = false;
    m_timer2->stop();
    if (m_splash)
        m_splash->close();
    if (!isVisible())
        show();
    raise();
    activateWindow();
    if (m_state.FirstRun) {
        m_windows.openGettingStarted();
        m_state.FirstRun = false;
    }
}

void MainWindow::stopStartupTimer()
{
    m_timer2->stop();
}

void MainWindow::startStartupTimer()
{
    m_timer2->start(3000);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_state.FindNextRequested = true;
    m_state.ListClosing = true;
    // A sounding alarm ends with the window that started it.
    m_state.sound->setAlarmSounding(false);
    m_windows.closeAll();
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tops) {
        // Dragging the top bar moves the window, with or without a window manager.
        if (event->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() == Qt::LeftButton) {
                if (windowHandle() && windowHandle()->startSystemMove())
                    return true;
                m_dragging = true;
                m_dragOffset = me->globalPosition().toPoint() - frameGeometry().topLeft();
                return true;
            }
        } else if (event->type() == QEvent::MouseMove && m_dragging) {
            move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset);
            return true;
        } else if (event->type() == QEvent::MouseButtonRelease && m_dragging) {
            m_dragging = false;
            return true;
        }
    } else if (event->type() == QEvent::MouseMove) {
        m_windows.closeTopicMenu();
    }
    return QWidget::eventFilter(watched, event);
}
