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

    // A question with choices is recorded as a message, its choices as offered beside it; it
    // takes the queued choices in turn (each an item's index per choice), then leaves the ones
    // offered.
    widgets::MessageAnswer ask(QWidget* parent, const widgets::Message& message,
                               QList<widgets::MessageChoice>* choices) override {
        m_offered.push_back(*choices);
        if (!m_choices.empty()) {
            const QList<int> chosen = m_choices.front();
            m_choices.pop_front();
            for (qsizetype at = 0; at < chosen.size() && at < choices->size(); ++at) {
                (*choices)[at].chosen = chosen[at];
            }
        }
        for (widgets::MessageChoice& choice : *choices) {
            choice.text = choice.items.value(choice.chosen);
        }
        return show(parent, message);
    }

    void queueAnswer(widgets::MessageAnswer answer) { m_answers.push_back(answer); }
    void queueChoices(QList<int> chosen) { m_choices.push_back(std::move(chosen)); }
    // The choices of each question asked with choices, as they were offered.
    const std::vector<QList<widgets::MessageChoice>>& offered() const { return m_offered; }
    // Something that happens elsewhere while each message box waits for its answer.
    void whileShown(std::function<void(const widgets::Message&)> action) {
        m_whileShown = std::move(action);
    }
    const std::vector<widgets::Message>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    std::deque<widgets::MessageAnswer> m_answers;
    std::deque<QList<int>> m_choices;
    std::vector<QList<widgets::MessageChoice>> m_offered;
    std::vector<widgets::Message> m_shown;
    std::function<void(const widgets::Message&)> m_whileShown;
};
