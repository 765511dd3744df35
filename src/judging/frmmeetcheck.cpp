#include "judging/frmmeetcheck.h"

#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"
#include "shell/reportwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace FormKit;

namespace {
const QStringList Divisions = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                               QStringLiteral("D")};
}

FrmMeetCheck::FrmMeetCheck(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmMeetCheck"));
    setWindowTitle(QStringLiteral("Meet Check"));
    setInnerSize(this, Width, Height);
    serifTitle(this, QStringLiteral("LblTitle"), QStringLiteral("Meet Check"), 120, 120, 8160, 495);

    QStringList scopes{MeetCheck::WholeMeet};
    for (const QString &d : Divisions)
        scopes << QStringLiteral("Division ") + d;
    m_scope = comboBox(this, QStringLiteral("CbScope"),
                       label(this, QStringLiteral("LblScope"), QStringLiteral("Check"), 240, 870, 840, 285),
                       1080, 840, 2400, 330, scopes);
    m_verdict = label(this, QStringLiteral("LblVerdict"), {}, 3720, 840, 4440, 330);
    QFont bold = m_verdict->font();
    bold.setBold(true);
    m_verdict->setFont(bold);
    m_problems = columnList(
        this, QStringLiteral("LvProblems"),
        label(this, QStringLiteral("LblProblems"), QStringLiteral("Problems found"), 240, 1380, 4000, 285),
        {QStringLiteral("What is wrong"), QStringLiteral("Where to mend it")}, 240, 1680, 7920, 3720);
    m_problems->setColumnWidth(0, Twips::toPixels(5160));
    connect(button(this, QStringLiteral("CmdCheck"), QStringLiteral("Check Again"), 240, 5580, 2295, 495),
            &QPushButton::clicked, this, &FrmMeetCheck::CmdCheck_Click);
    connect(
        button(this, QStringLiteral("CmdPreview"), QStringLiteral("Print Preview"), 2760, 5580, 2295, 495),
        &QPushButton::clicked, this, &FrmMeetCheck::CmdPreview_Click);
    connect(m_scope, &QComboBox::activated, this, &FrmMeetCheck::CmdCheck_Click);
}

QString FrmMeetCheck::division() const
{
    const int line = m_scope->currentIndex();
    return line > 0 ? Divisions[line - 1] : QString();
}

void FrmMeetCheck::Set_Division(const QString &division)
{
    m_scope->setCurrentIndex(int(Divisions.indexOf(division)) + 1);
    CmdCheck_Click();
}

void FrmMeetCheck::CmdCheck_Click()
{
    m_problems->clear();
    m_verdict->clear();
    Boundary::run(*m_app.messages, QStringLiteral("Checking the meet"), [this] {
        m_found = MeetCheck::run(m_app.MeetDb(), division());
        for (const MeetCheck::Problem &p : m_found)
            new QTreeWidgetItem(m_problems, {p.what, p.where});
        m_verdict->setText(MeetCheck::verdict(m_found));
    });
}

void FrmMeetCheck::CmdPreview_Click()
{
    CmdCheck_Click();
    if (m_verdict->text().isEmpty())
        return; // the check failed, and the user has been told
    ReportWindow::fromRows(m_app, [this] { return MeetCheck::rows(m_found); },
                           MeetCheck::RptMeetCheck(division(), m_found), {this}, {});
}
