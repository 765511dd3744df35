// Where the meet is kept (the program's folder, or the user's for an installed program) and the
// options that answer on a terminal without a screen, run as a station runs them: a copy of the
// real program in a folder of its own.
#include "app/commandline.h"
#include "app/datafolder.h"
#include "common/version.h"

#include <QProcess>

#include <unistd.h>

namespace {

struct Run
{
    int status;
    QString out;
    QString err;
};

// The program at path, with a home of its own and no screen at all: a program that opened a
// window here would stop with an error.
Run runProgram(const QString &path, const QStringList &arguments, const QString &home)
{
    QProcessEnvironment environment;
    environment.insert("PATH", "/usr/bin:/bin");
    environment.insert("HOME", home);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(path, arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}, {}};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TstDataFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_programFolderOrTheUsers_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("built, writable") << true << false << "/home/amy" << "" << "/opt/tw/bin";
        QTest::newRow("not writable") << false << false << "/home/amy" << "" << "/home/amy/.local/share/Trotwise";
        QTest::newRow("installed, writable (root)") << true << true << "/root" << "" << "/root/.local/share/Trotwise";
        QTest::newRow("data home set") << false << true << "/home/amy" << "/data/amy" << "/data/amy/Trotwise";
        QTest::newRow("data home relative: ignored") << false << true << "/home/amy" << "data" << "/home/amy/.local/share/Trotwise";
        QTest::newRow("no home, data home set") << false << true << "" << "/data/amy/" << "/data/amy/Trotwise";
        QTest::newRow("no home") << false << true << "" << "" << "";
        QTest::newRow("home relative") << false << true << "amy" << "" << "";
    }
    void choose_programFolderOrTheUsers()
    {
        QFETCH(bool, writable);
        QFETCH(bool, installed);
        QFETCH(QString, home);
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        QCOMPARE(DataFolder::choose("/opt/tw/bin/", {writable, installed, home, xdgDataHome}), expected);
    }

    void make_madeForTheUserOnlyOrRefusedByName()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("home/.local/share/Trotwise");
        QCOMPARE(DataFolder::make(folder), QString());
        for (const char *level : {"home", "home/.local", "home/.local/share", "home/.local/share/Trotwise"})
            QCOMPARE(QFileInfo(dir.filePath(level)).permissions() & 0x0777, QFile::Permissions(0x0700));
        QVERIFY(DataFolder::writable(folder));
        QCOMPARE(DataFolder::make(folder), QString()); // there already

        QVERIFY(QFile::link(folder, dir.filePath("linked"))); // a link to a folder is kept as it is
        QCOMPARE(DataFolder::make(dir.filePath("linked")), QString());
        QVERIFY(QFileInfo(dir.filePath("linked")).isSymLink());

        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const QString refusal = DataFolder::make(dir.filePath("file/Trotwise"));
        QVERIFY2(refusal.contains(QStringLiteral("\"%1\" is a file").arg(dir.filePath("file"))), qPrintable(refusal));
        QVERIFY(DataFolder::make({}).contains("HOME"));
    }

    void program_answersWithoutAScreen_data()
    {
        QTest::addColumn<QString>("layout"); // where the program lies
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // "~" the home, "@" the program's folder
        QTest::newRow("--version") << "copy" << QStringList{"--version"} << "Trotwise " TROTWISE_VERSION "\n";
        QTest::newRow("--where, a folder of its own") << "copy" << QStringList{"--where"} << "@\n";
        QTest::newRow("--where, installed") << "installed" << QStringList{"--where"} << "~/.local/share/Trotwise\n";
        QTest::newRow("--where, read-only folder") << "read-only" << QStringList{"--where"}
                                                   << "~/.local/share/Trotwise\n";
    }
    void program_answersWithoutAScreen()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        if (layout == "read-only" && geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        QTemporaryDir dir;
        const QString bin = dir.filePath("usr/bin");
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QFile::copy(TROTWISE_PROGRAM, bin + "/trotwise"));
        if (layout == "installed") {
            QVERIFY(QDir().mkpath(dir.filePath("usr/share/applications")));
            QFile entry(dir.filePath("usr/share/applications/" + Version::AppId + ".desktop"));
            QVERIFY(entry.open(QIODevice::WriteOnly));
        }
        if (layout == "read-only")
            QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
        const Run run = runProgram(bin + "/trotwise", arguments, dir.filePath("home"));
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QString(expected).replace("~", dir.filePath("home")).replace("@", bin));
        QVERIFY(!QFileInfo::exists(dir.filePath("home"))); // nothing made: asked only where
    }

    // A mistyped option is refused by name, before any window or meet; an option's own argument
    // is not taken for one.
    void mistypedOption_refusedByName_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("refused");
        QTest::newRow("typo") << QStringList{"--wehre"} << "--wehre";
        QTest::newRow("after a good one") << QStringList{"--meet", "postgresql://u@h/db", "--publsh", "x"}
                                          << "--publsh";
        QTest::newRow("argument looks like one") << QStringList{"--publish", "--every", "--evry", "5"} << "--evry";
    }
    void mistypedOption_refusedByName()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, refused);
        QTemporaryDir dir;
        const Run run = runProgram(TROTWISE_PROGRAM, arguments, dir.filePath("home"));
        QCOMPARE(run.status, 2);
        QCOMPARE(run.err, "trotwise: there is no option \"" + refused + "\"; trotwise --help lists them.\n");
        QVERIFY(!QFileInfo::exists(dir.filePath("home")));
    }

    // Every option is in --help and in the manual page; an option added to one is added to both.
    void help_namesEveryOptionAsTheManualPageDoes()
    {
        QTemporaryDir dir;
        const Run run = runProgram(TROTWISE_PROGRAM, {"--help"}, dir.path());
        QCOMPARE(run.status, 0);
        QFile manual(TROTWISE_MANUAL);
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(manual.readAll());
        QVERIFY(CommandLine::Options.size() >= 5);
        for (const CommandLine::Option &o : CommandLine::Options) {
            const QString synopsis = o.argument.isEmpty() ? o.name : o.name + u' ' + o.argument;
            QVERIFY2(run.out.contains("  " + synopsis + "  ") && run.out.contains(o.meaning), qPrintable(o.name));
            QString roff = o.argument.isEmpty() ? ".B " + o.name : ".BI " + o.name + " \" " + o.argument + "\"";
            QVERIFY2(page.contains("\n.TP\n" + roff.replace("-", "\\-") + "\n"), qPrintable(o.name));
        }
    }
};

QTEST_GUILESS_MAIN(TstDataFolder)
#include "tst_datafolder.moc"
