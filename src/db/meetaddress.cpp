#include "db/meetaddress.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

const QString HoldsPassword = QStringLiteral(
    "it holds a password; keep the password in the user's password file (~/.pgpass) or in PGPASSWORD instead");

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

QString encoded(const QString &part)
{
    return QString::fromUtf8(QUrl::toPercentEncoding(part, "-._~"));
}

QString hostText(const ServerHost &h)
{
    return (h.name.contains(u':') ? u'[' + h.name + u']' : h.name) + u':' + QString::number(h.port);
}

} // namespace

QString ServerAddress::display() const
{
    QStringList servers;
    for (const ServerHost &h : hosts)
        servers << hostText(h);
    return database + QStringLiteral(" on ") + servers.join(QStringLiteral(", "));
}

QString ServerAddress::url() const
{
    QStringList servers;
    for (const ServerHost &h : hosts)
        servers << (h.name.contains(u':') ? u'[' + h.name + u']' : encoded(h.name)) + u':' +
                       QString::number(h.port);
    QStringList query;
    for (const auto &[name, value] : options)
        query << name + u'=' + encoded(value);
    return QStringLiteral("postgresql://") + (user.isEmpty() ? QString() : encoded(user) + u'@') +
           servers.join(u',') + u'/' + encoded(database) +
           (query.isEmpty() ? QString() : u'?' + query.join(u'&'));
}

QString ServerAddress::hostList() const
{
    QStringList names;
    for (const ServerHost &h : hosts)
        names << h.name;
    return names.join(u',');
}

QString ServerAddress::portList() const
{
    QStringList ports;
    for (const ServerHost &h : hosts)
        ports << QString::number(h.port);
    return ports.join(u',');
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
        QStringLiteral(R"(^postgres(?:ql)?://(?:([^@/]*)@)?([^/@]*)/([^/?#]*)(?:\?([^#]*))?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(location.trimmed());
    if (!m.hasMatch())
        return refuse(QStringLiteral("it is not of the form postgresql://user@host:port/database"));
    ServerAddress a;
    const QString user = m.captured(1);
    if (user.contains(u':'))
        return refuse(HoldsPassword);
    a.user = decoded(user);

    // Each server: a name, [an IPv6 address] or a socket folder, and its port when not 5432.
    static const QRegularExpression server(QStringLiteral(R"(^(\[[^\]]*\]|[^:\[\]]*)(?::(.*))?$)"));
    for (const QString &part : m.captured(2).split(u',')) {
        const QRegularExpressionMatch h = server.match(part);
        if (!h.hasMatch())
            return refuse(QStringLiteral("\"%1\" is no server").arg(part));
        ServerHost host;
        host.name = decoded(h.captured(1));
        if (host.name.startsWith(u'[') && host.name.endsWith(u']'))
            host.name = host.name.mid(1, host.name.size() - 2);
        if (host.name.isEmpty())
            return refuse(QStringLiteral("it names no server"));
        if (h.hasCaptured(2)) {
            bool ok = false;
            host.port = h.captured(2).toInt(&ok);
            if (!ok || host.port < 1 || host.port > 65535)
                return refuse(QStringLiteral("\"%1\" is no port number").arg(h.captured(2)));
        }
        a.hosts << host;
    }
    a.database = decoded(m.captured(3));
    if (a.database.isEmpty())
        return refuse(QStringLiteral("it names no database"));

    static const QStringList known(std::begin(Options), std::end(Options));
    static const QStringList modes{"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};
    if (m.hasCaptured(4) && !m.captured(4).isEmpty()) {
        for (const QString &pair : m.captured(4).split(u'&')) {
            const QString name = decoded(pair.section(u'=', 0, 0));
            const QString value = decoded(pair.section(u'=', 1));
            if (name.compare(QStringLiteral("password"), Qt::CaseInsensitive) == 0)
                return refuse(HoldsPassword);
            if (!known.contains(name))
                return refuse(QStringLiteral("it asks for \"%1\", which a meet address cannot set (only %2)")
                                  .arg(name, known.join(QStringLiteral(", "))));
            if (!pair.contains(u'=') || value.isEmpty())
                return refuse(QStringLiteral("it gives %1 no value").arg(name));
            if (name == QStringLiteral("sslmode") && !modes.contains(value))
                return refuse(
                    QStringLiteral("\"%1\" is no sslmode (%2)").arg(value, modes.join(QStringLiteral(", "))));
            // The driver takes the connection's options separated by ";".
            if (value.contains(u';'))
                return refuse(QStringLiteral("the %1 \"%2\" holds a \";\"").arg(name, value));
            for (const auto &given : std::as_const(a.options))
                if (given.first == name)
                    return refuse(QStringLiteral("it gives %1 twice").arg(name));
            a.options.append({name, value});
        }
    }
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
