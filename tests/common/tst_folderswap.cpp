// A folder written whole: it takes its place complete or not at all, and only a folder the
// program wrote before is ever replaced.
#include "common/folderswap.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Marker = QStringLiteral(".marker");

// Every file below the folder with its contents, in a fixed order.
QStringList contents(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        out << QDir(folder).relativeFilePath(path) +
                   (file.open(QIODevice::ReadOnly) ? u'=' + QString::fromUtf8(file.readAll()) : QString());
    }
    out.sort();
    return out;
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TstFolderSwap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replace_writesTheFolderWholeAndReplacesItsOwn()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("results");
        QCOMPARE(FolderSwap::replace(folder, {{"a.html", "A"}, {"b.html", "B"}}, Marker), std::nullopt);
        QCOMPARE(contents(dir.path()), QStringList({"results", "results/.marker=Written by Trotwise.\n",
                                                    "results/a.html=A", "results/b.html=B"}));

        // Written again: what the new run no longer writes is gone, nothing is left beside.
        QCOMPARE(FolderSwap::replace(folder, {{"a.html", "A2"}}, Marker), std::nullopt);
        QCOMPARE(contents(dir.path()),
                 QStringList({"results", "results/.marker=Written by Trotwise.\n", "results/a.html=A2"}));
    }

    void refusalOrFailure_leavesEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("present"); // what stands under the folder's name
        QTest::addColumn<QString>("file");    // the second file written
        QTest::addColumn<QString>("reason");
        QTest::newRow("a write fails part-way") << "own folder"
                                                << "missing/b.html"
                                                << "could not be written";
        QTest::newRow("a folder of the user's") << "user's folder"
                                                << "b.html"
                                                << "not written there by";
        QTest::newRow("a file in the way") << "file"
                                           << "b.html"
                                           << "a file of that name";
    }
    void refusalOrFailure_leavesEverythingAsItWas()
    {
        QFETCH(QString, present);
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString folder = dir.filePath("results");
        if (present == "own folder")
            QCOMPARE(FolderSwap::replace(folder, {{"old.html", "old"}}, Marker), std::nullopt);
        else if (present == "user's folder")
            put(folder + "/letter.txt", "mine");
        else
            put(folder, "a file");
        const QStringList before = contents(dir.path());

        const auto error = FolderSwap::replace(folder, {{"a.html", "A"}, {file, "B"}}, Marker);
        QVERIFY(error.has_value() && error->contains(reason));
        QCOMPARE(contents(dir.path()), before);
    }
};

QTEST_GUILESS_MAIN(TstFolderSwap)
#include "tst_folderswap.moc"
