#pragma once

#include <QProcessEnvironment>
#include <QString>

// The data folder: where the meet file, LabelFiles, Snapshots and trotwise.ini are kept. Beside
// the program when the program's folder can be written, as for a build or a folder copied to a
// station; for an installed program, the user's own folder in the XDG data home
// (~/.local/share/Trotwise).
namespace DataFolder {

inline const QString UserFolderName = QStringLiteral("Trotwise");

// What the choice rests on, read from the machine.
struct Facts
{
    bool programFolderWritable = false;
    // Installed with its desktop entry in the share folder beside its bin folder (/usr/bin and
    // /usr/share/applications): the program's folder is then never used, even where it can be
    // written (by root, or in a folder the package was unpacked into).
    bool installed = false;
    QString home;        // $HOME
    QString xdgDataHome; // $XDG_DATA_HOME
};

Facts facts(const QString &programFolder,
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// The data folder for a program in programFolder, absolute; empty when there is none (the
// program's folder is not to be used and no home folder is set).
QString choose(const QString &programFolder, const Facts &facts);
QString choose(const QString &programFolder);

// Makes the data folder when it is missing, with any missing folder above it, each readable by
// the user only (the meet holds the riders' names). Answers why it cannot be used, or nothing.
QString make(const QString &folder);

// Whether new files can be made in the folder: tried by making one, the only reliable test
// (permissions, read-only mounts and full disks all show there).
bool writable(const QString &folder);

} // namespace DataFolder
