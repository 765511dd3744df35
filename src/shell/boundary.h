#pragma once

#include <QString>

#include <exception>
#include <functional>

class MessageService;

// The one boundary between the windows and the meet. Every action a window runs against the meet
// file (opening an editor, reading a list, a search, a save, a delete, numbering, an import,
// opening a report) runs through run(): whatever it throws is caught there and told to the user
// in one message naming the action and why, a meet file held by another program in plain words.
// The caller then gives its windows back (an editor that could not load closes, openers are
// enabled again); nothing reaches Qt's event loop.
//
//   if (!Boundary::run(messages, QStringLiteral("Opening the team"), [&] { loaded = form->load(code); }))
//       form->close();
namespace Boundary {

// Runs the work; true when it ran through, false when it failed and the user has been told.
// A preface, when given, is told before the reason (the screen's own words for a failure).
// While the meet server is away, the windows' reading again as the user comes back to them says
// so once: after a message that the server cannot be reached, such a reading fails quietly (the
// window keeps what it shows) until an action goes through again.
bool run(MessageService &messages, const QString &action, const std::function<void()> &work,
         const QString &preface = {}) noexcept;

// While one lives, the work run is a window's reading again as the user comes back to it, which
// nobody asked for by name (ReturnWatch).
class Returning
{
public:
    Returning();
    ~Returning();
    Returning(const Returning &) = delete;
    Returning &operator=(const Returning &) = delete;
};

// What the user reads for a failure of the action.
QString describe(const QString &action, const std::exception_ptr &error);

} // namespace Boundary
