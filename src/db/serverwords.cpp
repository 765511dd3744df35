#include "db/serverwords.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ServerWords {
namespace {

const QString PasswordAdvice = QStringLiteral("put it in ~/.pgpass or PGPASSWORD");

// The first name in double quotes after the words, e.g. the user of
// 'password authentication failed for user "trotwise"'.
QString quotedAfter(const QString &text, const QString &words)
{
    const QRegularExpression pattern(QRegularExpression::escape(words) + QStringLiteral(R"(\s*"([^"]*)\")"));
    return pattern.match(text).captured(1);
}

} // namespace

QString reason(const QString &driverText)
{
    // "connection to server at "showserver" (10.0.0.5), port 5432 failed: " and the socket's
    // form say where, which the program's words say already; the hints the library adds on
    // indented lines ("Is the server running ...?") are the program's to give.
    static const QRegularExpression where(QStringLiteral(R"(^connection to server (at|on) .*? failed:\s*)"));
    static const QRegularExpression level(QStringLiteral(R"(^(FATAL|ERROR|WARNING|PANIC):\s*)"));
    QStringList said;
    for (const QString &raw : driverText.split(u'\n', Qt::SkipEmptyParts)) {
        if (raw.startsWith(u'\t') || raw.startsWith(QStringLiteral("HINT:")) ||
            raw.startsWith(QStringLiteral("DETAIL:")))
            continue;
        QString line = raw.trimmed();
        line.remove(where);
        line.remove(level);
        line = line.trimmed();
        if (!line.isEmpty() && !said.contains(line))
            said << line;
    }
    return said.join(QStringLiteral("; "));
}

bool brokenConnection(const QString &driverText)
{
    static const char *const broken[] = {"server closed the connection unexpectedly",
                                         "SSL SYSCALL error",
                                         "SSL connection has been closed",
                                         "no connection to the server",
                                         "could not receive data from server",
                                         "could not send data to server",
                                         "terminating connection due to",
                                         "connection to server was lost"};
    for (const char *words : broken)
        if (driverText.contains(QLatin1StringView(words), Qt::CaseInsensitive))
            return true;
    return false;
}

QString unusablePasswordFile()
{
    const QString set = qEnvironmentVariable("PGPASSFILE");
    const QString path = set.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : set;
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    const QString named = set.isEmpty() ? QStringLiteral("~/.pgpass") : QDir::toNativeSeparators(path);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("the password file %1 is not a plain file, so it is not read").arg(named);
    if (st.st_mode & (S_IRWXG | S_IRWXO))
        return QStringLiteral("the password file %1 is passed over because others can read it: make it "
                              "readable by you alone (chmod 600 %1)")
            .arg(named);
    return {};
}

QString loginName()
{
    if (const struct passwd *pw = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

Told connectFailure(const QString &driverText, const QString &user, const QString &passwordFileProblem)
{
    const QString said = reason(driverText);
    const QString who = !user.isEmpty() ? user : loginName();
    const auto told = [&](DbError::Kind kind, const QString &words) {
        return Told{kind, said.isEmpty() ? words : words + QStringLiteral(" (") + said + u')'};
    };
    const auto has = [&](const char *words) { return driverText.contains(QLatin1StringView(words)); };

    if (has("password authentication failed"))
        return told(DbError::Kind::SignIn,
                    QStringLiteral("the server refused the password of %1: %2")
                        .arg(quotedAfter(driverText, QStringLiteral("for user")).isEmpty()
                                 ? who
                                 : quotedAfter(driverText, QStringLiteral("for user")),
                             PasswordAdvice));
    if (has("no password supplied") || has("password is required")) {
        if (!passwordFileProblem.isEmpty())
            return told(DbError::Kind::SignIn,
                        QStringLiteral("the server asks for the password of %1, and %2")
                            .arg(who, passwordFileProblem));
        return told(DbError::Kind::SignIn,
                    QStringLiteral("the server asks for the password of %1 and none was given: %2")
                        .arg(who, PasswordAdvice));
    }
    if (has("no pg_hba.conf entry"))
        return told(DbError::Kind::SignIn,
                    QStringLiteral("the server does not let this station in as %1 (no line of its "
                                   "pg_hba.conf admits it)")
                        .arg(who));
    if (has("does not exist") && driverText.contains(QStringLiteral("role \"")))
        return told(
            DbError::Kind::SignIn,
            QStringLiteral("the server has no user %1 (createuser on the server makes one)").arg(who));
    if (has("does not exist") && driverText.contains(QStringLiteral("database \""))) {
        const QString database = quotedAfter(driverText, QStringLiteral("database"));
        return told(DbError::Kind::SignIn,
                    QStringLiteral("the server has no database %1 (createdb --owner %2 %1 on the server "
                                   "makes it)")
                        .arg(database, who));
    }
    return Told{DbError::Kind::Lost, said}; // DbError says it cannot be reached, this after it
}

QString notOwner(const QString &database, const QString &user, const QString &serverText)
{
    const QString who = !user.isEmpty() ? user : loginName();
    return QStringLiteral("the database %1 must belong to the meet's user, %2 (createdb --owner %2 %1 makes "
                          "it so), or the meet cannot be built in it (%3)")
        .arg(database, who, reason(serverText));
}

} // namespace ServerWords
