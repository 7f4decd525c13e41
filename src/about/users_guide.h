#pragma once

#include <QString>
#include <QStringList>

namespace about {

// Where the user's guide may lie, in the order it is looked for: beside the program (a build
// tree, or a program folder copied whole), then the data folder an installation puts it in.
QStringList usersGuideCandidates(const QString& programFolder);

// The first candidate that exists, or an empty text when the guide is nowhere.
QString findUsersGuide(const QString& programFolder);

// The line --help shows, so that a desk's IT staff can see which guide the About window opens.
QString usersGuideHelpLine(const QString& programFolder);

}  // namespace about
