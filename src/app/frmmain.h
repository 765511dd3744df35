#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class ActivityScreen;
class ClickLabel;
class FrmUtilities;
class MenuButton;
class QComboBox;
class QLabel;
struct AppState;

// The main menu: the show title, the division selector, four menu buttons that each reveal a
// panel of activity buttons, and the "Utilities" label. At most one activity screen is open at
// a time; it sits to the right of the menu column, inside this window.
//
// Activities live in slots 1 to 12 and 14 to 15 (the index of their button CmdActivity_i); slot 13
// is the Utilities window. A slot's screen comes from the factory registered for it; until one
// is, its button is disabled.
class FrmMain : public QWidget
{
    Q_OBJECT
public:
    using ActivityFactory = std::function<ActivityScreen *(FrmMain &)>;
    // The entries of the Utilities window, in their order there.
    enum class Utility {
        ImportTeams,
        AssignRiderNumbers,
        ImportSpreadsheet,
        ExportRoster,
        Snapshots,
        CheckMeetFile,
        CopyMeetToServer,
        CopyMeetToFile,
        History,
    };
    static constexpr int UtilityCount = 9;

    static constexpr int FirstSlot = 1;
    static constexpr int LastSlot = 15;
    static constexpr int UtilitiesSlot = 13;
    static constexpr int PrintPackSlot = 14;
    static constexpr int MeetCheckSlot = 15;

    // Twips of the controls that other windows place themselves by.
    static constexpr int LblUtilitiesLeft = 10080;
    static constexpr int ShpHeaderTop = 840;
    static constexpr int ShpHeaderHeight = 330;
    static constexpr int ActivityLeft = 3070;
    static constexpr int ActivityTop = 1620;

    explicit FrmMain(AppState &app, QWidget *parent = nullptr);
    ~FrmMain() override;

    AppState &app() const { return m_app; }

    // The screen of an activity slot is made by factory when the activity opens; the main menu
    // becomes its parent and deletes it when the activity closes.
    void registerActivity(int slot, ActivityFactory factory);
    // What an entry of the Utilities window starts. It runs with the main menu disabled; the
    // window it opens enables the main menu again when it closes.
    void setUtilityAction(Utility which, std::function<void()> action);
    bool hasUtilityAction(Utility which) const;

    // Menu m: 0 the main panel, 1 Administration, 2 Meet Setup, 3 Entry Booth, 4 Reports.
    void Show_Menu(int m);
    // Opens slot i, or closes it when it is the open one; 0 closes whatever is open.
    void Select_Activity(int i);
    void Close_Current_Activity();
    // False (after telling the user) while no division is chosen.
    bool Division_Selected();
    void Position_Activity(int i);
    // Closes the Utilities window, disables the main menu and runs the entry's action through the
    // error boundary; an action that fails leaves the main menu enabled again.
    void Run_Utility(Utility which);

    int CurrentMenu() const { return m_currentMenu; }
    int CurrentActivity() const { return m_currentActivity; }
    // The text of CbDivision, "" while none is chosen.
    QString Division() const;
    // The activity a panel (1-4) reopens when it is shown: the slot as text, "0" for none.
    QString panelTag(int menu) const;
    // The loaded screen of a slot, or null.
    ActivityScreen *activityScreen(int slot) const;
    FrmUtilities *utilitiesWindow() const;

    static QString activityCaption(int slot);
    // The caption of a Utilities entry, and its label's name there.
    static QString utilityCaption(Utility which);
    static QString utilityName(Utility which);
    static bool isActivity(int slot)
    {
        return slot >= FirstSlot && slot <= LastSlot && slot != UtilitiesSlot;
    }
    static bool needsDivision(int slot) { return (slot >= 5 && slot <= 11) || slot == PrintPackSlot; }
    // Told the division when it changes, without needing one to open (the whole meet without).
    static bool followsDivision(int slot) { return needsDivision(slot) || slot == MeetCheckSlot; }
    // The panel (1-4) that holds an activity slot.
    static int panelOf(int slot);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Slot
    {
        ActivityFactory factory;
        QPointer<ActivityScreen> screen;
    };

    void buildControls();
    void Form_Load();
    void Open_Activity(int i);
    ActivityScreen *loadActivity(int slot);
    void unloadActivity(int slot);
    void setActivityHighlight(int slot, bool active);
    void setPanelTag(int menu, const QString &tag);
    void CbDivision_Click(int index);
    void LblUtilities_Click();
    void restoreUtilitiesLabel();
    // Lets the activity screens go and closes the meet database and the report data source.
    void releaseMeet();

    AppState &m_app;
    QLabel *m_title = nullptr;
    QComboBox *m_division = nullptr;
    ClickLabel *m_utilitiesLabel = nullptr;
    std::array<QWidget *, 5> m_panels{};
    std::array<MenuButton *, LastSlot + 1> m_activityButtons{}; // index = slot, 0 unused
    std::array<Slot, LastSlot + 1> m_activities{};              // index = slot, 0 unused
    std::array<std::function<void()>, UtilityCount> m_utilityActions;
    QPointer<FrmUtilities> m_utilities;
    QPointer<QWidget> m_lastFocus;
    int m_currentMenu = 0;
    int m_currentActivity = 0;
};
