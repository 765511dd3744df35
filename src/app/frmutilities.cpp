#include "app/frmutilities.h"

#include "app/clicklabel.h"
#include "app/menucolours.h"
#include "common/twips.h"
#include "shell/formkit.h"

#include <QCloseEvent>

FrmUtilities::FrmUtilities(FrmMain &main) : QWidget(&main, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmUtilities"));
    setWindowTitle(QStringLiteral("Export to State"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    setFixedSize(Twips::size(1575, 975));
    QPalette p = palette();
    p.setColor(QPalette::Window, MenuColours::HeaderBand);
    setPalette(p);
    setAutoFillBackground(true);

    struct Entry
    {
        const char *name;
        const char *caption;
        int top;
        FrmMain::Utility which;
    };
    static constexpr Entry Entries[] = {
        {"LblImport", "Import Teams", 120, FrmMain::Utility::ImportTeams},
        {"LblAssignNum", "Assign Rider #s", 600, FrmMain::Utility::AssignRiderNumbers},
    };
    for (const Entry &e : Entries) {
        auto *label = new ClickLabel(QString::fromLatin1(e.caption), this);
        label->setObjectName(QString::fromLatin1(e.name));
        label->setGeometry(Twips::rect(0, e.top, 1575, 255));
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

bool FrmUtilities::event(QEvent *event)
{
    // A pop-up closes when a click lands elsewhere; losing the activation closes it too.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        close();
    return QWidget::event(event);
}

void FrmUtilities::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    Q_EMIT closed();
}
