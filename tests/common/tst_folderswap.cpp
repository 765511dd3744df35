// A folder written whole: it takes its place complete or not at all, through links, whatever cuts
// the run short; only a folder the program wrote is ever replaced, and only its leftovers removed.
#include "common/folderswap.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Marker = QStringLiteral(".marker");

// Every file and folder below the folder with its contents, in a fixed order; links as links.
QStringList contents(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QFile file(path);
        out << QDir(folder).relativeFilePath(path) + (info.isSymLink()
                                                          ? QStringLiteral(" -> ") + info.symLinkTarget()
                                                      : info.isFile() && file.open(QIODevice::ReadOnly)
                                                          ? u'=' + QString::fromUtf8(file.readAll())
                                                          : QString());
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

int modeOf(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The folder as replace() leaves it with these files.
QStringList written(const QString &name, const std::vector<FolderSwap::File> &files)
{
    QStringList out{name, name + u'/' + Marker +
                              QStringLiteral("=Written by Trotwise. The files it wrote here:\n")};
    for (const auto &f : files) {
        out[1] += f.name + u'\n';
        out << name + u'/' + f.name + u'=' + QString::fromUtf8(f.bytes);
    }
    out.sort();
    return out;
}

// Makes the steps named fail with the errno for as long as this lives.
struct FailStep
{
    FailStep(const QString &name, int error)
    {
        FolderSwap::setStepHook([=](const QString &step) { return step == name ? error : 0; });
    }
    ~FailStep() { FolderSwap::setStepHook({}); }
};

} // namespace

class TstFolderSwap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replace_writesTheFolderWholeAndReplacesItsOwn()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("results");
        const std::vector<FolderSwap::File> first{{"a.html", "A"}, {"b.html", "B"}}, second{{"a.html", "A2"}};
        QCOMPARE(FolderSwap::replace(folder, first, Marker), std::nullopt);
        QCOMPARE(contents(dir.path()), written("results", first));
        // Written again: what the new run no longer writes is gone, nothing is left beside.
        QCOMPARE(FolderSwap::replace(folder, second, Marker), std::nullopt);
        QCOMPARE(contents(dir.path()), written("results", second));
    }

    // A folder published by an earlier version: its marker lists nothing, and vouches for its
    // plain files only.
    void folderOfAnEarlierVersion_replacedWithoutWhatIsHidden()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("results");
        put(folder + "/" + Marker, "Written by Trotwise.\n");
        put(folder + "/index.html", "old");
        put(folder + "/.htaccess", "mine");
        QVERIFY(FolderSwap::replace(folder, {{"a.html", "A"}}, Marker).value_or("").contains("(.htaccess)"));
        QFile::remove(folder + "/.htaccess");
        QCOMPARE(FolderSwap::replace(folder, {{"a.html", "A"}}, Marker), std::nullopt);
        QCOMPARE(contents(dir.path()), written("results", {{"a.html", "A"}}));
    }

    void refusalOrFailure_leavesEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("present"); // what stands under the folder's name
        QTest::addColumn<QString>("added");   // the user's files in it
        QTest::addColumn<QString>("failing"); // the step made to fail
        QTest::addColumn<QString>("reason");
        QTest::newRow("a disk full part-way") << "own folder"
                                              << ""
                                              << "wrote half of b.html"
                                              << "could not be written";
        QTest::newRow("the move-in fails") << "own folder"
                                           << ""
                                           << "swap"
                                           << "could not be moved in";
        QTest::newRow("no folder beside it") << "own folder"
                                             << ""
                                             << "make the new folder"
                                             << "no new folder";
        QTest::newRow("a folder of the user's") << ""
                                                << "letter.txt"
                                                << ""
                                                << "not written there by";
        QTest::newRow("a folder of dot files") << ""
                                               << ".htaccess .git/config"
                                               << ""
                                               << "(.git, .htaccess)";
        QTest::newRow("own folder, a file added") << "own folder"
                                                  << ".htaccess"
                                                  << ""
                                                  << "(.htaccess)";
        QTest::newRow("own folder, a folder added") << "own folder"
                                                    << "sub/x"
                                                    << ""
                                                    << "(sub)";
        QTest::newRow("a file in the way") << "file"
                                           << ""
                                           << ""
                                           << "a file of that name";
        QTest::newRow("a link to a file") << "link to file"
                                          << ""
                                          << ""
                                          << "a file of that name";
        QTest::newRow("a link in a circle") << "circle"
                                            << ""
                                            << ""
                                            << "round in a circle";
    }
    void refusalOrFailure_leavesEverythingAsItWas()
    {
        QFETCH(QString, present);
        QFETCH(QString, added);
        QFETCH(QString, failing);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString folder = dir.filePath("results");
        if (present == "own folder")
            QCOMPARE(FolderSwap::replace(folder, {{"old.html", "old"}}, Marker), std::nullopt);
        else if (present == "file")
            put(folder, "a file");
        else if (present == "link to file")
            put(dir.filePath("elsewhere.txt"), "x"), QFile::link(dir.filePath("elsewhere.txt"), folder);
        else if (present == "circle")
            QFile::link(folder, folder);
        for (const QString &file : added.split(u' ', Qt::SkipEmptyParts))
            put(folder + u'/' + file, "mine");
        const QStringList before = contents(dir.path());

        const FailStep fail(failing, ENOSPC);
        const auto error = FolderSwap::replace(folder, {{"a.html", "A"}, {"b.html", "BB"}}, Marker);
        QVERIFY2(error.has_value() && error->contains(reason), qPrintable(error.value_or("done")));
        QCOMPARE(contents(dir.path()), before);
    }

    void modes_newFolderReadableByAllWritableByItsOwner_replacedKeepsItsOwn()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777))); // as /tmp is
        const mode_t umask = ::umask(077);
        const QString folder = dir.filePath("results");
        const auto published = FolderSwap::replace(folder, {{"a.html", "A"}}, Marker);
        const int folderMode = modeOf(folder), fileMode = modeOf(folder + "/a.html");
        ::chmod(QFile::encodeName(folder).constData(), 0750);
        const auto again = FolderSwap::replace(folder, {{"a.html", "A"}}, Marker);
        ::umask(umask);
        QCOMPARE(published, std::nullopt);
        QCOMPARE(again, std::nullopt);
        QCOMPARE(folderMode, 0755);
        QCOMPARE(fileMode, 0644);
        QCOMPARE(modeOf(folder), 0750);
        QCOMPARE(modeOf(folder + "/a.html"), 0644);
    }

    // A web server's document root is often a link: it stays one, and the pages land where it
    // leads, in a folder beside which nothing is left.
    void link_keptAndThePagesLandWhereItLeads()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("www") && QDir(dir.path()).mkpath("store/results-2026"));
        const QString link = dir.filePath("www/results"), hop = dir.filePath("store/current");
        QVERIFY(QFile::link(hop, link) && QFile::link(dir.filePath("store/results-2026"), hop));
        const std::vector<FolderSwap::File> first{{"a.html", "A"}}, second{{"b.html", "B"}};
        QCOMPARE(FolderSwap::replace(link, first, Marker), std::nullopt);
        QCOMPARE(FolderSwap::replace(link, second, Marker), std::nullopt);
        QStringList expected = written("store/results-2026", second);
        expected << "store"
                 << "store/current -> " + dir.filePath("store/results-2026") << "www"
                 << "www/results -> " + hop;
        expected.sort();
        QCOMPARE(contents(dir.path()), expected);
    }

    // Two runs into one folder take turns: the second waits for the first (the screen's and a
    // script's, say), whose new folder it would otherwise take for a leftover.
    void anotherRunUnderWay_waitedFor()
    {
        QTemporaryDir dir;
        const int held = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        std::thread other([held] {
            QThread::msleep(300);
            ::close(held);
        });
        QElapsedTimer waited;
        waited.start();
        const auto done = FolderSwap::replace(dir.filePath("results"), {{"a.html", "A"}}, Marker);
        const qint64 elapsed = waited.elapsed();
        other.join();
        QCOMPARE(done, std::nullopt);
        QVERIFY2(elapsed >= 250, qPrintable(QString::number(elapsed)));
    }

    // The run killed before each of its steps in turn (a child process ended there): the folder is
    // the old one or the new one, whole, and the next run removes what the killed one left beside
    // it, but not a folder of that kind of name that holds the user's files.
    void killedAtAnyStep_folderOldOrNewAndLeftoversGoneNextRun_data()
    {
        QTest::addColumn<bool>("published"); // whether the folder was published before
        QTest::newRow("first publish") << false;
        QTest::newRow("replacing its own folder") << true;
    }
    void killedAtAnyStep_folderOldOrNewAndLeftoversGoneNextRun()
    {
        QFETCH(bool, published);
        const std::vector<FolderSwap::File> oldFiles{{"a.html", "old A"}, {"gone.html", "old"}},
            newFiles{{"a.html", "new A"}, {"b.html", QByteArray(5000, 'b')}}, nextFiles{{"c.html", "C"}};
        bool finished = false;
        for (int killAt = 0; !finished; ++killAt) {
            QTemporaryDir dir;
            const QString folder = dir.filePath("results");
            put(dir.filePath(".results.old-keep/letter.txt"), "the user's");
            const QStringList usersOwn = contents(dir.path());
            if (published)
                QCOMPARE(FolderSwap::replace(folder, oldFiles, Marker), std::nullopt);
            const QStringList before = contents(dir.path());

            const pid_t child = ::fork();
            if (child == 0) {
                int steps = 0;
                FolderSwap::setStepHook([&](const QString &) {
                    if (steps++ == killAt)
                        ::_exit(9);
                    return 0;
                });
                ::_exit(FolderSwap::replace(folder, newFiles, Marker) ? 1 : 0);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) != 1);
            finished = WEXITSTATUS(status) == 0;

            QStringList standing, expectedNew = written("results", newFiles) + usersOwn;
            expectedNew.sort();
            for (const QString &line : contents(dir.path()))
                if (!line.startsWith(".results.new-"))
                    standing << line;
            QVERIFY2(
                standing == before || standing == expectedNew,
                qPrintable(QStringLiteral("killed at step %1: %2").arg(killAt).arg(standing.join(" | "))));
            if (finished)
                QCOMPARE(contents(dir.path()), expectedNew);

            QCOMPARE(FolderSwap::replace(folder, nextFiles, Marker), std::nullopt);
            QStringList expectedNext = written("results", nextFiles) + usersOwn;
            expectedNext.sort();
            QCOMPARE(contents(dir.path()), expectedNext);
            QVERIFY(killAt < 30);
        }
    }
};

QTEST_GUILESS_MAIN(TstFolderSwap)
#include "tst_folderswap.moc"
