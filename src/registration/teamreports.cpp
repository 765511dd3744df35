#include "registration/teamreports.h"

#include <QtGlobal>

namespace TeamReports {

void showTeamList(AppState &app, QWidget *opener)
{
    Q_UNUSED(app)
    Q_UNUSED(opener)
}

void showCoachList(AppState &app, QWidget *opener)
{
    Q_UNUSED(app)
    Q_UNUSED(opener)
}

} // namespace TeamReports
