#include "registration/frmridermgmt.h"

#include "common/messageservice.h"
#include "registration/frmrider.h"
#include "registration/rosterprint.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace FormKit;

FrmRiderMgmt::FrmRiderMgmt(AppState &app, QWidget *parent) : ListScreen(app, parent)
{
    setObjectName(QStringLiteral("FrmRiderMgmt"));
    setWindowTitle(QStringLiteral("Rider Management"));
    setInnerSize(this, Width, Height);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Rider Management"), 120, 120, 8160, 495);
    m_searchBy =
        comboBox(this, QStringLiteral("LbSearchBy"),
                 label(this, QStringLiteral("LblSearchBy"), QStringLiteral("Search By"), 240, 900, 1095, 285),
                 1440, 840, 1935, 375, {"Last Name", "First Name", "Rider Number", "Team"});
    m_searchBy->setCurrentIndex(0);
    m_searchFor = textBox(
        this, QStringLiteral("TxtSearchFor"),
        label(this, QStringLiteral("LblSearchFor"), QStringLiteral("Search For"), 3600, 900, 1095, 285), 4680,
        840, 1935, 375, 50);
    QPushButton *search =
        button(this, QStringLiteral("CmdSearch"), QStringLiteral("Search"), 6840, 780, 1335, 495);
    search->setDefault(true);
    connect(search, &QPushButton::clicked, this, &FrmRiderMgmt::CmdSearch_Click);
    connect(m_searchFor, &QLineEdit::returnPressed, this, &FrmRiderMgmt::CmdSearch_Click);
    m_results = listBox(this, QStringLiteral("LbResults"), nullptr, QStringLiteral("Riders found"), 240, 1440,
                        5400, 4800);
    connectSelection(m_results);

    const std::pair<const char *, const char *> buttons[] = {{"CmdAdd", "Add Rider"},
                                                             {"CmdEdit", "Edit Rider"},
                                                             {"CmdDelete", "Delete Rider"},
                                                             {"CmdReportbyTeam", "Rider List by Team"},
                                                             {"CmdReportbyNumber", "Rider List by Number"}};
    const std::array handlers{&FrmRiderMgmt::CmdAdd_Click, &FrmRiderMgmt::CmdEdit_Click,
                              &FrmRiderMgmt::CmdDelete_Click, &FrmRiderMgmt::CmdReportbyTeam_Click,
                              &FrmRiderMgmt::CmdReportbyNumber_Click};
    for (int i = 0; i < 5; ++i) {
        QPushButton *b = button(this, QString::fromLatin1(buttons[i].first),
                                QString::fromLatin1(buttons[i].second), 5880, 1440 + i * 840, 2295, 615);
        connect(b, &QPushButton::clicked, this, handlers[i]);
        if (i == 0)
            m_add = b;
    }
}

void FrmRiderMgmt::rebuild()
{
    CmdSearch_Click();
}

void FrmRiderMgmt::CmdSearch_Click()
{
    if (m_searchFor->text().isEmpty())
        return;
    const auto by = RiderRegistry::SearchBy(std::max(0, m_searchBy->currentIndex()));
    if (!guarded(QStringLiteral("Searching the riders"),
                 [&] { m_found = RiderRegistry(m_app.MeetDb()).search(by, m_searchFor->text()); }))
        return;
    QStringList lines;
    QVector<std::int32_t> keys;
    for (const RiderFound &r : m_found) {
        lines << RiderRegistry::resultLine(r);
        keys << r.index;
    }
    fillList(m_results, lines, keys, false);
    setSelectedKey(-1);
}

std::int32_t FrmRiderMgmt::selectedRider() const
{
    // The selection is the highlighted line itself: a new search leaves none.
    const int row = selectedRow(m_results);
    return row >= 0 && row < m_keys.size() ? m_keys[row] : -1;
}

FrmRider *FrmRiderMgmt::makeForm()
{
    // After an add and after an edit alike, the focus goes back to Add Rider.
    return new FrmRider(m_app, window(), m_add);
}

void FrmRiderMgmt::CmdAdd_Click()
{
    FrmRider *form = makeForm();
    openLoadedEditor(form, QStringLiteral("Opening the rider form"), [&] {
        form->Initialize_Add();
        return true;
    });
}

void FrmRiderMgmt::CmdEdit_Click()
{
    const std::int32_t rider = selectedRider();
    if (rider == -1) {
        m_app.messages->tell(RiderRegistry::NoRiderToEdit);
        return;
    }
    FrmRider *form = makeForm();
    openLoadedEditor(form, QStringLiteral("Opening the rider"), [&] { return form->Initialize_Edit(rider); });
}

void FrmRiderMgmt::CmdDelete_Click()
{
    const std::int32_t rider = selectedRider();
    if (rider == -1) {
        m_app.messages->tell(RiderRegistry::NoRiderToDelete);
        return;
    }
    const RiderRegistry riders(m_app.MeetDb());
    bool entered = false;
    if (!guarded(QStringLiteral("Deleting the rider"), [&] { entered = riders.isEntered(rider); }))
        return;
    if (entered) {
        m_app.messages->tell(RiderRegistry::RiderIsEntered);
        return;
    }
    if (!m_app.messages->ask(RiderRegistry::DeleteQuestion) ||
        !guarded(QStringLiteral("Deleting the rider"), [&] { riders.remove(rider); }))
        return;
    rebuild();
}

void FrmRiderMgmt::CmdReportbyTeam_Click()
{
    RosterPrint::showRidersByTeam(m_app, this);
}
void FrmRiderMgmt::CmdReportbyNumber_Click()
{
    RosterPrint::showRidersByNumber(m_app, this);
}
