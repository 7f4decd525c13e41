#include "about/users_guide.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// An installation prefix laid out as `cmake --install` lays it: the program in bin/, its
// data in share/491mx/.
struct Layout {
    const char* name;
    bool besideTheProgram;
    bool inTheDataFolder;
    const char* expectedFound;  // relative to the prefix; empty when none is found
};

class UsersGuideLookup : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override { ASSERT_TRUE(m_prefix.isValid()); }

    QString path(const QString& relative) const { return m_prefix.filePath(relative); }

    void putGuideIn(const QString& folder) const {
        ASSERT_TRUE(QDir().mkpath(path(folder)));
        QFile guide(path(folder + QStringLiteral("/使用说明.htm")));
        ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    }

private:
    QTemporaryDir m_prefix;
};

TEST_P(UsersGuideLookup, FindsTheGuideBesideTheProgramFirstThenInTheDataFolder) {
    const Layout& layout = GetParam();
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("bin"))));
    if (layout.besideTheProgram) {
        putGuideIn(QStringLiteral("bin"));
    }
    if (layout.inTheDataFolder) {
        putGuideIn(QStringLiteral("share/491mx"));
    }

    const QString programFolder = path(QStringLiteral("bin"));
    const QString expected =
        *layout.expectedFound == '\0' ? QString() : path(QString::fromUtf8(layout.expectedFound));
    EXPECT_EQ(about::findUsersGuide(programFolder), expected);

    const QString helpLine = about::usersGuideHelpLine(programFolder);
    if (expected.isEmpty()) {
        EXPECT_TRUE(helpLine.startsWith(QStringLiteral("使用说明：未找到")));
        EXPECT_TRUE(helpLine.contains(
            QDir::toNativeSeparators(path(QStringLiteral("share/491mx/使用说明.htm")))))
            << helpLine.toStdString();
    } else {
        EXPECT_EQ(helpLine, QStringLiteral("使用说明：") + QDir::toNativeSeparators(expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, UsersGuideLookup,
    ::testing::Values(Layout{"BuildTree", true, false, "bin/使用说明.htm"},
                      Layout{"Installed", false, true, "share/491mx/使用说明.htm"},
                      Layout{"BothPrefersBeside", true, true, "bin/使用说明.htm"},
                      Layout{"Nowhere", false, false, ""}),
    [](const ::testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

}  // namespace
