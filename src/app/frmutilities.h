#pragma once

#include "app/frmmain.h"

#include <QWidget>

// The small pop-up under the main menu's "Utilities" label: "Import Teams" and
// "Assign Rider #s". It closes as soon as it loses the focus; an entry whose window does not
// exist yet is disabled.
class FrmUtilities : public QWidget
{
    Q_OBJECT
public:
    explicit FrmUtilities(FrmMain &main);

Q_SIGNALS:
    void entryChosen(FrmMain::Utility which);
    // The pop-up has closed, for whatever reason.
    void closed();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
