#pragma once

#include "judging/reportactivity.h"

// "Rider Results": every team of the meet with its riders' placings and points, in the preview.
// The activity ends when the report closes.
class FrmRiderResults : public ReportActivity
{
    Q_OBJECT

public:
    FrmRiderResults(AppState &app, QWidget *parent);

    void Load_Report() override;
};
