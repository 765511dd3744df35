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
    // An entry every 480 twips from 120 down, 120 to spare under the last; wider than the label
    // that opens it, for the longer captions, with its right edge in line with the label's.
    constexpr int Width = 2400;
    constexpr int LabelWidth = 1575;
    setFixedSize(Twips::size(Width, 480 * FrmMain::UtilityCount + 15));
    QPalette p = palette();
    p.setColor(QPalette::Window, MenuColours::HeaderBand);
    setPalette(p);
    setAutoFillBackground(true);

    for (int i = 0; i < FrmMain::UtilityCount; ++i) {
        const auto which = FrmMain::Utility(i);
        auto *label = new ClickLabel(FrmMain::utilityCaption(which), this);
        label->setObjectName(FrmMain::utilityName(which));
        label->setGeometry(Twips::rect(0, 120 + 480 * i, Width, 255));
        label->setColors(FormKit::LightGrey, MenuColours::windowText());
        label->setEnabled(main.hasUtilityAction(which));
        connect(label, &ClickLabel::clicked, this, [this, which] { Q_EMIT entryChosen(which); });
    }

    // Just below the header band, in line with the "Utilities" label.
    const QPoint mainAt = main.frameGeometry().topLeft();
    move(
        Twips::point(Twips::fromPixels(mainAt.x()) + FrmMain::LblUtilitiesLeft + 60 + LabelWidth - Width,
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
