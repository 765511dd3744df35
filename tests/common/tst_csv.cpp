// Comma-separated text: what is written reads back the same, and the files spreadsheets save
// read as they meant.
#include "common/csv.h"

#include <QtTest>

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
            {"", "", "lone\rreturn"},
        };
        for (const QChar sep : {QChar(u','), QChar(u';')}) {
            const QByteArray bytes = Csv::document(header, rows, sep);
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            const QString text = Csv::decode(bytes);
            QCOMPARE(Csv::separatorOf(text), sep);
            const QVector<Csv::Record> read = Csv::parse(text, sep);
            QCOMPARE(read.size(), rows.size() + 1);
            QCOMPARE(read[0].fields, header);
            for (int i = 0; i < rows.size(); ++i)
                QCOMPARE(read[i + 1].fields, rows[i]);
            // The record after the one with a quoted line break starts on the file line after it.
            QCOMPARE(read[3].line, 5);
            QCOMPARE(read[4].line, 6);
        }
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
        QTest::newRow("quoted line break counts its lines")
            << QByteArray("\"x\ny\",z\nq,r\n") << "1:x\ny/z|3:q/r";
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFZo\xC3\xAB,1\n") << "1:Zo\u00EB/1";
        QTest::newRow("Windows-1252 accents and quotes")
            << QByteArray("Zo\xEB,\x93hi\x94,\x80\n") << "1:Zo\u00EB/\u201Chi\u201D/\u20AC";
        QTest::newRow("extra and missing fields kept as they stand")
            << QByteArray("a,b,c,d\ne\n") << "1:a/b/c/d|2:e";
        QTest::newRow("quote inside an unquoted field is a character")
            << QByteArray("O\"Brien,x\n") << "1:O\"Brien/x";
        QTest::newRow("quote left open runs to the end") << QByteArray("a,\"b\nc") << "1:a/b\nc";
    }
    void spreadsheetFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const QString text = Csv::decode(bytes);
        QStringList got;
        for (const Csv::Record &r : Csv::parse(text, Csv::separatorOf(text)))
            got << QString::number(r.line) + u':' + r.fields.join(u'/');
        QCOMPARE(got.join(u'|'), expected);
    }
};

QTEST_GUILESS_MAIN(TstCsv)
#include "tst_csv.moc"
