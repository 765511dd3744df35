#pragma once

#include <QString>

// The one way the program talks to the user in a message box. Windows receive it from
// the start-up code; tests install a scripted one. Texts are passed exactly as the
// program's own wording has them.
class MessageService
{
public:
    enum class Refusal { Submit, Delete, Edit };

    static inline const QString ProgramTitle = QStringLiteral("Quendal");
    static inline const QString QuestionTitle = QStringLiteral("Confirm Cancel");

    virtual ~MessageService() = default;

    // OK only, the program title unless another is given.
    virtual void tell(const QString &text, const QString &title = ProgramTitle) = 0;
    // Yes/No with the warning icon and the title "Confirm Cancel". Any answer but No goes on.
    virtual bool ask(const QString &text) = 0;
    // OK only, titled "Submit Error", "Delete Error" or "Edit Error".
    virtual void refuse(Refusal kind, const QString &text) = 0;
    // OK only with the warning icon, the program title.
    virtual void warn(const QString &text) = 0;
    // A failure the user could not have avoided (a database or file error), named in full.
    virtual void fail(const QString &text) = 0;

    static QString refusalTitle(Refusal kind)
    {
        switch (kind) {
        case Refusal::Submit:
            return QStringLiteral("Submit Error");
        case Refusal::Delete:
            return QStringLiteral("Delete Error");
        case Refusal::Edit:
            return QStringLiteral("Edit Error");
        }
        return ProgramTitle;
    }
};
