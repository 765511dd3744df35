#include "app/trotwiseapplication.h"

#include "common/messageservice.h"
#include "shell/boundary.h"

#include <exception>

bool TrotwiseApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString text = Boundary::describe(QStringLiteral("The last action"), std::current_exception());
        if (m_messages)
            Boundary::run(*m_messages, QStringLiteral("Telling the user"), [&] { m_messages->fail(text); });
        return false;
    }
}
