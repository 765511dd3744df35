#pragma once

#include "app/frmmain.h"

#include <QWidget>

// The small window under the main menu's "Utilities" label: "Import Teams", "Assign Rider #s",
// "Copy Meet to Server" and "Copy Meet to File". A frameless tool window rather than a pop-up, so that screen
// readers list it; its entries are reached with Tab or the arrow keys and chosen with Enter or Space. It
// closes as soon as it loses the activation, a click lands elsewhere in the program, or Escape
// is pressed; an entry whose window does not exist yet is disabled.
class FrmUtilities : public QWidget
{
    Q_OBJECT
public:
    explicit FrmUtilities(FrmMain &main);

Q_SIGNALS:
    void entryChosen(FrmMain::Utility which);
    // The window has closed, for whatever reason.
    void closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
