#include "entries/frmclassassignments.h"

#include "common/messageservice.h"
#include "common/ridernumber.h"
#include "common/twips.h"
#include "db/classcatalogue.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
constexpr int Relay = ClassCatalogue::RelayClass;
constexpr int PartnerBoxWidth = 855;
} // namespace

frmClassAssignments::frmClassAssignments(AppState &app, QWidget *owner, QList<QWidget *> openers,
                                         QWidget *focusAfter)
    : CheckGrid(app, owner, std::move(openers), focusAfter)
{
    setObjectName(QStringLiteral("frmClassAssignments"));
    setWindowTitle(QStringLiteral("Class Assignments"));
    m_team = titleBox(QStringLiteral("TxtTeam"), QStringLiteral("Team"), 2055, 495);
}

frmClassAssignments::~frmClassAssignments() = default;

bool frmClassAssignments::InitializeForm(std::int32_t team)
{
    placeWindow();
    m_teamCode = team;
    m_sheet = read(QStringLiteral("Opening the team's entries"));
    if (!m_sheet) {
        finish();
        return false;
    }
    if (m_sheet->riders().isEmpty()) {
        messages().tell(EntrySheet::NotReached);
        finish();
        return false;
    }
    fill();
    return true;
}

std::unique_ptr<EntrySheet> frmClassAssignments::read(const QString &action) const
{
    std::unique_ptr<EntrySheet> sheet;
    Boundary::run(messages(), action,
                  [&] { sheet = std::make_unique<EntrySheet>(app().MeetDb(), m_teamCode); });
    return sheet;
}

bool frmClassAssignments::hasChanges() const
{
    if (!m_sheet || ticksChanged())
        return true;
    for (int r = 1; r <= rowCount(); ++r)
        if (partnerBox(r)->currentText() != m_sheet->storedPartners()[r - 1])
            return true;
    return false;
}

void frmClassAssignments::readAgain()
{
    std::unique_ptr<EntrySheet> sheet = read(QStringLiteral("Reading the team's entries again"));
    // A team left without riders keeps the grid as it was; its save is refused as changed.
    if (!sheet || sheet->riders().isEmpty())
        return;
    m_sheet = std::move(sheet);
    fill();
}

void frmClassAssignments::fill()
{
    FormKit::showRowText(m_team, m_sheet->teamCaption(), 2);

    QVector<Column> columns = classColumns(m_sheet->classes());
    columns << Column{QStringLiteral("formRelayPartner.bmp"), QStringLiteral("RP"),
                      QStringLiteral("Relay Partner")};
    QVector<Row> rows;
    for (const EntryRider &r : m_sheet->riders())
        rows << Row{EntrySheet::rowCaption(r), EntrySheet::riderName(r)};

    const QStringList choices = m_sheet->partnerChoices();
    m_partners.clear(); // the grid's, gone as it is built again
    buildGrid({{2175, 18}, QStringLiteral("lblrider"), true}, columns, rows,
              [&](int row) { return makePartnerBox(row, choices); });
    for (const StoredClass &cls : m_sheet->classes())
        if (cls.number >= 1 && cls.number <= GridMarks::Classes)
            setLimit(cls.number, cls.maxEntries);
    for (const EntrySheet::Cell &entry : m_sheet->storedEntries())
        tick(entry.row, entry.cls);
    for (int r = 1; r <= rowCount(); ++r)
        partnerBox(r)->setEditText(m_sheet->storedPartners()[r - 1]);
}

QComboBox *frmClassAssignments::makePartnerBox(int row, const QStringList &choices)
{
    // Made editable before it joins the grid: becoming editable there looks through every event
    // waiting in the program's queue, which the grid's new cells fill (one look a row would make
    // a grid of many rows open in time growing with their square).
    auto *box = FormKit::comboBox(nullptr, QStringLiteral("Cbpartner_%1").arg(row), nullptr, 0, 0,
                                  PartnerBoxWidth, GridFigures::CellSize, {});
    box->setEditable(true);
    box->setParent(this);
    box->setCompleter(nullptr); // a number typed is what counts, not the first listed one it begins
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(RiderNumber::MaxLength);
    box->addItems(choices);
    box->setCurrentIndex(-1);
    box->clearEditText();
    box->setEnabled(false);
    box->setAccessibleName(QStringLiteral("Relay partner of ") +
                           EntrySheet::riderName(m_sheet->riders()[row - 1]));
    m_partners << box;
    return box;
}

void frmClassAssignments::cellChanged(int row, int cls)
{
    if (cls != Relay)
        return;
    QComboBox *box = partnerBox(row);
    if (!marks().ticked(row, cls)) {
        box->setCurrentIndex(-1);
        box->clearEditText();
    }
    box->setEnabled(marks().ticked(row, cls));
}

void frmClassAssignments::CmdApply_Click()
{
    if (!messages().ask(EntrySheet::saveQuestion(marks().total())) ||
        !app().safety.beforeSave(messages(),
                                 QStringLiteral("saving the entries of ") + m_sheet->teamCaption().whole()))
        return;
    QStringList partners;
    for (const QComboBox *box : m_partners)
        partners << box->currentText();
    std::optional<EntrySheet::Refusal> failure;
    if (!Boundary::run(messages(), QStringLiteral("Saving the team's entries"),
                       [&] { failure = m_sheet->submit(marks(), partners); }))
        return;
    if (failure) {
        messages().refuse(MessageService::Refusal::Submit, failure->text);
        // The message names no rider: the box at fault is brought into view and given the keyboard.
        showCell(failure->row, GridMarks::Classes + 1);
        partnerBox(failure->row)->setFocus();
        return;
    }
    finish();
}
