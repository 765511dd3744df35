// The roster from spreadsheets: headings matched, files as spreadsheets save them, every refused
// line named by its number, records already there skipped or updated, all or nothing, and a
// roster that goes out and comes back unchanged.
#include "meetfile.h"
#include "testengine.h"

#include "db/engine.h"
#include "db/meetschema.h"
#include "db/snapshotsource.h"
#include "import/rosterexport.h"
#include "import/rosterimport.h"

using RosterFields::Kind;
using State = RosterImport::State;

class TstRosterImport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MeetFile> m;

    QString file(const QString &name, const QByteArray &bytes)
    {
        return MeetQuery::writeFile(m->filePath(name), bytes);
    }

    static RosterSheet sheet(Kind kind, const QString &path)
    {
        RosterSheet s;
        if (const auto refusal = s.load(kind, path))
            qFatal("%s", qPrintable(*refusal));
        return s;
    }

    // The four files of an export in the folder, as sheets of one import.
    static QVector<RosterSheet> exported(const QString &folder)
    {
        QVector<RosterSheet> sheets;
        for (const Kind kind : RosterFields::Kinds)
            sheets << sheet(kind, QDir(folder).filePath(RosterFields::fileName(kind)));
        return sheets;
    }

    static QStringList lineTexts(const RosterImport::Preview &preview)
    {
        QStringList out;
        for (const auto &s : preview)
            for (const auto &line : s.lines)
                out << RosterImport::lineText(s.kind, line);
        return out;
    }

    // The meet has every one of its indexes (an import sets them aside while many rows go in).
    static bool indexed(const QSqlDatabase &db)
    {
        const QStringList present = Engine::indexes(db);
        const auto all = MeetSchema::indexes();
        return std::all_of(all.begin(), all.end(), [&](const MeetSchema::Index &index) {
            return present.contains(QString::fromLatin1(index.name).toLower());
        });
    }

    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    void init() { m = std::make_unique<MeetFile>(); }
    void cleanup() { m.reset(); }

    void headings_matchForgivingly_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("headings");
        QTest::addColumn<QString>("expected"); // field=heading for the fields found
        QTest::newRow("spelt as spreadsheets do")
            << int(Kind::Riders) << "first_name|LASTNAME|Team|Div.|Rider #|Shoe size"
            << "Team Name=Team, Division=Div., Rider Number=Rider #, First Name=first_name, Last "
               "Name=LASTNAME";
        QTest::newRow("short forms and a slip")
            << int(Kind::Judges) << "Frist Name|Last|E-mail|Phone|Notes|State"
            << "First Name=Frist Name, Last Name=Last, State=State, Phone Number=Phone, Email=E-mail, "
               "Notes=Notes";
        QTest::newRow("exact beats a slip, one field a column")
            << int(Kind::Riders) << "LastName|Last Name|Frist|First"
            << "First Name=First, Last Name=LastName";
        QTest::newRow("slips only in headings of five letters or more")
            << int(Kind::Judges) << "Last|First|Cty|Stae|Tel|Nots"
            << "First Name=First, Last Name=Last, State=Stae, Phone Number=Tel, Notes=Nots";
        QTest::newRow("two phones") << int(Kind::Coaches) << "Phone 2|Phone|Position"
                                    << "Position=Position, Primary Phone=Phone, Secondary Phone=Phone 2";
    }
    void headings_matchForgivingly()
    {
        QFETCH(int, kind);
        QFETCH(QString, headings);
        QFETCH(QString, expected);
        const QStringList h = headings.split(u'|');
        const QVector<int> columnOf = RosterFields::matchColumns(Kind(kind), h);
        QStringList found;
        for (int f = 0; f < columnOf.size(); ++f)
            if (columnOf[f] >= 0)
                found << RosterFields::fields(Kind(kind))[f].heading + u'=' + h[columnOf[f]];
        QCOMPARE(found.join(QStringLiteral(", ")), expected);
    }

    void spreadsheetFiles_readAsMeant_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // per line: number, names, other fields given
        QTest::newRow("UTF-8 with mark, CRLF")
            << QByteArray("\xEF\xBB\xBF"
                          "First Name,Last Name\r\nZo\xC3\xAB,\xC3\x85ngstr\xC3\xB6m\r\nBo,Brown\r\n")
            << "2:Zo\u00EB \u00C5ngstr\u00F6m|3:Bo Brown";
        QTest::newRow("Windows-1252 accents")
            << QByteArray("First Name,Last Name\nZo\xEB,M\xFCller\n") << "2:Zo\u00EB M\u00FCller";
        QTest::newRow("semicolons, commas in values")
            << QByteArray("First Name;Last Name;Address\nAnn;Lee;1,5 Main St\n")
            << "2:Ann Lee Address=1,5 Main St";
        QTest::newRow("quoted line break, later lines numbered on")
            << QByteArray("First Name,Last Name,Notes\nAnn,Lee,\"two\nlines\"\nBo,Brown,\n")
            << "2:Ann Lee Notes=two\nlines|4:Bo Brown";
        QTest::newRow("empty lines") << QByteArray("First Name,Last Name\n\nAnn,Lee\n,\n\nBo,Brown\n")
                                     << "3:Ann Lee|6:Bo Brown";
        QTest::newRow("extra columns, any order, blanks around")
            << QByteArray("Shoe,Last Name,Age,First Name\n42, Lee ,12,  Ann\n") << "2:Ann Lee";
        QByteArray unicodeText("\xFF\xFE");
        for (const QChar c :
             QStringLiteral("Last Name\tFirst Name\tCity\r\nM\u00FCller\tZo\u00EB\t'=Elm \r\n"))
            unicodeText.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        QTest::newRow("Unicode Text: UTF-16, tabs, a guarded cell")
            << unicodeText << "2:Zo\u00EB M\u00FCller City==Elm";
        QTest::newRow("quoted blanks kept")
            << QByteArray("First Name,Last Name\n\"Ann \",Lee\n") << "2:Ann  Lee";
    }
    void spreadsheetFiles_readAsMeant()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const RosterImport::Preview p =
            RosterImport(m->db(), {sheet(Kind::Judges, file("judges.csv", bytes))}).preview();
        const auto &f = RosterFields::fields(Kind::Judges);
        QStringList got;
        for (const auto &line : p[0].lines) {
            QString text = QStringLiteral("%1:%2 %3").arg(line.line).arg(line.values[0], line.values[1]);
            for (int i = 2; i < f.size(); ++i)
                if (!line.values[i].isEmpty())
                    text += u' ' + f[i].heading + u'=' + line.values[i];
            QCOMPARE(line.state, State::New);
            got << text;
        }
        QCOMPARE(got.join(u'|'), expected);
    }

    void refusedLines_areNamedByTheirLineAndReason()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        b.addRider(blue, "Ann", "Lee", "7");
        b.addRider(blue, "Ann", "Lee", "8");
        b.addCoach(blue, "Amy", "Adams", "Assistant Coach");
        b.addTeam("Red", "C");
        const QString longName(51, u'x');
        const RosterImport::Preview p =
            RosterImport(m->db(),
                         {sheet(Kind::Riders, file("riders.csv", "Team Name,Division,Rider Number,"
                                                                 "First Name,Last Name,Address\n"
                                                                 "Blue,b,,Bo,Brown,\"1 Main St\nApt 2\"\n"
                                                                 "Blue,B,07,Cy,Cole,\n"
                                                                 "Blue,B,12,Di,Dunn,\n"
                                                                 "Blue,B,012,Ed,Eve,\n"
                                                                 "Green,B,,Flo,Fay,\n"
                                                                 "Blue,E,,Gus,Gray,\n"
                                                                 "Blue,B,,,Hill,\n"
                                                                 "Blue,B,," +
                                                                     longName.toLatin1() +
                                                                     ",Ives,\n"
                                                                     "Blue,B,1234,Jo,Jay,\n"
                                                                     "Blue,B,x1,Kim,Kay,\n"
                                                                     "BLUE,B,,bo,brown,\n"
                                                                     "Blue,B,9,Ann,Lee,\n"
                                                                     "Red,C,,Ann,Lee,\n"
                                                                     "Teal,c,,Lu,Lowe,\n"
                                                                     "Blue,B,1.5,Mo,May,\n"
                                                                     "Blue,B,-3,Ned,Noe,\n"
                                                                     "Blue,B,2,Oz,Orr,\n"
                                                                     "Blue,B,7,Ann,Lee,\n"
                                                                     "tEAL,C,,Pia,Pratt,\n")),
                          sheet(Kind::Teams, file("teams.csv", "Team Name,Division,Region\n"
                                                               "Green,B,12\nTeal,C,\n")),
                          sheet(Kind::Coaches, file("coaches.csv", "Team Name,Division,Position,"
                                                                   "First Name,Last Name\n"
                                                                   "Blue,B,head,Hal,Hart\n"
                                                                   "Blue,B,Trainer,Ida,Ince\n"
                                                                   "blue,B,asst.,Jo,Jones\n"
                                                                   "Blue,B,Assistant,Amy,Adams\n"))})
                .preview();
        QCOMPARE(
            lineTexts(p),
            (QStringList{
                "Line 2: Green (B): Region is longer than the meet keeps (1 character)",
                "Line 3: Teal (C)",
                "Line 2: Hal Hart, Head Coach - Blue (B)",
                "Line 3: Ida Ince, Trainer - Blue (B): the position \"Trainer\" is neither Head Coach nor "
                "Assistant Coach",
                "Line 4: Jo Jones, asst. - blue (B)",
                "Line 5: Amy Adams, Assistant - Blue (B): the same",
                "Line 2: Bo Brown - Blue (B)",
                "Line 4: Cy Cole (07) - Blue (B): rider number 07 is taken by Ann Lee (7) - Blue (B)",
                "Line 5: Di Dunn (12) - Blue (B)",
                "Line 6: Ed Eve (012) - Blue (B): rider number 012 is also on line 5",
                "Line 7: Flo Fay - Green (B): there is no team \"Green\" in division B",
                "Line 8: Gus Gray - Blue (E): the division \"E\" is not A, B, C or D",
                "Line 9: Hill - Blue (B): First Name is missing",
                "Line 10: " + longName +
                    " Ives - Blue (B): First Name is longer than the meet keeps (50 characters)",
                "Line 11: Jo Jay (1234) - Blue (B): Rider Number is longer than the meet keeps (3 "
                "characters)",
                "Line 12: Kim Kay (x1) - Blue (B): the rider number \"x1\" is not a whole number from 0 to "
                "999",
                "Line 13: bo brown - BLUE (B): the same rider as line 2",
                "Line 14: Ann Lee (9) - Blue (B): the meet holds 2 riders of these names, and this line is "
                "none "
                "of them",
                "Line 15: Ann Lee - Red (C)",
                "Line 16: Lu Lowe - Teal (C)",
                "Line 17: Mo May (1.5) - Blue (B): the rider number \"1.5\" is not a whole number from 0 to "
                "999",
                "Line 18: Ned Noe (-3) - Blue (B): the rider number \"-3\" is not a whole number from 0 to "
                "999",
                "Line 19: Oz Orr (2) - Blue (B)",
                "Line 20: Ann Lee (7) - Blue (B): the same",
                "Line 21: Pia Pratt - tEAL (C)",
            }));
    }

    // A file that would carry something into the meet that it does not mean is refused whole,
    // before any preview: the lines after a quote left open, a control character, a workbook.
    void sheetsThatMisleadTheReader_areRefusedBeforeAPreview_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("quote left open")
            << QByteArray("Team,Division,First,Last,City\nBlue,B,Ann,Lee,\"Elm\nBlue,B,Bo,Brown,Oak\n"
                          "Blue,B,Cy,Cole,Ash\n")
            << "a quote opened on line 2 is never closed";
        QTest::newRow("NUL") << QByteArray("Team,Division,First,Last\nBlue,B,A@nn,Lee\n").replace('@', '\0')
                             << "line 2, column 9 holds a control character (U+0000)";
        QTest::newRow("workbook") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10)
                                  << "it is a spreadsheet program's own file, not text; save it as CSV and "
                                     "choose that file";
    }
    void sheetsThatMisleadTheReader_areRefusedBeforeAPreview()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = file("riders.csv", bytes);
        RosterSheet s;
        QCOMPARE(s.load(Kind::Riders, path).value_or("read"),
                 QStringLiteral("The file \"%1\" cannot be read: %2.")
                     .arg(QDir::toNativeSeparators(path), reason));
    }

    void alreadyThere_skippedOrUpdated_data()
    {
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("expected"); // the rider's number, address, city, zip afterwards
        QTest::addColumn<QString>("summary");
        QTest::newRow("skip") << false << "|Old Rd|Elm|111"
                              << "Spreadsheet Import Successful\n\nRiders: 2 added, 1 already there left as "
                                 "they were, 1 refused lines left out";
        QTest::newRow("update") << true << "7|New Rd|Elm|111"
                                << "Spreadsheet Import Successful\n\nRiders: 2 added, 1 updated, 1 refused "
                                   "lines left out";
    }
    void alreadyThere_skippedOrUpdated()
    {
        QFETCH(bool, update);
        QFETCH(QString, expected);
        QFETCH(QString, summary);
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        Sql::exec(m->db(), "rider",
                  "INSERT INTO TblPerson (FirstName, LastName, Address, City, Zip, TeamCode, "
                  "RiderNumber) VALUES ('Ann', 'Lee', 'Old Rd', 'Elm', '111', ?, '')",
                  {blue});
        // The city cell is empty and the zip has no column: neither changes.
        const RosterImport import(m->db(),
                                  {sheet(Kind::Riders, file("r.csv", "Team Name,Division,Rider Number,"
                                                                     "First Name,Last Name,Address,City\n"
                                                                     "Blue,B,7,Ann,Lee,New Rd,\n"
                                                                     "Blue,B,8,Bo,Brown,,\n"
                                                                     "Blue,B,9,,Cole,,\n"
                                                                     "Blue,B,10,Ann,Lee,,\n"))});
        const RosterImport::Preview p = import.preview();
        QCOMPARE(p[0].lines[0].changes, (QStringList{"Rider Number", "Address"}));
        QCOMPARE(import.importInto(p, update).message(), summary);
        QCOMPARE(MeetQuery::column(m->db(),
                                   "SELECT RiderNumber || '|' || Address || '|' || City || '|' || Zip "
                                   "FROM TblPerson WHERE LastName = 'Lee' AND Address <> ''"),
                 QStringList{expected});
        QCOMPARE(MeetQuery::count(m->db(), "TblPerson"), 3); // another Ann Lee, told apart by her number
    }

    // Whatever the stored values hold: blanks around them, cells a spreadsheet would run, riders
    // and judges of the same names told apart by their other fields, positions as stored.
    void roundTrip_changesNothing()
    {
        auto b = m->build();
        const auto obrien = b.addTeam("O'Brien, Stables", "A", "12", "4");
        const auto zoe = b.addTeam("Zo\u00EB \"Z\" Barn", "B", "", "");
        const auto birch = b.addTeam("Birch ", "C", "-1", "");
        b.addTeam("Empty", "D");
        b.addCoach(obrien, "Hal", "Hart");
        b.addCoach(obrien, "Amy", "Adams", "Assistant Coach");
        b.addCoach(zoe, "Cy", "Cole");
        b.addCoach(birch, "Bea", "Best", "Assistant");
        b.addRider(obrien, "Bo", "Brown", "07");
        b.addRider(obrien, "Al", "Brown", "");
        b.addRider(zoe, "Di", "D'Arcy", "123");
        b.addRider(birch, "Ann", "Lee", "08");
        b.addRider(birch, "Ann", "Lee", "09");
        Sql::exec(m->db(), "rider",
                  "INSERT INTO TblPerson (FirstName, LastName, Address, City, Zip, TeamCode, RiderNumber) "
                  "VALUES (' Ed', 'Eve', '=1+1', '@Elm', '''=x', ?, '')",
                  {birch});
        Sql::exec(m->db(), "judge",
                  "INSERT INTO TblJudge (FirstName, LastName, State, Memo) "
                  "VALUES ('Jo', 'Judge', 'OR', 'likes\ngreys, \"bays\"')");
        b.addJudge("Kai", "Kerr");
        for (const char *city : {"Salem", "Eugene"})
            Sql::exec(
                m->db(), "judge",
                "INSERT INTO TblJudge (FirstName, LastName, City, Memo) VALUES ('Jo', 'Brown', ?, '-2+3')",
                {QString::fromLatin1(city)});
        const QString out = m->filePath("out");
        const QString back = m->filePath("back");
        QDir().mkpath(out);
        QDir().mkpath(back);
        QCOMPARE(RosterExport::write(m->db(), out).records, (std::array<int, 4>{4, 4, 6, 4}));
        QVERIFY(bytes(QDir(out).filePath("Riders.csv"))
                    .contains("\"Birch \",C,,\" Ed\",Eve,'=1+1,'@Elm,''=x\r\n"));

        // Into an empty meet: every line new, teams arriving with their coaches and riders.
        {
            MeetFile empty;
            const RosterImport import(empty.db(), exported(out));
            const RosterImport::Preview p = import.preview();
            for (const auto &s : p)
                QCOMPARE(s.count(State::New), s.lines.size());
            import.importInto(p, false);
            QVERIFY(indexed(empty.db()));
            QVERIFY(RosterExport::write(empty.db(), back).failure.isEmpty());
        }
        for (const Kind kind : RosterFields::Kinds)
            QCOMPARE(bytes(QDir(back).filePath(RosterFields::fileName(kind))),
                     bytes(QDir(out).filePath(RosterFields::fileName(kind))));

        // Into the same meet: everything already there and the same; even updating changes nothing.
        const QString before = MeetFixture::dump(m->db());
        const RosterImport again(m->db(), exported(out));
        const RosterImport::Preview p = again.preview();
        for (const auto &s : p)
            for (const auto &line : s.lines)
                QVERIFY2(line.state == State::Existing && line.changes.isEmpty(),
                         qPrintable(RosterImport::lineText(s.kind, line)));
        again.importInto(p, true);
        QCOMPARE(MeetFixture::dump(m->db()), before);
    }

    void importThatCannotFinish_writesNothing()
    {
        auto b = m->build();
        const auto blue = b.addTeam("Blue", "B");
        const RosterImport import(
            m->db(), {sheet(Kind::Teams, file("t.csv", "Team Name,Division\nRed,C\n")),
                      sheet(Kind::Riders,
                            file("r.csv", "Team,Division,First,Last\nRed,C,Bo,Brown\nBlue,B,Ann,Lee\n"))});
        const RosterImport::Preview p = import.preview();
        const QString before = MeetFixture::dump(m->db());

        // A write fails part-way, after the team and a rider went in.
        const QString lift =
            MeetQuery::forceFailure(m->db(), "INSERT ON TblPerson WHEN NEW.LastName = 'Lee'");
        QVERIFY_THROWS_EXCEPTION(DbError, import.importInto(p, false));
        QCOMPARE(MeetFixture::dump(m->db()), before);
        QVERIFY(indexed(m->db()));
        Sql::exec(m->db(), "untrap", lift);

        // The meet changed since the preview: Ann Lee is there now.
        b.addRider(blue, "Ann", "Lee");
        const QString changed = MeetFixture::dump(m->db());
        QVERIFY(import.importInto(p, false).changedSincePreview);
        QCOMPARE(MeetFixture::dump(m->db()), changed);
    }

    // Whoever changed the roster between the preview and the import, the import sees it; a change
    // elsewhere in the meet leaves the preview standing.
    void import_seesTheRosterChangedSinceThePreview_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("refused");
        for (const auto &[change, refused] :
             {std::pair{"this station", true}, std::pair{"another connection", true},
              std::pair{"snapshot restored", true}, std::pair{"an entry", false}})
            QTest::newRow(change) << QString::fromLatin1(change) << refused;
    }
    void import_seesTheRosterChangedSinceThePreview()
    {
        QFETCH(QString, change);
        QFETCH(bool, refused);
        DbConnection station;
        station.open(m->path(), DbConnection::Mode::ReadWrite);
        MeetBuilder here(station.database());
        const auto blue = here.addTeam("Blue", "B");
        const auto rider = here.addRider(blue, "Al", "Brown");
        const QString snapshot = m->filePath("before.mdb");
        std::unique_ptr<SnapshotSource> source;
        if (TestEngine::onServer())
            source = std::make_unique<ServerMeetSource>(station);
        else
            source = std::make_unique<MeetFileSource>(station);
        source->copyTo(snapshot);
        here.addRider(blue, "Bo", "Brown");

        const RosterImport import(
            station.database(),
            {sheet(Kind::Riders, file("r.csv", "Team,Division,First,Last\nBlue,B,Bo,Brown\n"))});
        const RosterImport::Preview p = import.preview();
        QCOMPARE(p.front().count(State::Existing), 1);
        if (change == "this station") {
            Sql::exec(station.database(), "rename",
                      "UPDATE TblPerson SET FirstName = 'Bob' WHERE FirstName = 'Bo'");
        } else if (change == "another connection") {
            Sql::exec(m->db(), "rename", "UPDATE TblPerson SET FirstName = 'Bob' WHERE FirstName = 'Bo'");
        } else if (change == "snapshot restored") {
            source->replaceFrom(snapshot);
        } else {
            here.addEntry(3, rider);
        }
        QCOMPARE(import.importInto(p, false).changedSincePreview, refused);
    }

    void export_failingFile_leavesTheFolderAsItWas()
    {
        const QString out = m->filePath("out");
        QDir().mkpath(QDir(out).filePath("Riders.csv")); // a folder where a file should go
        const RosterExport::Outcome o = RosterExport::write(m->db(), out);
        QVERIFY2(o.failure.contains("Riders.csv"), qPrintable(o.failure));
        QCOMPARE(QDir(out).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Riders.csv"});
    }
};

QTEST_GUILESS_MAIN(TstRosterImport)
#include "tst_rosterimport.moc"
