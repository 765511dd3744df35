// Comma-separated text: what is written reads back the same, the files spreadsheets save read as
// they meant, what is not such a file is refused with its place, and the formula guard comes off
// exactly as it went on.
#include "common/csv.h"

#include <QtTest>

#include <set>

namespace {

QByteArray utf16(const QString &text, bool littleEnd)
{
    QByteArray out(littleEnd ? "\xFF\xFE" : "\xFE\xFF");
    for (const QChar c : text) {
        const char lo = char(c.unicode() & 0xFF);
        const char hi = char(c.unicode() >> 8);
        out.append(littleEnd ? lo : hi).append(littleEnd ? hi : lo);
    }
    return out;
}

} // namespace

class TstCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void written_readsBackTheSame()
    {
        const QStringList header{"Team", "Rider", "Note"};
        const QVector<QStringList> rows{
            {"O'Brien Stables", "Zoë Ångström", "said \"hi\", then left"},
            {"Comma, Inc.", "two\r\nlines", ""},
            {" spaced ", "semi;colon", "\"\""},
            {"", "Birch ", "lone\rreturn"},
            {"=HYPERLINK(\"http://x\")", "-2+3", "@SUM(A1)"},
            {"'=kept", "\tindented", "+x"},
        };
        for (const QChar sep : {QChar(u','), QChar(u';')}) {
            const QByteArray bytes = Csv::document(header, rows, sep);
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            // As a spreadsheet program finds them, no cell starts a formula.
            for (const Csv::Record &r : Csv::parse(Csv::decode(bytes), sep).records)
                for (const QString &cell : r.fields)
                    QVERIFY2(cell.isEmpty() || !QStringView(u"=+-@\t\r").contains(cell.front()),
                             qPrintable(cell));
            QCOMPARE(Csv::separatorOf(Csv::decode(bytes)), sep);
            const Csv::Sheet read = Csv::read(bytes);
            QCOMPARE(read.refusal, QString());
            QCOMPARE(read.records.size(), rows.size() + 1);
            QCOMPARE(read.records[0].fields, header);
            for (int i = 0; i < rows.size(); ++i)
                QCOMPARE(read.records[i + 1].fields, rows[i]);
            // The record after the one with a quoted line break starts on the file line after it.
            QCOMPARE(read.records[3].line, 5);
            QCOMPARE(read.records[4].line, 6);
        }
    }

    // Guarded cells are those a spreadsheet runs; the guard of every cell comes off to give it
    // back, and a cell already safe is left as it stands. Checked over every short text of the
    // characters that matter.
    void guard_isABijectionOntoSafeCells_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        for (const auto &[value, written] : std::initializer_list<std::pair<const char *, const char *>>{
                 {"=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
                 {"+x", "'+x"},
                 {"-2+3", "'-2+3"},
                 {"@SUM(A1)", "'@SUM(A1)"},
                 {"\tx", "'\tx"},
                 {"\rx", "'\rx"},
                 {"'=x", "''=x"},
                 {"''-", "'''-"},
                 {"'x", "'x"},
                 {"O'Brien", "O'Brien"},
                 {"a=b", "a=b"},
                 {"'", "'"},
                 {"", ""}})
            QTest::newRow(written) << QString::fromUtf8(value) << QString::fromUtf8(written);
    }
    void guard_isABijectionOntoSafeCells()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(Csv::guarded(value), written);
        QCOMPARE(Csv::unguarded(written), value);

        const QString alphabet = QStringLiteral("'=-a\t");
        QStringList all{QString()};
        for (int length = 1, from = 0; length <= 4; ++length) {
            const int to = int(all.size());
            for (int i = from; i < to; ++i)
                for (const QChar c : alphabet)
                    all << all[i] + c;
            from = to;
        }
        std::set<QString> images;
        for (const QString &v : all) {
            const QString g = Csv::guarded(v);
            QVERIFY(!g.startsWith(u'=') && !g.startsWith(u'-') && !g.startsWith(u'\t'));
            QCOMPARE(Csv::unguarded(g), v);
            images.insert(g);
            if (!v.startsWith(u'=') && !v.startsWith(u'-') && !v.startsWith(u'\t'))
                QCOMPARE(Csv::guarded(Csv::unguarded(v)), v);
        }
        QCOMPARE(images.size(), std::size_t(all.size()));
    }

    void spreadsheetFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // records joined by '|', fields by '/', line first

        QTest::newRow("plain LF") << QByteArray("a,b\nc,d\n") << "1:a/b|2:c/d";
        QTest::newRow("CRLF, no last line end") << QByteArray("a,b\r\nc,d") << "1:a/b|2:c/d";
        QTest::newRow("empty lines and separators only")
            << QByteArray("a,b\r\n\r\n,,\r\n  \r\nc,d\r\n") << "1:a/b|5:c/d";
        QTest::newRow("semicolons with commas in values")
            << QByteArray("a;b\n1,5;2\n\"x;y\";z,w\n") << "1:a/b|2:1,5/2|3:x;y/z,w";
        QTest::newRow("separator of a heading line after blank ones")
            << QByteArray("\r\n\r\na;b\r\n1,5;2\r\n") << "3:a/b|4:1,5/2";
        QTest::newRow("separator quoted in a heading is no separator")
            << QByteArray("\"a;b;c\",d\n1;2,3\n") << "1:a;b;c/d|2:1;2/3";
        QTest::newRow("tabs") << QByteArray("a\tb,c\tz\n1\t2\t\n") << "1:a/b,c/z|2:1/2/";
        QTest::newRow("quoted line break counts its lines")
            << QByteArray("\"x\ny\",z\nq,r\n") << "1:x\ny/z|3:q/r";
        QTest::newRow("blanks before an opening quote") << QByteArray("a,  \"b,c\"  ,d\n") << "1:a/b,c/d";
        QTest::newRow("blanks around unquoted fields dropped, quoted kept")
            << QByteArray(" a , \" b \",\"c \"\n") << "1:a/ b /c ";
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFZo\xC3\xAB,1\n") << "1:Zo\u00EB/1";
        QTest::newRow("Windows-1252 accents and quotes")
            << QByteArray("Zo\xEB,\x93hi\x94,\x80\n") << "1:Zo\u00EB/\u201Chi\u201D/\u20AC";
        QTest::newRow("UTF-16 LE with mark, tabs, as Unicode Text saves")
            << utf16("Team\tDivision\r\nZo\u00EB \"Z\"\tA\r\n", true) << "1:Team/Division|2:Zo\u00EB \"Z\"/A";
        QTest::newRow("UTF-16 BE with mark") << utf16("a;b\n\u0141;2\n", false) << "1:a/b|2:\u0141/2";
        QTest::newRow("extra and missing fields kept as they stand")
            << QByteArray("a,b,c,d\ne\n") << "1:a/b/c/d|2:e";
        QTest::newRow("quote inside an unquoted field is a character")
            << QByteArray("O\"Brien,x\n") << "1:O\"Brien/x";
        QTest::newRow("the guard taken off") << QByteArray("'=x,'-3,''@y,'a,'\n") << "1:=x/-3/'@y/'a/'";
    }
    void spreadsheetFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const Csv::Sheet sheet = Csv::read(bytes);
        QCOMPARE(sheet.refusal, QString());
        QStringList got;
        for (const Csv::Record &r : sheet.records)
            got << QString::number(r.line) + u':' + r.fields.join(u'/');
        QCOMPARE(got.join(u'|'), expected);
    }

    void filesThatAreNotSheets_areRefusedWithThePlace_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("quote left open")
            << QByteArray("a,b\nc,\"d\ne,f\ng,h\n") << "a quote opened on line 2 is never closed";
        QTest::newRow("NUL in a name") << QByteArray("First,Last\nAnn,Le\0e\n", 20)
                                       << "line 2, column 7 holds a control character (U+0000)";
        QTest::newRow("control after a quoted line break")
            << QByteArray("a,\"x\r\ny\"\r\nb,\x1b") << "line 3, column 3 holds a control character (U+001B)";
        QTest::newRow("byte Windows-1252 has no character for")
            << QByteArray("a,b\n\x81,c\n") << "line 2, column 1 holds a control character (U+0081)";
        QByteArray binary;
        for (int i = 0; i < 300; ++i)
            binary += char((i * 37) % 256);
        QTest::newRow("binary") << binary << "it is not a text file";
        QTest::newRow("UTF-16 without its last byte")
            << utf16("a,b", true).chopped(1) << "it is not a text file";
        QTest::newRow("a workbook")
            << QByteArray("PK\x03\x04\x14\x00", 6)
            << "it is a spreadsheet program's own file, not text; save it as CSV and choose that file";
    }
    void filesThatAreNotSheets_areRefusedWithThePlace()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        const Csv::Sheet sheet = Csv::read(bytes);
        QCOMPARE(sheet.refusal, refusal);
        QVERIFY(sheet.records.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstCsv)
#include "tst_csv.moc"
