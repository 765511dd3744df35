#include "shell/boundary.h"

#include "common/messageservice.h"
#include "db/dberror.h"

namespace Boundary {

QString describe(const QString &action, const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const DbError &e) {
        // The database names its own step ("Reading the team"), which says more than the button.
        return e.userText();
    } catch (const std::exception &e) {
        return action + QStringLiteral(" failed.\n\n") + QString::fromLocal8Bit(e.what());
    } catch (...) {
        return action + QStringLiteral(" failed for a reason the program could not name.");
    }
}

namespace {

bool g_serverAwayTold = false; // since the last action that went through
int g_returning = 0;           // Returning scopes open (windows run on one thread)

bool serverAway(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const DbError &e) {
        return e.kind() == DbError::Kind::Lost;
    } catch (...) {
        return false;
    }
}

} // namespace

Returning::Returning()
{
    ++g_returning;
}

Returning::~Returning()
{
    --g_returning;
}

bool run(MessageService &messages, const QString &action, const std::function<void()> &work,
         const QString &preface) noexcept
{
    try {
        work();
        g_serverAwayTold = false;
        return true;
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (serverAway(error)) {
            if (g_serverAwayTold && g_returning > 0)
                return false;
            g_serverAwayTold = true;
        }
        try {
            const QString reason = describe(action, error);
            messages.fail(preface.isEmpty() ? reason : preface + QStringLiteral("\n\n") + reason);
        } catch (...) {
            // Telling the user failed as well (out of memory): there is nobody left to tell.
        }
        return false;
    }
}

} // namespace Boundary
