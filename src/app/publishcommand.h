#pragma once

#include <QString>

#include <optional>

// "trotwise --publish FOLDER": the results folder written without a window, for a script that
// posts it every few minutes. The meet is the one the program would open (its file, or the
// server's named by --meet or trotwise.ini); it is only read, and a missing one is not built.
namespace PublishCommand {

// The folder named after "--publish", empty when none is; nothing when the arguments do not ask
// to publish.
std::optional<QString> requested(int argc, char *argv[]);

struct Outcome
{
    int status;   // 0 when published
    QString line; // what was written, or why nothing was
};

// Publishes the meet into the folder: the meet file of the program's folder, or the meet on the
// server at the address when one is given. Touches nothing when the meet is missing or is not a
// meet of this program.
Outcome run(const QString &appFolder, const QString &folder, const QString &serverAddress = {});

} // namespace PublishCommand
