#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "widgets/message_boxes.h"

// Stands in for the real message boxes: records every message shown and answers with the
// queued answers in turn, then with Ok.
class ScriptedMessageBoxes final : public widgets::MessageBoxes {
public:
    widgets::MessageAnswer show(QWidget* /*parent*/, const widgets::Message& message) override {
        m_shown.push_back(message);
        if (m_whileShown) {
            m_whileShown(message);
        }
        if (m_answers.empty()) {
            return widgets::MessageAnswer::Ok;
        }
        const widgets::MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void queueAnswer(widgets::MessageAnswer answer) { m_answers.push_back(answer); }
    // Something that happens elsewhere while each message box waits for its answer.
    void whileShown(std::function<void(const widgets::Message&)> action) {
        m_whileShown = std::move(action);
    }
    const std::vector<widgets::Message>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    std::deque<widgets::MessageAnswer> m_answers;
    std::vector<widgets::Message> m_shown;
    std::function<void(const widgets::Message&)> m_whileShown;
};
