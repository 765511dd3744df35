#include "judging/judgescards.h"

#include "db/classtable.h"

namespace JudgesCards {
namespace {

const QString Blank = QStringLiteral(" ");

const Report::Font Show{QStringLiteral("Arial"), 11, true};
const Report::Font Caption{QStringLiteral("Arial"), 9, true};
const Report::Font Body{QStringLiteral("Arial"), 9};

constexpr int CardWidth = 4680;
constexpr int CardStep = 4860; // three cards fill the 14400 twips of a landscape line
constexpr int CardHeight = 5280;
constexpr int LineHeight = 5400; // two lines of cards to a page
constexpr int BoxLeft = 1380;
constexpr int BoxWidth = CardWidth - BoxLeft - 120;
constexpr int FirstPlaceTop = 1440;
constexpr int PlaceStep = 300;

QString column(int card, const char *what)
{
    return QStringLiteral("C%1%2").arg(card).arg(QLatin1StringView(what));
}

void addCard(Report::Section &line, int card)
{
    const int x = (card - 1) * CardStep;
    const auto name = [card](const char *what) { return column(card, what); };
    line.rectangle(name("ShpCard"), {x, 0, CardWidth, CardHeight});
    line.label(name("LblRegion"), QStringLiteral("KORV State Championship"), {x, 90, CardWidth, 300}, Show)
        .alignment = Qt::AlignHCenter | Qt::AlignTop;
    line.label(name("LblClass"), QStringLiteral("Class #:"), {x + 120, 480, 840, 270}, Caption);
    line.field(QStringLiteral("txt") + name("ClassNumber"), name("ClassNumber"), {x + 960, 480, 360, 270},
               Body);
    line.field(QStringLiteral("txt") + name("ClassName"), name("ClassName"),
               {x + 1320, 480, CardWidth - 1440, 270}, Body);
    line.label(name("LblDivision"), QStringLiteral("Divsion:"), {x + 120, 780, 840, 270}, Caption);
    line.field(QStringLiteral("txt") + name("Division"), name("Division"), {x + 960, 780, 360, 270}, Body);
    line.label(name("LblJudge"), QStringLiteral("Judge:"), {x + 120, 1080, 840, 270}, Caption);
    line.line(name("LinJudge"), {x + 960, 1320, CardWidth - 1080, 0});

    static const char *const places[] = {"1st Place ", "2nd Place ",  "3rd Place ", "4th Place ",
                                         "5th Place ", "6th Place ",  "7th Place ", "8th Place ",
                                         "9th Place ", "10th Place ", "HM"};
    for (int p = 0; p < 11; ++p) {
        const int top = FirstPlaceTop + p * PlaceStep;
        const QString suffix = QString::number(p + 1);
        line.label(name("LblPlace") + suffix, QString::fromLatin1(places[p]), {x + 120, top + 30, 1200, 255},
                   Body);
        line.rectangle(name("ShpPlace") + suffix, {x + BoxLeft, top, BoxWidth, PlaceStep - 30});
    }
    const int initialsTop = FirstPlaceTop + 11 * PlaceStep + 90;
    line.label(name("LblInitials"), QStringLiteral("Judges Initials"), {x + 120, initialsTop + 90, 1260, 255},
               Caption);
    line.rectangle(name("ShpInitials"),
                   {x + BoxLeft + 240, initialsTop, BoxWidth - 240, CardHeight - initialsTop - 120});
}

} // namespace

QString noCards(const QString &division)
{
    return QStringLiteral("There are currently no judging assignments entered for the ") + division +
           QStringLiteral(" Division.");
}

MemoryTable Build_Cards(const QSqlDatabase &db, const QString &division)
{
    const QVector<StoredClass> classes = ClassTable::read(db);
    MemoryTable cards;
    for (int card = 1; card <= CardsPerLine; ++card) {
        cards.appendColumn(column(card, "Division"), MemoryTable::Type::Text, 1);
        cards.appendColumn(column(card, "ClassNumber"), MemoryTable::Type::Text, 2);
        cards.appendColumn(column(card, "ClassName"), MemoryTable::Type::Text, 50);
    }
    // Two cards for each class, one after the other, filling the lines from the left.
    const int total = 2 * int(classes.size());
    for (int first = 0; first < total; first += CardsPerLine) {
        const int row = cards.addRow();
        for (int card = 1; card <= CardsPerLine; ++card) {
            const int k = first + card - 1;
            const bool blank = k >= total;
            cards.setValue(row, column(card, "Division"), blank ? Blank : division);
            cards.setValue(row, column(card, "ClassNumber"),
                           blank ? Blank : QString::number(classes[k / 2].number));
            cards.setValue(row, column(card, "ClassName"), blank ? Blank : classes[k / 2].name);
        }
    }
    return cards;
}

Report::Layout RptJudgesCards(const QString &division)
{
    Report::Layout rpt;
    rpt.caption = QStringLiteral("Judges Cards");
    rpt.title = QStringLiteral("Judges Cards ") + division;
    rpt.orientation = QPageLayout::Landscape;
    rpt.detail.name = QStringLiteral("Section1");
    rpt.detail.height = LineHeight;
    for (int card = 1; card <= CardsPerLine; ++card)
        addCard(rpt.detail, card);
    return rpt;
}

} // namespace JudgesCards
