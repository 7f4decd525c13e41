#pragma once

#include <QString>

// The URI of the database billing_bench on the server whose postgres database serverUri names
// (as scripts/pg-server.sh gives it); created when missing.
QString benchDatabaseOn(const QString& serverUri);

// The URI of a new, empty database called name on that server; one left by an earlier run is
// dropped first.
QString freshBenchDatabaseOn(const QString& serverUri, const QString& name);
