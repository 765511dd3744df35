#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A folder written whole, for a web server or an upload that may read it at any instant. Its
// files go into a new folder beside it, private to its owner while it is written, which then
// changes places with the old one in one step of the file system (an exchange: at every instant
// the folder's name holds the old folder or the new one, whole, never nothing); the old one is
// removed after.
//
// - A folder that is a symbolic link stays one: the pages land in the folder it leads to.
// - The folder carries a marker file listing what the program wrote there. A folder that holds
//   anything else (a dot file, a folder of its own) is the user's and is never replaced.
// - New folders get 0755 and their files 0644 whatever the umask and the parent's mode; a folder
//   replaced keeps its mode.
// - What a run cut short left beside the folder (its new folder half written, or the old one not
//   yet removed) is removed by the next run, and nothing else is: only folders of those names
//   that hold nothing or only what their marker lists.
// - Two runs on the same folder take turns.
namespace FolderSwap {

struct File
{
    QString name; // a plain file name, no folders
    QByteArray bytes;
};

// Replaces the folder with one holding the files and the marker. Answers why it could not, in
// which case nothing under the folder's name has changed; nothing when it is done.
std::optional<QString> replace(const QString &folder, const std::vector<File> &files, const QString &marker);

// For tests: called before each step of replace() with its name ("make the new folder",
// "write a.html", "wrote half of a.html", "swap", "remove the old folder"...). Answering an
// errno makes the step fail as if the system had said so; 0 lets it run. An empty hook (the
// program's) runs every step.
using StepHook = std::function<int(const QString &step)>;
void setStepHook(StepHook hook);

} // namespace FolderSwap
