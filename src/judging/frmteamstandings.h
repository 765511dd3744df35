#pragma once

#include "judging/reportactivity.h"

// "Meet Standings": computes the division's team standings and shows them in the preview. The
// activity ends as soon as the report is open (or when there is nothing to print); the report
// stays open until the user closes it.
class FrmTeamStandings : public ReportActivity
{
    Q_OBJECT

public:
    FrmTeamStandings(AppState &app, QWidget *parent);

    void Load_Report() override;
};
