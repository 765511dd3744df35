// The entry booth's placings: the judges' cards form of a class with every rider of a division, the save of
// both cards, and the class placings report written to PDF.
#include "benchkit.h"
#include "meetfixture.h"
#include "scriptedmessages.h"

#include "judging/frmplaceassign.h"
#include "judging/placingcard.h"
#include "judging/placingsreports.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"
#include "shell/appstate.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <memory>

namespace Bench {

bool placingsFigures(const Context &context)
{
    constexpr int Runs = 7;
    const QString Division = QStringLiteral("A");
    constexpr int Class = 3;

    // A copy of the large meet in which every rider of division A is entered in class 3.
    const QString folder = context.work.filePath(QStringLiteral("placings"));
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("KORVState2006.mdb"));
    QFile::copy(context.largePath, path);
    AppState app;
    app.ScreenWidth = 12000;
    app.ScreenHeight = 9000;
    app.AppFolder = folder;
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
    report("placings_save", 2 * PlacingCard::Places, medianMs(Runs, {}, [&] { card.save(full); }));

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

} // namespace Bench
