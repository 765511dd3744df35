#include "registration/riderreports.h"

#include <QtGlobal>

namespace RiderReports {

void showByTeam(AppState &app, QWidget *opener)
{
    Q_UNUSED(app)
    Q_UNUSED(opener)
}

void showByNumber(AppState &app, QWidget *opener)
{
    Q_UNUSED(app)
    Q_UNUSED(opener)
}

} // namespace RiderReports
