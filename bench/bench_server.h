#pragma once

#include <QString>

// The URI of the database name (billing_bench unless given) on the server whose postgres database
// serverUri names (as scripts/pg-server.sh gives it); created when missing.
QString benchDatabaseOn(const QString& serverUri,
                        const QString& name = QStringLiteral("billing_bench"));
