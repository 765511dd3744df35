#pragma once

#include "common/folderswap.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <optional>
#include <vector>

// Publishing the results again and again while the meet goes on, into one folder: a look at the
// meet publishes only when something was written to it since the last publish (by this station,
// another program or another station), so that a meet at rest costs one small read a look and
// the folder is left alone. A publish that failed is tried again at the next look whether the meet
// changed or not. The Publish Results screen looks every few minutes, `trotwise --publish FOLDER
// --every SECONDS` every few seconds.
class ResultsPublisher
{
public:
    struct Outcome
    {
        enum class Kind { Published, Unchanged, Failed };
        Kind kind = Kind::Unchanged;
        QString line; // what was written, or why nothing was; empty when unchanged
        QDateTime at;
    };

    // The extra files (the poster) go into the folder with every publish.
    explicit ResultsPublisher(QString folder, std::vector<FolderSwap::File> extra = {});

    const QString &folder() const { return m_folder; }

    // Looks at the meet and publishes when it changed since the last publish. Never throws: a
    // failure is the outcome. While a save is under way on the connection (a question asked in
    // the middle of it) it waits for the next look.
    Outcome publishIfChanged(const QSqlDatabase &db);

    // The last publish is forgotten: the next look publishes whatever the meet's mark (a meet
    // opened afresh has marks of its own).
    void forget() { m_published.reset(); }

private:
    QString m_folder;
    std::vector<FolderSwap::File> m_extra;
    std::optional<QString> m_published; // the meet's mark at the last publish
};
