#pragma once

#include "shell/formkit.h"

#include <QPointer>
#include <QWidget>

// A window opened by another one (an editing window, the number assignment, the import wizard).
// It is a top-level window kept above its owner rather than a child of it: its openers are
// disabled while it is open, and a child would be disabled with them. The openers are enabled
// again, and the focus given back, once it closes; it goes when its owner goes. A window that
// never showed (it could not read what it needed) enables them again as having changed nothing.
class OwnedWindow : public QWidget
{
    Q_OBJECT

public:
    OwnedWindow(QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);
    ~OwnedWindow() override;

    // Whether this window keeps that widget disabled while it is open.
    bool locks(const QWidget *widget) const { return m_lock.holds(widget); }

protected:
    void showEvent(QShowEvent *event) override;
    // An accepted close enables the openers again.
    void closeEvent(QCloseEvent *event) override;

    QWidget *owner() const { return m_owner; }

private:
    FormKit::OpenerLock m_lock;
    QPointer<QWidget> m_owner;
    bool m_shown = false;
};
