#include "common/dialogmessages.h"

#include <QApplication>
#include <QMessageBox>

namespace {
// The active window, unless it is disabled (the main menu while an editing window is open): a
// message box owned by a disabled window would be disabled with it.
QWidget *owner()
{
    QWidget *active = QApplication::activeWindow();
    return active && active->isEnabled() ? active : nullptr;
}
} // namespace

void DialogMessages::tell(const QString &text, const QString &title)
{
    QMessageBox::information(owner(), title, text, QMessageBox::Ok);
}

bool DialogMessages::ask(const QString &text)
{
    return QMessageBox::warning(owner(), QuestionTitle, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Yes) != QMessageBox::No;
}

void DialogMessages::refuse(Refusal kind, const QString &text)
{
    QMessageBox::information(owner(), refusalTitle(kind), text, QMessageBox::Ok);
}

void DialogMessages::warn(const QString &text)
{
    QMessageBox::warning(owner(), ProgramTitle, text, QMessageBox::Ok);
}

void DialogMessages::fail(const QString &text)
{
    QMessageBox::critical(owner(), ProgramTitle, text, QMessageBox::Ok);
}
