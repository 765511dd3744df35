#pragma once

#include "db/dbconnection.h"
#include "db/journal.h"
#include "reports/korvconnection.h"
#include "shell/safetynet.h"

#include <QSqlDatabase>
#include <QString>

#include <cstdint>

class MessageService;

// The program-wide state, set by start-up and kept for the whole run. Screen sizes are kept
// wider than 16 bits so that screens above 32767 twips work.
struct AppState
{
    std::int32_t ScreenWidth = 0;  // twips
    std::int32_t ScreenHeight = 0; // twips
    QString AppFolder;
    DbConnection meetConnection;
    KORVConnection KORV;
    MessageService *messages = nullptr;
    // Snapshots of the meet before risky steps, and their restore.
    SafetyNet safety;

    QSqlDatabase MeetDb() const { return meetConnection.database(); }
    // The station the journal names this program's saves by: the name given (trotwise.ini's
    // "station"), or the computer's name when it is empty.
    void setStation(const QString &name) { Journal::setStation(name); }
};
