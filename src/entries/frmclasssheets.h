#pragma once

#include "reports/memorytable.h"
#include "shell/activityscreen.h"

#include <QVector>

#include <vector>

class QComboBox;
struct AppState;

// The class sheets: a class and a number of splits are chosen, and Random Order or Sequential
// Order opens one sheet per split, each in its own preview.
class FrmClassSheets : public ActivityScreen
{
    Q_OBJECT

public:
    static constexpr int Width = 8400;
    static constexpr int Height = 4200;

    FrmClassSheets(AppState &app, QWidget *parent);

    void Set_Division(const QString &division) override;

    void CmdRandom_Click();
    void CmdSequential_Click();
    // False, after telling the user why, when no class is chosen or nobody of the division is
    // entered in it.
    bool Check_Class();
    void Build_Splits(int splits, bool random);
    // One preview per split, each with its own riders.
    void Generate_Split_Report();

private:
    void run(bool random);

    AppState &m_app;
    QString m_division;
    QComboBox *m_class;
    QComboBox *m_splits;
    QVector<int> m_classNumbers; // line i of the class box stands for this class
    int m_classNumber = 0;
    std::vector<MemoryTable> m_splitRows; // one table per split, in split order
};
