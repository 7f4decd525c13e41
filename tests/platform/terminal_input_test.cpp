#include <gtest/gtest.h>

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <thread>

#include "platform/terminal_input.h"

namespace {

// Standard input on a pseudo-terminal for the test's length; the test types at its other end.
class TerminalInput : public ::testing::Test {
protected:
    void SetUp() override {
        m_typist = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(m_typist, 0);
        ASSERT_EQ(grantpt(m_typist), 0);
        ASSERT_EQ(unlockpt(m_typist), 0);
        const int terminal = open(ptsname(m_typist), O_RDWR | O_NOCTTY);
        ASSERT_GE(terminal, 0);
        m_savedInput = dup(STDIN_FILENO);
        dup2(terminal, STDIN_FILENO);
        close(terminal);
        clearerr(stdin);
        std::cin.clear();
    }
    void TearDown() override {
        dup2(m_savedInput, STDIN_FILENO);
        close(m_savedInput);
        close(m_typist);
    }

    static bool echoes() {
        termios modes{};
        tcgetattr(STDIN_FILENO, &modes);
        return (modes.c_lflag & ECHO) != 0;
    }
    // Everything the terminal has shown so far.
    QByteArray shown() const {
        fcntl(m_typist, F_SETFL, O_NONBLOCK);
        QByteArray bytes(4096, '\0');
        const ssize_t count = read(m_typist, bytes.data(), bytes.size());
        return bytes.left(count > 0 ? count : 0);
    }

    int m_typist = -1;
    int m_savedInput = -1;
};

TEST_F(TerminalInput, APasswordIsNotShownWhileTypedAndTypingIsShownAgainAfterwards) {
    ASSERT_TRUE(platform::standardInputIsTerminal());
    ASSERT_TRUE(echoes());
    std::optional<QString> line;
    std::thread reader([&] { line = platform::readStandardInputLine(true); });
    while (echoes()) {
        std::this_thread::yield();
    }
    const QByteArray typed = QStringLiteral("秘 密'\"\n").toUtf8();
    ASSERT_EQ(write(m_typist, typed.constData(), typed.size()), typed.size());
    reader.join();
    EXPECT_EQ(line, QStringLiteral("秘 密'\""));
    EXPECT_TRUE(echoes());
    EXPECT_FALSE(shown().contains(QStringLiteral("秘").toUtf8()));
}

}  // namespace

#endif
