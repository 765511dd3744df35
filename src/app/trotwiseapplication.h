#pragma once

#include <QApplication>

class MessageService;

// The program's application object. Every window action runs through the error boundary; should
// one ever slip past it, the last event's failure is told to the user here instead of ending the
// program, and the windows stay as they are.
class TrotwiseApplication : public QApplication
{
public:
    using QApplication::QApplication;

    void setMessages(MessageService *messages) { m_messages = messages; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    MessageService *m_messages = nullptr;
};
