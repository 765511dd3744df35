#include "reports/korvconnection.h"

#include <stdexcept>

namespace {
QString key(const QString &name)
{
    return name.toCaseFolded();
}
} // namespace

void KORVConnection::setDataSource(const QString &meetPath)
{
    if (meetPath != m_path)
        close();
    m_path = meetPath;
}

QSqlDatabase KORVConnection::database()
{
    if (!m_connection.isOpen())
        m_connection.open(m_path, DbConnection::Mode::ReadWrite, ConnectionName);
    return m_connection.database();
}

void KORVConnection::close()
{
    for (auto &entry : m_commands)
        close(entry.second.query.name());
    m_connection.close();
}

void KORVConnection::setCommand(const ShapeQuery &query)
{
    Command &c = m_commands[key(query.name())];
    c = Command{query, false, {}};
}

bool KORVConnection::hasCommand(const QString &name) const
{
    return find(name) != nullptr;
}

const KORVConnection::Command *KORVConnection::find(const QString &name) const
{
    const auto it = m_commands.find(key(name));
    return it == m_commands.end() ? nullptr : &it->second;
}

KORVConnection::Command &KORVConnection::command(const QString &name)
{
    const auto it = m_commands.find(key(name));
    if (it == m_commands.end())
        throw std::out_of_range("no report command named " + name.toStdString());
    return it->second;
}

void KORVConnection::open(const QString &name)
{
    Command &c = command(name);
    c.open = false; // a failed run leaves the command closed, not holding the rows of an earlier one
    c.rows = {};
    c.rows = c.query.run(database());
    c.open = true;
}

bool KORVConnection::isOpen(const QString &name) const
{
    const Command *c = find(name);
    return c && c->open;
}

void KORVConnection::close(const QString &name)
{
    const auto it = m_commands.find(key(name));
    if (it == m_commands.end())
        return;
    it->second.open = false;
    it->second.rows = {};
}

const ShapedRows &KORVConnection::rows(const QString &name) const
{
    const Command *c = find(name);
    if (!c || !c->open)
        throw std::logic_error("the report command " + name.toStdString() + " is not open");
    return c->rows;
}
