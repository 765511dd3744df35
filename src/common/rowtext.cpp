#include "common/rowtext.h"

RowText &RowText::name(const QString &text)
{
    m_parts.push_back({text, true});
    return *this;
}

RowText &RowText::fixed(const QString &text)
{
    m_parts.push_back({text, false});
    return *this;
}

RowText &RowText::append(const RowText &more)
{
    m_parts += more.m_parts;
    return *this;
}

QString RowText::whole() const
{
    QString out;
    for (const Part &p : m_parts)
        out += p.text;
    return out;
}

QString RowText::joined(const QVector<int> &kept) const
{
    QString out;
    for (int i = 0; i < m_parts.size(); ++i) {
        const Part &p = m_parts[i];
        if (kept[i] >= p.text.size())
            out += p.text;
        else
            out += p.text.left(kept[i]).trimmed() + QChar(0x2026);
    }
    return out;
}

QString RowText::fitted(const std::function<bool(const QString &)> &fits) const
{
    QVector<int> kept;
    for (const Part &p : m_parts)
        kept << (p.shortens ? int(p.text.size()) : int(p.text.size()) + 1);
    for (;;) {
        const QString text = joined(kept);
        if (fits(text))
            return text;
        int longest = -1;
        for (int i = 0; i < m_parts.size(); ++i)
            if (m_parts[i].shortens && kept[i] > 0 && (longest < 0 || kept[i] > kept[longest]))
                longest = i;
        if (longest < 0)
            return text;
        --kept[longest];
    }
}
