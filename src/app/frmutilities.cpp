#include "app/frmutilities.h"

#include "app/clicklabel.h"
#include "app/menucolours.h"
#include "common/twips.h"
#include "shell/formkit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

FrmUtilities::FrmUtilities(FrmMain &main) : QWidget(&main, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmUtilities"));
    setWindowTitle(QStringLiteral("Export to State"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    setFixedSize(Twips::size(1575, 2220));
    QPalette p = palette();
    p.setColor(QPalette::Window, MenuColours::HeaderBand);
    setPalette(p);
    setAutoFillBackground(true);

    struct Entry
    {
        const char *name;
        int top;
        int height;
        FrmMain::Utility which;
    };
    static constexpr Entry Entries[] = {
        {"LblImport", 120, 255, FrmMain::Utility::ImportTeams},
        {"LblAssignNum", 600, 255, FrmMain::Utility::AssignRiderNumbers},
        // Moving a meet between the file and a server: two lines each in the same width.
        {"LblCopyToServer", 1080, 450, FrmMain::Utility::CopyMeetToServer},
        {"LblCopyToFile", 1650, 450, FrmMain::Utility::CopyMeetToFile},
    };
    for (const Entry &e : Entries) {
        auto *label = new ClickLabel(FrmMain::utilityCaption(e.which), this);
        label->setObjectName(QString::fromLatin1(e.name));
        label->setGeometry(Twips::rect(0, e.top, 1575, e.height));
        label->setWordWrap(e.height > 255);
        label->setColors(FormKit::LightGrey, MenuColours::windowText());
        label->setEnabled(main.hasUtilityAction(e.which));
        connect(label, &ClickLabel::clicked, this, [this, which = e.which] { Q_EMIT entryChosen(which); });
    }

    // Just below the header band, in line with the "Utilities" label.
    const QPoint mainAt = main.frameGeometry().topLeft();
    move(
        Twips::point(Twips::fromPixels(mainAt.x()) + FrmMain::LblUtilitiesLeft + 60,
                     Twips::fromPixels(mainAt.y()) + FrmMain::ShpHeaderTop + FrmMain::ShpHeaderHeight + 400));
}

void FrmUtilities::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Watches for clicks elsewhere in the program while open.
    qApp->installEventFilter(this);
    activateWindow();
    for (ClickLabel *entry : findChildren<ClickLabel *>())
        if (entry->isEnabled()) {
            entry->setFocus(Qt::TabFocusReason);
            break;
        }
}

bool FrmUtilities::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        close();
    return QWidget::event(event);
}

bool FrmUtilities::eventFilter(QObject *watched, QEvent *event)
{
    // A click elsewhere only closes the window, as it would close a pop-up menu.
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() != this) {
        close();
        return true;
    }
    return false;
}

void FrmUtilities::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        focusPreviousChild();
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        focusNextChild();
        return;
    case Qt::Key_Escape:
        // The keyboard goes back to the main menu, where it was.
        parentWidget()->activateWindow();
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FrmUtilities::closeEvent(QCloseEvent *event)
{
    qApp->removeEventFilter(this);
    QWidget::closeEvent(event);
    Q_EMIT closed();
}
