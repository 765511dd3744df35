#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <optional>

// "trotwise --publish FOLDER": the results folder written without a window, for a script that
// posts it. With "--every SECONDS" it keeps going until stopped (Ctrl+C, or a TERM signal),
// looking at the meet every SECONDS and publishing whenever it changed; a failure is printed and
// tried again at the next look. With "--url URL" the folder holds poster.pdf too, the page to
// print for the ring and the office door: written with the pages, it is as current as they are and
// wherever they are posted. The meet is the one the program would open (its file, or the server's
// named by --meet or trotwise.ini); it is only read, and a missing one is not built.
namespace PublishCommand {

struct Request
{
    QString folder;   // empty when --publish names none
    double every = 0; // seconds between looks at the meet; 0: publish once
    QString url;      // the address for the poster; empty: no poster
    QString problem;  // what is wrong with the options, if anything
};

// The request when the arguments ask to publish; nothing when they do not.
std::optional<Request> requested(int argc, char *argv[]);

struct Outcome
{
    int status;   // 0 when published
    QString line; // what was written, or why nothing was
};

// Publishes the meet into the folder once: the meet file of the program's folder, or the meet on
// the server at the address when one is given. Touches nothing when the meet is missing or is not
// a meet of this program.
Outcome run(const QString &appFolder, const Request &request, const QString &serverAddress = {});

// Publishes whenever the meet changed, until stop is set: each publish or failure is one line
// through print (a failure once, until the outcome changes). Answers the exit status.
int keepPublishing(const QString &appFolder, const Request &request, const QString &serverAddress,
                   const std::atomic<bool> &stop,
                   const std::function<void(const QString &, bool failed)> &print);

// The whole command, from main(): its application object, the meet's address, once or until
// stopped. Answers the exit status.
int exec(int argc, char *argv[], const Request &request);

} // namespace PublishCommand
