#include "platform/terminal_input.h"

#include <QtGlobal>
#include <iostream>
#include <string>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>

#include <cstdio>
#else
#include <termios.h>
#include <unistd.h>

#include <array>
#include <csignal>
#endif

namespace platform {

namespace {

#if defined(Q_OS_WIN)

bool isTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

// The console stops echoing while the object lives.
class HiddenTyping {
public:
    HiddenTyping() : m_input(GetStdHandle(STD_INPUT_HANDLE)) {
        m_hidden = GetConsoleMode(m_input, &m_shownMode) != 0 &&
                   SetConsoleMode(m_input, m_shownMode & ~DWORD{ENABLE_ECHO_INPUT}) != 0;
    }
    ~HiddenTyping() {
        if (m_hidden) {
            SetConsoleMode(m_input, m_shownMode);
        }
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

private:
    HANDLE m_input;
    DWORD m_shownMode = 0;
    bool m_hidden = false;
};

#else

bool isTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

// The terminal as it was before typing was hidden; the signal handler puts it back too.
termios g_shownTyping;

constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void showTypingAndEnd(int signal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &g_shownTyping);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The terminal stops echoing while the object lives; Ctrl+C meanwhile still ends the program,
// with echo back on.
class HiddenTyping {
public:
    HiddenTyping() {
        if (tcgetattr(STDIN_FILENO, &g_shownTyping) != 0) {
            return;
        }
        m_handling = true;
        struct sigaction restore {};
        restore.sa_handler = showTypingAndEnd;
        sigemptyset(&restore.sa_mask);
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            sigaction(kEndingSignals[i], &restore, &m_previous[i]);
        }
        termios hidden = g_shownTyping;
        hidden.c_lflag &= ~tcflag_t{ECHO};
        // The Enter that ends the line still moves to the next line.
        hidden.c_lflag |= ECHONL;
        m_hidden = tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden) == 0;
    }
    ~HiddenTyping() {
        if (m_hidden) {
            tcsetattr(STDIN_FILENO, TCSANOW, &g_shownTyping);
        }
        for (std::size_t i = 0; m_handling && i < kEndingSignals.size(); ++i) {
            sigaction(kEndingSignals[i], &m_previous[i], nullptr);
        }
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

private:
    std::array<struct sigaction, kEndingSignals.size()> m_previous{};
    bool m_handling = false;
    bool m_hidden = false;
};

#endif

std::optional<QString> readLine() {
    std::string line;
    if (!std::getline(std::cin, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return QString::fromLocal8Bit(line);
}

}  // namespace

bool standardInputIsTerminal() {
    return isTerminal();
}

std::optional<QString> readStandardInputLine(bool hideTyping) {
    if (hideTyping && isTerminal()) {
        const HiddenTyping hidden;
        return readLine();
    }
    return readLine();
}

}  // namespace platform
