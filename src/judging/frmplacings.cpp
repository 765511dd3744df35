#include "judging/frmplacings.h"

#include "common/messageservice.h"
#include "judging/frmplaceassign.h"
#include "judging/placingsreports.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"
#include "shell/reportwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace FormKit;

FrmPlacings::FrmPlacings(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmPlacings"));
    setWindowTitle(QStringLiteral("Placings"));
    setInnerSize(this, 8400, 6480);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Placings"), 120, 120, 8160, 495);
    label(this, QStringLiteral("LblPlacings"), QStringLiteral("Enter Placings For"), 600, 1080, 4000, 285);
    m_class = comboBox(this, QStringLiteral("CbClass"),
                       label(this, QStringLiteral("LblClass"), QStringLiteral("Class"), 600, 1620, 840, 285),
                       1440, 1560, 4200, 375);
    connect(
        button(this, QStringLiteral("CmdAddPlacings"), QStringLiteral("Add Placings"), 1440, 2400, 2295, 495),
        &QPushButton::clicked, this, &FrmPlacings::CmdAddPlacings_Click);
    connect(button(this, QStringLiteral("CmdPlacingsReport"), QStringLiteral("Placings Report"), 3960, 2400,
                   2295, 495),
            &QPushButton::clicked, this, &FrmPlacings::CmdPlacingsReport_Click);

    Boundary::run(*m_app.messages, QStringLiteral("Reading the classes"), [this] {
        m_classes = ClassTable::read(m_app.MeetDb());
        for (const StoredClass &c : m_classes)
            m_class->addItem(ClassTable::line(c));
        m_class->setCurrentIndex(-1);
    });
}

void FrmPlacings::Set_Division(const QString &division)
{
    m_division = division;
}

const StoredClass *FrmPlacings::pickedClass()
{
    const int line = m_class->currentIndex();
    if (line < 0 || line >= int(m_classes.size())) {
        m_app.messages->tell(NoClass);
        return nullptr;
    }
    return &m_classes[line];
}

void FrmPlacings::CmdAddPlacings_Click()
{
    const StoredClass *picked = pickedClass();
    if (!picked)
        return;
    auto *form = new FrmPlaceAssign(m_app, window(), {window(), this}, m_class);
    // A form that refused to open goes again, giving its openers back.
    if (!form->Initialize_Placings(m_division, picked->number))
        delete form;
}

void FrmPlacings::CmdPlacingsReport_Click()
{
    const StoredClass *picked = pickedClass();
    if (!picked)
        return;
    ReportWindow::fromCommand(m_app, PlacingsReports::placingsQuery(picked->number, m_division),
                              PlacingsReports::placingsLayout(picked->number, picked->name, m_division),
                              {m_class}, PlacingsReports::NoPlacings);
}
