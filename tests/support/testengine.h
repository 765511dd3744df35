#pragma once

#include <QString>

// Where a test's meets live. The tests that run on both engines are registered twice: once plain
// (each meet a file in a temporary folder) and once with TROTWISE_TEST_SERVER naming the
// administrative database of the throwaway test server (scripts/pgserver.sh), where each meet is
// a database of its own, dropped when the test program ends.
namespace TestEngine {

bool onServer();

// The address of a new, empty database on the test server. When the server cannot be reached the
// program ends: failed under CI=true, skipped (exit code 77) elsewhere, saying so.
QString newDatabase();

// The address of a new database holding a new meet (tables and classes), as a station's first
// start on an empty database builds it.
QString newMeet();

// Drops the databases made so far (they would go when the program ends).
void dropAll();

} // namespace TestEngine
