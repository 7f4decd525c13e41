#include "about/users_guide.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Installation prefixes laid out as `cmake --install` lays them: the program in bin/, its data in
// share/491mx/; the guide put in some of those folders, and where it must be found ("" nowhere).
TEST(UsersGuide, IsFoundBesideTheProgramFirstThenInTheInstalledDataFolder) {
    const struct {
        QStringList guideFolders;
        QString expected;
    } layouts[] = {{{QStringLiteral("bin")}, QStringLiteral("bin")},
                   {{QStringLiteral("share/491mx")}, QStringLiteral("share/491mx")},
                   {{QStringLiteral("share/491mx"), QStringLiteral("bin")}, QStringLiteral("bin")},
                   {{}, QString()}};
    for (const auto& layout : layouts) {
        QTemporaryDir prefix;
        ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        for (const QString& folder : layout.guideFolders) {
            ASSERT_TRUE(QDir(prefix.path()).mkpath(folder));
            QFile guide(prefix.filePath(folder + QStringLiteral("/使用说明.htm")));
            ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
        }
        const QString program = prefix.filePath(QStringLiteral("bin"));
        const QString helpLine = about::usersGuideHelpLine(program);
        SCOPED_TRACE(helpLine.toStdString());

        if (layout.expected.isEmpty()) {
            EXPECT_EQ(about::findUsersGuide(program), QString());
            EXPECT_TRUE(helpLine.startsWith(QStringLiteral("使用说明：未找到")));
        } else {
            const QString expected =
                prefix.filePath(layout.expected + QStringLiteral("/使用说明.htm"));
            EXPECT_EQ(about::findUsersGuide(program), expected);
            EXPECT_EQ(helpLine, QStringLiteral("使用说明：") + QDir::toNativeSeparators(expected));
        }
    }
}

}  // namespace
