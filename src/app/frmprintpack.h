#pragma once

#include "reports/reportpage.h"
#include "shell/activityscreen.h"

#include <QString>

#include <functional>
#include <map>

class QLabel;
class QSpinBox;
struct AppState;

// "Print Pack": the division's show-day printing in one go, each pack one preview, one PDF and
// one print job. The class sheets of every class with entries, dealt into the splits chosen per
// class in the table (1 to 3, 1 to start with) in random or rider-number order; every placed
// class's placings report; the judges' cards with the slot sheets. And the Publish Results window,
// for the meet's results as a folder of web pages.
class FrmPrintPack : public ActivityScreen
{
    Q_OBJECT

public:
    static constexpr int Width = 8400;
    static constexpr int Height = 6480;

    FrmPrintPack(AppState &app, QWidget *parent);

    // Reads how many riders of the division each class holds; every class back to one split.
    void Set_Division(const QString &division) override;

    void CmdRandom_Click();
    void CmdSequential_Click();
    void CmdPlacingsPack_Click();
    void CmdCardsPack_Click();
    void CmdPublish_Click();

private:
    void classSheets(bool random);
    // Builds the pack through the error boundary and shows it, or tells nothing when it has no page.
    void showPack(const QString &action, const std::function<Report::Document()> &build,
                  const QString &nothing);

    AppState &m_app;
    QString m_division;
    std::map<int, QSpinBox *> m_splits; // by class number
    std::map<int, QLabel *> m_entries;  // by class number
};
