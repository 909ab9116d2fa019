#pragma once

#include "ui/Prompter.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kym::test {

// Records every message box and answers from a script; an unplanned question fails the test.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string text;
        Buttons buttons;
        Icon icon;
    };

    Answer show(const std::string& text, Buttons buttons, Icon icon) override {
        shown.push_back({text, buttons, icon});
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unplanned question: \"" << text << "\"";
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const auto& s : shown)
            result.push_back(s.text);
        return result;
    }

    std::deque<Answer> answers;
    std::vector<Shown> shown;
};

} // namespace kym::test
