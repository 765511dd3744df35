#pragma once

#include "common/messageservice.h"

class QWidget;

// The message service as real message boxes, parented to the active window.
class DialogMessages : public MessageService
{
public:
    void tell(const QString &text, const QString &title = ProgramTitle) override;
    bool ask(const QString &text) override;
    void refuse(Refusal kind, const QString &text) override;
    void warn(const QString &text) override;
    void fail(const QString &text) override;
};
