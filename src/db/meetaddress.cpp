#include "db/meetaddress.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace {

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

QString encoded(const QString &part)
{
    return QString::fromUtf8(QUrl::toPercentEncoding(part, "-._~"));
}

} // namespace

QString ServerAddress::display() const
{
    return database + QStringLiteral(" on ") + host + u':' + QString::number(port);
}

QString ServerAddress::url() const
{
    return QStringLiteral("postgresql://") + (user.isEmpty() ? QString() : encoded(user) + u'@') +
           encoded(host) + u':' + QString::number(port) + u'/' + encoded(database);
}

namespace MeetAddress {

bool isServer(const QString &location)
{
    return location.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
           location.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

std::optional<ServerAddress> parse(const QString &location, QString *reason)
{
    const auto refuse = [&](const QString &why) -> std::optional<ServerAddress> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    static const QRegularExpression form(
        QStringLiteral(R"(^postgres(?:ql)?://(?:([^@/]*)@)?(\[[^\]/]*\]|[^:/@]*)(?::([^/]*))?/([^/?#]*)$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(location.trimmed());
    if (!m.hasMatch())
        return refuse(QStringLiteral("it is not of the form postgresql://user@host:port/database"));
    ServerAddress a;
    const QString user = m.captured(1);
    if (user.contains(u':'))
        return refuse(QStringLiteral("it holds a password; keep the password in the user's password file "
                                     "(~/.pgpass) or in PGPASSWORD instead"));
    a.user = decoded(user);
    a.host = decoded(m.captured(2));
    if (a.host.startsWith(u'[') && a.host.endsWith(u']'))
        a.host = a.host.mid(1, a.host.size() - 2);
    if (a.host.isEmpty())
        return refuse(QStringLiteral("it names no server"));
    if (m.capturedLength(3) > 0) {
        bool ok = false;
        a.port = m.captured(3).toInt(&ok);
        if (!ok || a.port < 1 || a.port > 65535)
            return refuse(QStringLiteral("\"%1\" is no port number").arg(m.captured(3)));
    }
    a.database = decoded(m.captured(4));
    if (a.database.isEmpty())
        return refuse(QStringLiteral("it names no database"));
    return a;
}

QString describe(const QString &location)
{
    if (const auto a = parse(location))
        return a->display();
    return isServer(location) ? masked(location) : QDir::toNativeSeparators(location);
}

QString masked(const QString &text)
{
    static const QRegularExpression inUser(QStringLiteral(R"((postgres(?:ql)?://[^:@/\s"]*):[^\s"]*@)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression asParameter(QStringLiteral(R"((\bpassword\s*=\s*)[^&;\s]+)"),
                                                QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    out.replace(inUser, QStringLiteral("\\1:*****@"));
    out.replace(asParameter, QStringLiteral("\\1*****"));
    return out;
}

} // namespace MeetAddress
