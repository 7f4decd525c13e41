#pragma once

#include <deque>
#include <vector>

#include "platform/message_boxes.h"

// Stands in for the real message boxes: records every message shown and answers with the
// queued answers in turn, then with Ok.
class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    platform::MessageAnswer show(QWidget* /*parent*/, const platform::Message& message) override {
        m_shown.push_back(message);
        if (m_answers.empty()) {
            return platform::MessageAnswer::Ok;
        }
        const platform::MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void queueAnswer(platform::MessageAnswer answer) { m_answers.push_back(answer); }
    const std::vector<platform::Message>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    std::deque<platform::MessageAnswer> m_answers;
    std::vector<platform::Message> m_shown;
};
