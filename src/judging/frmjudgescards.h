#pragma once

#include "judging/reportactivity.h"

// "Judges Cards": the division's blank judges' cards in the preview. The activity ends when the
// report closes.
class FrmJudgesCards : public ReportActivity
{
    Q_OBJECT

public:
    FrmJudgesCards(AppState &app, QWidget *parent);

    void Load_Report() override;
};
