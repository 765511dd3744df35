#include "judging/frmplaceassign.h"

#include "common/messageservice.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>

using namespace FormKit;

namespace {

constexpr int Left[PlacingCard::Columns] = {2160, 6780};
constexpr int ColumnWidth = 4440;
constexpr int FirstRow = 1440;
constexpr int RowStep = 540;

struct PlaceLabel
{
    const char *name;
    const char *caption;
};
constexpr PlaceLabel PlaceLabels[PlacingCard::Places] = {
    {"LblFirst", "First Place"},     {"LblSecond", "Second Place"}, {"LblThird", "Third Place"},
    {"LblFourth", "Fourth Place"},   {"LblFifth", "Fifth Place"},   {"LblSixth", "Sixth Place"},
    {"LblSeventh", "Seventh Place"}, {"LblEighth", "Eighth Place"}, {"LblNineth", "Nineth Place"},
    {"LblTenth", "Tenth Place"},
};

} // namespace

FrmPlaceAssign::FrmPlaceAssign(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : EditForm(app, owner, std::move(openers), focusAfter), m_lines(new QStandardItemModel(this))
{
    setObjectName(QStringLiteral("FrmPlaceAssign"));
    setWindowTitle(QStringLiteral("Class Placings"));
    setInnerSize(this, 11400, 7800);

    label(this, QStringLiteral("LblDivision"), QStringLiteral("Division"), 240, 300, 1200, 285);
    m_division = label(this, QStringLiteral("TxtDivision"), {}, 1440, 300, 600, 285);
    label(this, QStringLiteral("LblClass"), QStringLiteral("Class"), 2400, 300, 720, 285);
    m_class = label(this, QStringLiteral("TxtClass"), {}, 3120, 300, 8040, 285);
    for (QLabel *shown : {m_division, m_class}) {
        QFont bold = shown->font();
        bold.setBold(true);
        shown->setFont(bold);
    }

    label(this, QStringLiteral("lblJudge"), QStringLiteral("Judge"), 240, 900, 1800, 285);
    for (int c = 0; c < PlacingCard::Columns; ++c) {
        m_judges[c] = textBox(this, QStringLiteral("TxtJudge_%1").arg(c + 1), nullptr, Left[c], 840,
                              ColumnWidth, 375, 0);
        m_judges[c]->setReadOnly(true);
        m_judges[c]->setAccessibleName(QStringLiteral("Judge %1").arg(c + 1));
    }
    for (int i = 0; i < PlacingCard::Places; ++i)
        label(this, QString::fromLatin1(PlaceLabels[i].name), QString::fromLatin1(PlaceLabels[i].caption),
              240, FirstRow + i * RowStep + 60, 1800, 285);
    // Judge 1's card first, then judge 2's: the order the booth types them in.
    for (int c = 0; c < PlacingCard::Columns; ++c)
        for (int i = 0; i < PlacingCard::Places; ++i) {
            QComboBox *box = comboBox(this, QStringLiteral("CbPlacing%1_%2").arg(c + 1).arg(i), nullptr,
                                      Left[c], FirstRow + i * RowStep, ColumnWidth, 375);
            box->setAccessibleName(QStringLiteral("Judge %1, %2").arg(c + 1).arg(PlaceLabels[i].caption));
            // Every selector shows the same lines.
            useRowLines(box, m_lines);
            m_places[c][i] = box;
        }
    addSubmitAndCancel(QStringLiteral("CmdSubmit"), QStringLiteral("Submit"), 7080);
}

bool FrmPlaceAssign::Initialize_Placings(const QString &division, int classNumber)
{
    PlacingCard card(app().MeetDb(), division, classNumber);
    PlacingCard::Opening opening = PlacingCard::Opening::Ready;
    if (!Boundary::run(messages(), QStringLiteral("Opening the class placings"),
                       [&] { opening = card.load(); }))
        return false;
    if (opening != PlacingCard::Opening::Ready) {
        messages().tell(opening == PlacingCard::Opening::NoJudges ? PlacingCard::NoJudges
                                                                  : PlacingCard::NoRiders);
        return false;
    }
    showCard(std::move(card));
    show();
    // The booth starts typing judge 1's first place.
    m_places[0][0]->setFocus();
    return true;
}

void FrmPlaceAssign::readAgain()
{
    PlacingCard card(app().MeetDb(), m_card->division(), m_card->classNumber());
    PlacingCard::Opening opening = PlacingCard::Opening::Ready;
    // A class left without judges or riders keeps the form as it was; its save is refused as changed.
    if (Boundary::run(messages(), QStringLiteral("Reading the class placings again"),
                      [&] { opening = card.load(); }) &&
        opening == PlacingCard::Opening::Ready)
        showCard(std::move(card));
}

void FrmPlaceAssign::showCard(PlacingCard card)
{
    m_division->setText(card.division());
    m_class->setText(card.heading());
    setRowLines(m_lines, card.lines(), m_places[0][0]);
    const int judged = int(card.judges().size());
    for (int c = 0; c < PlacingCard::Columns; ++c) {
        // With one judge stored for the class, the second column stays empty and stores nothing.
        m_judges[c]->setText(c < judged ? card.judges()[c].fullName() : QString());
        // A long name shows from its start, and whole as the tooltip.
        m_judges[c]->setCursorPosition(0);
        m_judges[c]->setToolTip(m_judges[c]->text());
        for (int i = 0; i < PlacingCard::Places; ++i) {
            m_places[c][i]->setCurrentIndex(card.stored()[c][i]);
            m_places[c][i]->setEnabled(c < judged);
        }
    }
    m_card = std::move(card);
}

PlacingCard::Card FrmPlaceAssign::chosen() const
{
    PlacingCard::Card card{};
    for (int c = 0; c < PlacingCard::Columns; ++c)
        for (int i = 0; i < PlacingCard::Places; ++i)
            card[c][i] = std::max(m_places[c][i]->currentIndex(), int(PlacingCard::NotPlaced));
    return card;
}

bool FrmPlaceAssign::checksPass()
{
    if (PlacingCard::columnPlacingTwice(chosen()) < 0)
        return true;
    messages().tell(PlacingCard::TwiceUnderOneJudge);
    return false;
}

bool FrmPlaceAssign::write()
{
    if (!app().safety.beforeSave(messages(), QStringLiteral("saving the placings of division %1, class %2")
                                                 .arg(m_card->division())
                                                 .arg(m_card->classNumber())))
        return false;
    m_card->save(chosen());
    return true;
}
