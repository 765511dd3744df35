#pragma once

#include "db/classtable.h"
#include "shell/activityscreen.h"

class QComboBox;
struct AppState;

// The class picker of the entry booth: opens the judges' cards of a class, or its placings
// report, for the division the main menu hands over.
class FrmPlacings : public ActivityScreen
{
    Q_OBJECT

public:
    static inline const QString NoClass =
        QStringLiteral("You must provide the class you are trying to place.");

    FrmPlacings(AppState &app, QWidget *parent);

    void Set_Division(const QString &division) override;
    const QString &division() const { return m_division; }

    void CmdAddPlacings_Click();
    void CmdPlacingsReport_Click();

private:
    // The picked class, or null after telling the user that none is.
    const StoredClass *pickedClass();

    AppState &m_app;
    QString m_division;
    QVector<StoredClass> m_classes; // line n of the class box is m_classes[n]
    QComboBox *m_class;
};
