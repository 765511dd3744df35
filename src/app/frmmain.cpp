#include "app/frmmain.h"

#include "app/clicklabel.h"
#include "app/frmutilities.h"
#include "app/menubutton.h"
#include "app/menucolours.h"
#include "common/messageservice.h"
#include "common/twips.h"
#include "db/meetaddress.h"
#include "shell/activityscreen.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>

namespace {

const QString ShowTitle = QStringLiteral("KORV State Championship");
const QString NoDivision = QStringLiteral("You must select a division before you can use this option");
const QString NothingRemembered = QStringLiteral("0");
const char *const TagProperty = "Tag";

constexpr int InnerWidth = 11685;
constexpr int InnerHeight = 8280;
constexpr int ColumnTop = 1800;
constexpr int ColumnWidth = 2895;

struct MenuInfo
{
    const char *name;
    const char *caption;
    const char *panel;
};
// Index 0 is the main panel, which has no menu button of its own.
constexpr std::array<MenuInfo, 5> Menus{{
    {nullptr, nullptr, "FraMainMenu"},
    {"CmdAdmin", "Administration", "FraAdmin"},
    {"CmdMeetSetup", "Meet Setup", "FraMeetSetup"},
    {"CmdEntryBooth", "Entry Booth", "FraEntryBooth"},
    {"CmdReports", "Reports", "FraReports"},
}};

constexpr int ActivityButtonLeft = 1080;
constexpr int MenuButtonWidth = 1695;

struct SlotInfo
{
    const char *caption;
    int panel;
    int top; // within its panel
    int left = ActivityButtonLeft;
    int width = MenuButtonWidth;
};
constexpr std::array<SlotInfo, FrmMain::LastSlot + 1> Slots{{
    {"", 0, 0},
    {"Teams", 1, 1020},
    {"Coaches", 1, 1620},
    {"Riders", 1, 2220},
    {"Judges", 1, 2820},
    {"Judge's Class Assignments", 2, 2280},
    {"Slot Sheets", 2, 3000},
    {"Judges Cards", 2, 3720},
    {"Rider Entries", 3, 3360},
    {"Class Sheets", 3, 4080},
    {"Placings", 3, 4800},
    {"Meet Standings", 4, 4440},
    {"Rider Results", 4, 5160},
    {"", 0, 0}, // the Utilities window
    // Below the panel's own two, where only half a button's height is left: side by side.
    {"Print Pack", 4, 5880, 120, 1290},
    {"Meet Check", 4, 5880, 1485, 1290},
}};

// Tops of the four menu buttons (Administration ... Reports) on each panel: the buttons below
// the open panel's activities move down, like an accordion.
constexpr std::array<std::array<int, 4>, 5> MenuTops{{
    {240, 1320, 2400, 3480},
    {240, 3360, 4440, 5520},
    {240, 1320, 4440, 5520},
    {240, 1320, 2400, 5520},
    {240, 1320, 2400, 3480},
}};

constexpr int MenuButtonLeft = 120;
constexpr int MenuButtonHeight = 735;
constexpr int ActivityButtonHeight = 495;

struct UtilityInfo
{
    const char *name;
    const char *caption;
};
constexpr std::array<UtilityInfo, FrmMain::UtilityCount> Utilities{{
    {"LblImport", "Import Teams"},
    {"LblAssignNum", "Assign Rider #s"},
    {"LblImportSpreadsheet", "Import Spreadsheet"},
    {"LblExportRoster", "Export Roster"},
    {"LblSnapshots", "Snapshots"},
    {"LblCheckMeetFile", "Check the Meet File"},
    {"LblCopyToServer", "Copy Meet to Server"},
    {"LblCopyToFile", "Copy Meet to File"},
    {"LblHistory", "History"},
}};

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

QFont arial(int pointSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"), pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

FrmMain::FrmMain(AppState &app, QWidget *parent) : QWidget(parent), m_app(app)
{
    buildControls();

    // Remember where the focus was inside this window, to give it back when the window is
    // enabled again after an editing screen.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && (now == this || isAncestorOf(now)))
            m_lastFocus = now;
    });

    m_title->setText(ShowTitle + QStringLiteral(" Data Tracker"));
    for (int m = 1; m < int(m_panels.size()); ++m)
        m_panels[m]->hide();
    m_panels[0]->show();
    m_division->clear();
    m_division->addItems(
        {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    m_division->setCurrentIndex(-1);
    connect(m_division, &QComboBox::currentIndexChanged, this, &FrmMain::CbDivision_Click);
    m_currentMenu = 0;
    m_currentActivity = 0;

    Form_Load();
}

FrmMain::~FrmMain()
{
    // Nothing may call back into this window while its children go.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_utilities)
        m_utilities->disconnect(this);
    releaseMeet();
}

void FrmMain::buildControls()
{
    setObjectName(QStringLiteral("FrmMain"));
    // A meet on a server says which one is open; the meet file's station keeps its caption.
    const QString meet = m_app.meetConnection.location();
    setWindowTitle(MeetAddress::isServer(meet) ? QStringLiteral("Main - ") + MeetAddress::describe(meet)
                                               : QStringLiteral("Main"));
    setFont(arial(9));
    setFixedSize(Twips::size(InnerWidth, InnerHeight));

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("LblTitle"));
    m_title->setGeometry(Twips::rect(0, 0, 11655, 735));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFont(arial(20, true));
    FormKit::setBackground(m_title, MenuColours::TitleBand, Qt::white);

    auto *header = new QFrame(this);
    header->setObjectName(QStringLiteral("ShpHeader"));
    header->setGeometry(Twips::rect(0, ShpHeaderTop, 11730, ShpHeaderHeight));
    FormKit::setBackground(header, MenuColours::HeaderBand, Qt::white);

    m_utilitiesLabel = new ClickLabel(QStringLiteral("Utilities"), this);
    m_utilitiesLabel->setObjectName(QStringLiteral("LblUtilities"));
    m_utilitiesLabel->setGeometry(Twips::rect(LblUtilitiesLeft, 885, 1575, 255));
    m_utilitiesLabel->setFont(arial(9, true));
    restoreUtilitiesLabel();
    connect(m_utilitiesLabel, &ClickLabel::clicked, this, &FrmMain::LblUtilities_Click);

    auto *divisionLabel = new QLabel(QStringLiteral("Division"), this);
    divisionLabel->setObjectName(QStringLiteral("Label2"));
    divisionLabel->setGeometry(Twips::rect(600, 1200, 1000, 315));
    divisionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    divisionLabel->setFont(arial(10, true));
    m_division = FormKit::comboBox(this, QStringLiteral("CbDivision"), divisionLabel, 1680, 1200, 615, 315);
    m_division->setFont(arial(10));

    for (int p = 0; p < int(m_panels.size()); ++p) {
        auto *panel = new QWidget(this);
        panel->setObjectName(latin1(Menus[p].panel));
        panel->setGeometry(Twips::rect(0, ColumnTop, ColumnWidth, InnerHeight - ColumnTop));
        if (p > 0)
            panel->setProperty(TagProperty, NothingRemembered);
        m_panels[p] = panel;

        for (int m = 1; m < int(Menus.size()); ++m) {
            auto *button = new MenuButton(latin1(Menus[m].caption), panel);
            button->setObjectName(latin1(Menus[m].name) + u'_' + QString::number(p));
            button->setGeometry(
                Twips::rect(MenuButtonLeft, MenuTops[p][m - 1], MenuButtonWidth, MenuButtonHeight));
            button->setFont(arial(10, true));
            // The panel's own menu button is the dark one.
            button->setBackColor(m == p ? FormKit::DarkGrey : FormKit::LightGrey);
            connect(button, &QPushButton::clicked, this, [this, m] { Show_Menu(m); });
        }
    }

    for (int slot = FirstSlot; slot <= LastSlot; ++slot) {
        if (!isActivity(slot))
            continue;
        auto *button = new MenuButton(activityCaption(slot), m_panels[Slots[slot].panel]);
        button->setObjectName(QStringLiteral("CmdActivity_%1").arg(slot));
        button->setGeometry(
            Twips::rect(Slots[slot].left, Slots[slot].top, Slots[slot].width, ActivityButtonHeight));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, slot] { Select_Activity(slot); });
        m_activityButtons[slot] = button;
    }
}

void FrmMain::Form_Load()
{
    const double left = (m_app.ScreenWidth - InnerWidth) / 2.0;
    const double top = (m_app.ScreenHeight - InnerHeight) / 2.0 - 200;
    move(Twips::point(left, top));
}

void FrmMain::registerActivity(int slot, ActivityFactory factory)
{
    Q_ASSERT(isActivity(slot));
    m_activityButtons[slot]->setEnabled(bool(factory));
    m_activities[slot].factory = std::move(factory);
}

void FrmMain::setUtilityAction(Utility which, std::function<void()> action)
{
    m_utilityActions[int(which)] = std::move(action);
}

bool FrmMain::hasUtilityAction(Utility which) const
{
    return bool(m_utilityActions[int(which)]);
}

QString FrmMain::activityCaption(int slot)
{
    return latin1(Slots[slot].caption);
}

QString FrmMain::utilityCaption(Utility which)
{
    return latin1(Utilities[int(which)].caption);
}

QString FrmMain::utilityName(Utility which)
{
    return latin1(Utilities[int(which)].name);
}

int FrmMain::panelOf(int slot)
{
    return Slots[slot].panel;
}

QString FrmMain::Division() const
{
    return m_division->currentIndex() >= 0 ? m_division->currentText() : QString();
}

QString FrmMain::panelTag(int menu) const
{
    return m_panels[menu]->property(TagProperty).toString();
}

void FrmMain::setPanelTag(int menu, const QString &tag)
{
    m_panels[menu]->setProperty(TagProperty, tag);
}

ActivityScreen *FrmMain::activityScreen(int slot) const
{
    return isActivity(slot) ? m_activities[slot].screen.data() : nullptr;
}

FrmUtilities *FrmMain::utilitiesWindow() const
{
    return m_utilities;
}

void FrmMain::Show_Menu(int m)
{
    if (m != m_currentMenu) {
        m_panels[m_currentMenu]->hide();
        m_panels[m]->show();
        const int remembered = panelTag(m).toInt();
        Select_Activity(remembered);
        m_currentMenu = m;
    } else {
        // The dark button of the visible panel: back to the main panel. The tag stays, so the
        // activity reopens when the panel is shown again.
        m_panels[m]->hide();
        m_panels[0]->show();
        Select_Activity(0);
        m_currentMenu = 0;
    }
}

void FrmMain::Select_Activity(int i)
{
    const bool isSlot = isActivity(i);
    if (i != m_currentActivity) {
        if (isSlot && !m_activities[i].factory)
            return; // its button is disabled: there is no screen to open
        if (needsDivision(i) && !Division_Selected())
            return;
        setActivityHighlight(m_currentActivity, false);
        unloadActivity(m_currentActivity);
        setActivityHighlight(i, true);
        m_currentActivity = i;
        if (isSlot)
            setPanelTag(panelOf(i), QString::number(i));
        // Each screen tells its own failures; should one slip out, the activity does not open.
        if (!Boundary::run(*m_app.messages, QStringLiteral("Opening ") + activityCaption(i),
                           [&] { Open_Activity(i); }) &&
            m_currentActivity == i)
            Close_Current_Activity();
    } else {
        setActivityHighlight(i, false);
        unloadActivity(i);
        if (isSlot)
            setPanelTag(panelOf(i), NothingRemembered);
        m_currentActivity = 0;
    }
}

void FrmMain::Close_Current_Activity()
{
    Select_Activity(m_currentActivity);
}

bool FrmMain::Division_Selected()
{
    if (m_division->currentIndex() >= 0)
        return true;
    m_app.messages->tell(NoDivision);
    return false;
}

void FrmMain::Open_Activity(int i)
{
    if (!isActivity(i))
        return;
    ActivityScreen *screen = loadActivity(i);
    // A screen may ask to be closed while it is being opened; the steps stop there.
    const auto stillOpen = [&] { return m_activities[i].screen == screen; };
    const QString division = m_division->currentText();

    switch (i) {
    case 7:
        screen->Set_Division(division);
        if (stillOpen())
            Position_Activity(i);
        break;
    case 5:
    case 6:
    case 8:
    case 9:
    case 10:
    case 11:
    case PrintPackSlot:
    case MeetCheckSlot:
        Position_Activity(i);
        screen->Set_Division(division);
        break;
    default:
        Position_Activity(i);
        break;
    }
    if (!stillOpen())
        return;
    screen->show();
    screen->raise();
    screen->unsetCursor();
    if (i == 7 || i == 11 || i == 12)
        screen->Load_Report();
}

void FrmMain::Position_Activity(int i)
{
    // A child of this window, so it moves with it.
    if (ActivityScreen *screen = activityScreen(i))
        screen->move(Twips::point(ActivityLeft, ActivityTop));
}

ActivityScreen *FrmMain::loadActivity(int slot)
{
    Slot &s = m_activities[slot];
    if (s.screen)
        return s.screen;
    ActivityScreen *screen = s.factory(*this);
    screen->setParent(this);
    s.screen = screen;
    connect(screen, &ActivityScreen::closeRequested, this, [this, slot] {
        if (m_currentActivity == slot)
            Close_Current_Activity();
    });
    // A screen that goes away by itself closes its activity like a close request.
    connect(screen, &QObject::destroyed, this, [this, slot] {
        if (m_currentActivity == slot)
            Close_Current_Activity();
    });
    return screen;
}

void FrmMain::unloadActivity(int slot)
{
    if (!isActivity(slot) || !m_activities[slot].screen)
        return;
    ActivityScreen *screen = m_activities[slot].screen;
    m_activities[slot].screen = nullptr;
    screen->disconnect(this);
    screen->hide();
    // Deleted once control is back in the event loop: the request to close may come from
    // inside the screen's own code, or from a window it owns.
    screen->deleteLater();
}

void FrmMain::setActivityHighlight(int slot, bool active)
{
    if (isActivity(slot))
        m_activityButtons[slot]->setBackColor(active ? FormKit::DarkGrey : FormKit::LightGrey);
}

void FrmMain::CbDivision_Click(int index)
{
    if (index < 0 || !followsDivision(m_currentActivity))
        return;
    if (ActivityScreen *screen = activityScreen(m_currentActivity))
        Boundary::run(*m_app.messages, QStringLiteral("Changing the division"),
                      [&] { screen->Set_Division(m_division->currentText()); });
}

void FrmMain::LblUtilities_Click()
{
    m_utilitiesLabel->setColors(FormKit::DarkGrey, MenuColours::windowText());
    if (!m_utilities) {
        m_utilities = new FrmUtilities(*this);
        connect(m_utilities, &FrmUtilities::closed, this, &FrmMain::restoreUtilitiesLabel);
        connect(m_utilities, &FrmUtilities::entryChosen, this, &FrmMain::Run_Utility);
    }
    m_utilities->show();
    m_utilities->unsetCursor();
}

void FrmMain::restoreUtilitiesLabel()
{
    m_utilitiesLabel->setColors(FormKit::LightGrey, MenuColours::LabelText);
}

void FrmMain::Run_Utility(Utility which)
{
    const std::function<void()> action = m_utilityActions[int(which)];
    if (!action)
        return;
    if (m_utilities)
        m_utilities->close();
    setEnabled(false);
    // The window the entry opens enables the main menu again when it closes. When it could not
    // open, nothing has changed and the main menu is given back as it was.
    if (!Boundary::run(*m_app.messages, utilityCaption(which), action))
        FormKit::enableUnchanged(this);
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (m_utilities)
        m_utilities->close();
    Close_Current_Activity();
    releaseMeet();
}

void FrmMain::releaseMeet()
{
    // Screens may hold results of MeetDb: they go before it closes.
    for (ActivityScreen *screen : findChildren<ActivityScreen *>(Qt::FindDirectChildrenOnly)) {
        screen->disconnect(this);
        delete screen;
    }
    m_app.meetConnection.close();
    m_app.KORV.close();
}

void FrmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || !isEnabled())
        return;
    // Enabled again after an editing screen: take the focus back where it was.
    activateWindow();
    raise();
    QWidget *target = m_lastFocus;
    if (!target || !target->isVisible() || !target->isEnabled() || target->focusPolicy() == Qt::NoFocus)
        target = m_division;
    target->setFocus(Qt::OtherFocusReason);
}
