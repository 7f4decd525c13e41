#pragma once

#include <QString>

// The URI of the database billing_bench on the server whose postgres database serverUri names
// (as scripts/pg-server.sh gives it); created when missing.
QString benchDatabaseOn(const QString& serverUri);
