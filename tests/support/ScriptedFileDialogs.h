#pragma once

#include "ui/FileDialogs.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace kym::test {

// Records every dialog request and answers with planned choices (nullopt: cancelled).
class ScriptedFileDialogs : public FileDialogs {
public:
    using Choice = std::optional<std::filesystem::path>;

    Choice openFile(const FileDialogRequest& request) override { return next(request, false); }
    Choice saveFile(const FileDialogRequest& request) override { return next(request, true); }

    struct Request {
        FileDialogRequest request;
        bool save;
    };
    std::deque<Choice> choices;
    std::vector<Request> requests;

private:
    Choice next(const FileDialogRequest& request, bool save) {
        requests.push_back({request, save});
        if (choices.empty()) {
            ADD_FAILURE() << "unplanned file dialog: " << request.title;
            return std::nullopt;
        }
        Choice choice = choices.front();
        choices.pop_front();
        return choice;
    }
};

} // namespace kym::test
