#pragma once

#include <string>

namespace kym {

// Message boxes, behind an interface so that tests can script the user's answers.
class Prompter {
public:
    enum class Buttons { Ok, YesNo, OkCancel };
    enum class Icon { None, Exclamation };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;
    virtual Answer show(const std::string& text, Buttons buttons, Icon icon = Icon::None) = 0;

    void inform(const std::string& text) { show(text, Buttons::Ok); }
    void warn(const std::string& text) { show(text, Buttons::Ok, Icon::Exclamation); }
    bool askYesNo(const std::string& text) { return show(text, Buttons::YesNo) == Answer::Yes; }
};

} // namespace kym
