#pragma once

#include <QString>
#include <QVector>

#include <functional>

// The text that names a row on screen (a rider, a relay pair, a judge, a team): names, which may
// be shortened to fit the room there is, and what tells rows apart (a rider number, a division,
// a mark), which never is.
//
//   const RowText text = RowText().name("Ann Lee").fixed(" - (12)");
//   label->setText(text.fitted([&](const QString &t) { return metrics.horizontalAdvance(t) <= width; }));
class RowText
{
public:
    RowText &name(const QString &text);
    RowText &fixed(const QString &text);
    RowText &append(const RowText &more);

    QString whole() const;
    // The whole text when it fits; otherwise the longest name is shortened a character at a time,
    // "…" standing for what is left out, until the text fits or the names are down to "…".
    QString fitted(const std::function<bool(const QString &)> &fits) const;

private:
    struct Part
    {
        QString text;
        bool shortens;
    };
    QString joined(const QVector<int> &kept) const;

    QVector<Part> m_parts;
};
