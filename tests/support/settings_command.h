#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// A command of the program that keeps the desk's settings, run as a desk's set-up person runs it
// over ssh (no display) on a settings folder of its own.
class SettingsCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    struct Run {
        int status;
        QString out;
        QString err;
    };

    Run runCommand(const QString& command, const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        for (const char* display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            environment.remove(QString::fromLatin1(display));
        }
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PROGRAM_PATH), QStringList{command} + arguments);
        EXPECT_TRUE(program.waitForFinished());
        return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }

    QString configPath() const { return dir.filePath(QStringLiteral("491MX/491MX.conf")); }

    void writeConfig(const QByteArray& content) {
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("491MX"))));
        QFile file(configPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray config() const {
        QFile file(configPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};
