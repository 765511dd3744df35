// The entry booth's placings: the judges' cards form of a class with every rider of a division, the save of
// both cards, and the class placings report written to PDF.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"

#include "db/dbconnection.h"
#include "db/dberror.h"
#include "judging/frmplaceassign.h"
#include "judging/placingcard.h"
#include "judging/placingsreports.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"
#include "shell/appstate.h"

#include <QComboBox>
#include <QCoreApplication>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace Bench {

bool placingsFigures(const Context &context)
{
    constexpr int Runs = 7;
    const QString Division = QStringLiteral("A");
    constexpr int Class = 3;

    // A copy of the large meet in which every rider of division A is entered in class 3.
    const QString path = context.copyOfLarge(QStringLiteral("placings"));
    AppState app;
    app.ScreenWidth = 12000;
    app.ScreenHeight = 9000;
    app.AppFolder = context.largeFolder;
    app.messages = &context.messages;
    app.meetConnection.open(path, DbConnection::Mode::ReadWrite);
    app.KORV.setDataSource(path);
    const int riders = MeetBuilder(app.MeetDb()).enterEveryRider(Class, Division);

    QWidget menu;
    std::unique_ptr<FrmPlaceAssign> form;
    int lines = 0;
    int placed = 0;
    report("placings_form_open", riders,
           medianMs(
               Runs, [&] { form.reset(); },
               [&] {
                   form = std::make_unique<FrmPlaceAssign>(app, &menu, QList<QWidget *>{&menu}, nullptr);
                   if (!form->Initialize_Placings(Division, Class))
                       return;
                   QCoreApplication::processEvents();
                   lines = form->findChild<QComboBox *>(QStringLiteral("CbPlacing2_9"))->count();
                   placed = form->findChild<QComboBox *>(QStringLiteral("CbPlacing1_0"))->currentIndex();
               }));
    form.reset();

    PlacingCard card(app.MeetDb(), Division, Class);
    if (card.load() != PlacingCard::Opening::Ready)
        return false;
    PlacingCard::Card full{};
    for (int i = 0; i < PlacingCard::Places; ++i) {
        full[0][i] = i + 1;
        full[1][i] = riders - i;
    }
    // Each save from a card just read, as each opens the form afresh.
    report("placings_save", 2 * PlacingCard::Places,
           medianMs(
               Runs, [&] { card.load(); }, [&] { card.save(full); }));

    const QString pdf = context.work.filePath(QStringLiteral("placings.pdf"));
    const ShapeQuery query = PlacingsReports::placingsQuery(Class, Division);
    app.KORV.setCommand(query);
    int pages = 0;
    report("class_placings_report", 2 * PlacingCard::Places, medianMs(Runs, {}, [&] {
               app.KORV.open(query.name());
               const Report::Document doc =
                   Report::paginate(PlacingsReports::placingsLayout(Class, QStringLiteral("Class"), Division),
                                    app.KORV.rows(query.name()));
               if (!Report::writePdf(doc, pdf).has_value())
                   pages = int(doc.pages.size());
               app.KORV.close(query.name());
           }));
    return riders == context.size / 4 && lines == riders + 1 && placed > 0 && pages > 0;
}

bool stationsFigure(const Context &context)
{
    // Three stations, each keying in the cards of its own class of division A over and over (the
    // form read afresh each time), for three seconds; then each class must hold the last cards its
    // station saved.
    constexpr int Stations = 3;
    constexpr qint64 Seconds = 3;
    const QString meet = context.copyOfLarge(QStringLiteral("stations"));
    struct Station
    {
        int cls = 0;
        int saved = 0;
        int told = 0;
        PlacingCard::Card last{};
        std::vector<double> ms;
    };
    std::vector<Station> stations(Stations);
    std::vector<std::thread> threads;
    QElapsedTimer wall;
    wall.start();
    for (int s = 0; s < Stations; ++s) {
        stations[s].cls = 3 + s;
        threads.emplace_back([&, s] {
            Station &me = stations[std::size_t(s)];
            DbConnection connection;
            connection.open(meet, DbConnection::Mode::ReadWrite);
            PlacingCard card(connection.database(), QStringLiteral("A"), me.cls);
            for (int round = 0; wall.elapsed() < Seconds * 1000; ++round) {
                try {
                    if (card.load() != PlacingCard::Opening::Ready)
                        return;
                    const int riders = int(card.riders().size());
                    PlacingCard::Card cards{};
                    for (int c = 0; c < PlacingCard::Columns; ++c)
                        for (int i = 0; i < PlacingCard::Places; ++i)
                            cards[c][i] = (round + i * 3 + c) % riders + 1;
                    QElapsedTimer timer;
                    timer.start();
                    card.save(cards);
                    me.ms.push_back(double(timer.nsecsElapsed()) / 1e6);
                    me.last = cards;
                    ++me.saved;
                } catch (const DbError &) {
                    ++me.told; // told to the user, who saves again
                }
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    const double seconds = double(wall.elapsed()) / 1000.0;

    DbConnection connection;
    connection.open(meet, DbConnection::Mode::ReadWrite);
    int saves = 0;
    int told = 0;
    int lost = 0;
    std::vector<double> ms;
    for (const Station &st : stations) {
        saves += st.saved;
        told += st.told;
        ms.insert(ms.end(), st.ms.begin(), st.ms.end());
        PlacingCard stored(connection.database(), QStringLiteral("A"), st.cls);
        if (st.saved == 0 || stored.load() != PlacingCard::Opening::Ready || stored.stored() != st.last)
            ++lost;
    }
    report("placings_three_stations", saves, {median(ms.empty() ? std::vector<double>{0} : ms)},
           QStringLiteral("\"saves_per_second\": %1, \"told\": %2, \"lost\": %3")
               .arg(saves / seconds, 0, 'f', 1)
               .arg(told)
               .arg(lost));
    return lost == 0;
}

} // namespace Bench
