#include "shell/ownedwindow.h"

#include <QCloseEvent>

OwnedWindow::OwnedWindow(QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : QWidget(nullptr, Qt::Window | Qt::Dialog), m_lock(std::move(openers), focusAfter), m_owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (owner)
        connect(owner, &QObject::destroyed, this, &QObject::deleteLater);
}

OwnedWindow::~OwnedWindow()
{
    m_lock.release(!m_shown);
}

void OwnedWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_shown = true;
    FormKit::keepAbove(this, m_owner);
}

void OwnedWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_lock.release(!m_shown);
}
