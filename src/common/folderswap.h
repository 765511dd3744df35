#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A folder written whole. Its files go into a new folder beside it, which then takes its place:
// the old folder is moved aside, the new one moved in, the old one removed. Until the new
// folder is complete and in place the old one stands as it was, so a half-written folder never
// shows under the folder's name (a web server posting it, a script uploading it).
//
// The folder carries a marker file, so that a later run knows the folder as its own: a folder
// that holds anything else without the marker is the user's, and is never replaced.
namespace FolderSwap {

struct File
{
    QString name; // a plain file name, no folders
    QByteArray bytes;
};

// Replaces the folder with one holding the files and the marker. Answers why it could not, in
// which case nothing under the folder's name has changed; nothing when it is done.
std::optional<QString> replace(const QString &folder, const std::vector<File> &files, const QString &marker);

} // namespace FolderSwap
